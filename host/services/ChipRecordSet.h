#pragma once

#include "md/IChipManRecordSet.h"

#include <QString>
#include <QVector>

namespace md::host {

/// The host's chip list, read from "ChipManager/chips.json" under the program folder.
class ChipRecordSet final : public IChipManRecordSet
{
public:
    struct Chip
    {
        std::u16string name;
        std::uint32_t kind = 0;
        std::uint32_t chipType = 0;
        std::uint32_t value = 0;
    };

    /// An empty set when the file is missing or not a JSON array.
    static QVector<Chip> Load(const QString& path);
    explicit ChipRecordSet(QVector<Chip> chips) : m_chips(std::move(chips)) {}

    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override { return m_references > 0 ? --m_references : 0; }
    bool First() override;
    bool Next() override;
    const char16_t* Name() override;
    std::uint32_t Kind() override;
    std::uint32_t ChipType() override;
    std::uint32_t Value() override;

    std::uint32_t OutstandingReferences() const { return m_references; }

private:
    const Chip* Current() const;

    QVector<Chip> m_chips;
    qsizetype m_position = -1;
    std::uint32_t m_references = 0;
};

} // namespace md::host
