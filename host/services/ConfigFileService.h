#pragma once

#include "md/IConfigFilebase.h"

#include <QMap>
#include <QString>

namespace md::host {

/// Reads values of ini files named by path. Values the host sets itself (the virtual test
/// device's port) are answered for every file without touching it, so hosts run side by side.
class ConfigFileService final : public IConfigFilebase
{
public:
    void Answer(const QString& section, const QString& key, const QString& value)
    {
        m_answers[section + '/' + key] = value;
    }

    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    std::int32_t Reserved2() override { return 0; }
    std::int32_t Reserved3() override { return 0; }
    std::int32_t Reserved4() override { return 0; }
    std::int32_t Reserved5() override { return 0; }
    std::int32_t Reserved6() override { return 0; }
    /// False when the file or the key is missing; the buffer then holds an empty text.
    bool ReadString(const char* section, const char* key, char16_t* buffer, std::uint32_t capacity,
                    const char16_t* path) override;

private:
    QMap<QString, QString> m_answers;
};

} // namespace md::host
