#pragma once

#include "md/IMultilingualInterface.h"
#include "services/HostIni.h"

namespace md::host {

/// Localized texts from "lang/<language>.ini" under the program folder.
class TextService final : public IMultilingualInterface
{
public:
    TextService(const QString& programFolder, const QString& language);

    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    bool GetText(const char* section, const char* key, char16_t* buffer,
                 std::uint32_t capacity) override;

    const QString& Language() const { return m_language; }

    /// The language named by runinfo.ini ("[language] active", "_en-us" or "lang_en-us" style),
    /// "zh-cn" when it names none.
    static QString LanguageOf(const QString& programFolder);

private:
    QString m_language;
    HostIni m_texts;
};

/// Copies a text into a caller's UTF-16 buffer, cut to its capacity and zero-terminated.
bool CopyToBuffer(const QString& text, char16_t* buffer, std::uint32_t capacity);

} // namespace md::host
