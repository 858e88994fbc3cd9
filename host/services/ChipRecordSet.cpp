#include "services/ChipRecordSet.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace md::host {

QVector<ChipRecordSet::Chip> ChipRecordSet::Load(const QString& path)
{
    QVector<Chip> chips;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return chips;
    for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject chip = entry.toObject();
        chips.push_back({chip.value("name").toString().toStdU16String(),
                         static_cast<std::uint32_t>(chip.value("kind").toInt()),
                         static_cast<std::uint32_t>(chip.value("chipType").toInt()),
                         static_cast<std::uint32_t>(chip.value("value").toInt())});
    }
    return chips;
}

const ChipRecordSet::Chip* ChipRecordSet::Current() const
{
    return m_position >= 0 && m_position < m_chips.size() ? &m_chips[m_position] : nullptr;
}

bool ChipRecordSet::First()
{
    m_position = 0;
    return Current() != nullptr;
}

bool ChipRecordSet::Next()
{
    if (m_position < m_chips.size())
        ++m_position;
    return Current() != nullptr;
}

const char16_t* ChipRecordSet::Name()
{
    return Current() ? Current()->name.c_str() : u"";
}
std::uint32_t ChipRecordSet::Kind()
{
    return Current() ? Current()->kind : 0;
}
std::uint32_t ChipRecordSet::ChipType()
{
    return Current() ? Current()->chipType : 0;
}
std::uint32_t ChipRecordSet::Value()
{
    return Current() ? Current()->value : 0;
}

} // namespace md::host
