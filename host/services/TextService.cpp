#include "services/TextService.h"

#include <QDir>

namespace md::host {

bool CopyToBuffer(const QString& text, char16_t* buffer, std::uint32_t capacity)
{
    if (!buffer || capacity == 0)
        return false;
    const auto length = std::min<qsizetype>(text.size(), capacity - 1);
    for (qsizetype i = 0; i < length; ++i)
        buffer[i] = text.at(i).unicode();
    buffer[length] = 0;
    return true;
}

TextService::TextService(const QString& programFolder, const QString& language)
    : m_language(language),
      m_texts(HostIni::Load(QDir(programFolder).filePath("lang/" + language + ".ini")))
{}

QString TextService::LanguageOf(const QString& programFolder)
{
    const HostIni runInfo = HostIni::Load(QDir(programFolder).filePath("runinfo.ini"));
    QString active = runInfo.Value("language", "active", "lang_zh-cn");
    if (active.startsWith("lang"))
        active.remove(0, 4);
    while (active.startsWith('_'))
        active.remove(0, 1);
    return active.isEmpty() ? QStringLiteral("zh-cn") : active;
}

bool TextService::GetText(const char* section, const char* key, char16_t* buffer,
                          std::uint32_t capacity)
{
    if (!section || !key)
        return false;
    const QString s = QString::fromLatin1(section);
    const QString k = QString::fromLatin1(key);
    if (!m_texts.Contains(s, k))
        return false;
    // "\n" in a text file stands for a line break.
    QString text = m_texts.Value(s, k);
    text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    return CopyToBuffer(text, buffer, capacity);
}

} // namespace md::host
