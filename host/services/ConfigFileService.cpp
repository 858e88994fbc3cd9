#include "services/ConfigFileService.h"

#include "services/HostIni.h"
#include "services/TextService.h"

namespace md::host {

bool ConfigFileService::ReadString(const char* section, const char* key, char16_t* buffer,
                                   std::uint32_t capacity, const char16_t* path)
{
    CopyToBuffer({}, buffer, capacity);
    if (!section || !key || !path)
        return false;
    const auto answer =
        m_answers.constFind(QString::fromLatin1(section) + '/' + QString::fromLatin1(key));
    if (answer != m_answers.constEnd())
        return CopyToBuffer(*answer, buffer, capacity);
    const HostIni ini = HostIni::Load(QString::fromUtf16(path));
    if (!ini.Contains(QString::fromLatin1(section), QString::fromLatin1(key)))
        return false;
    return CopyToBuffer(ini.Value(QString::fromLatin1(section), QString::fromLatin1(key)), buffer,
                        capacity);
}

} // namespace md::host
