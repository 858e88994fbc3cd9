// Feeds arbitrary text to the ini reader behind runinfo.ini and to the runtime settings read
// from it: an ini that is printed again parses to the same values, and every setting has a
// usable value.

#include "core/io/IniFile.h"
#include "core/io/Utf.h"
#include "core/parameters/RuntimeSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const md::IniFile ini = md::IniFile::Parse(text);
    const md::IniFile again = md::IniFile::Parse(ini.Text());
    static const char* const keys[][2] = {{"language", "active"},
                                          {"version", "version"},
                                          {"system", "codepage"},
                                          {"pointgo", "port"},
                                          {"pointgo", "baud"}};
    for (const auto& [section, key] : keys)
        if (ini.Value(section, key) != again.Value(section, key))
            std::abort();
    const md::RuntimeSettings settings(
        [&ini](const char* section, const char* key) -> std::optional<std::u16string> {
            const auto value = ini.Value(section, key);
            if (!value)
                return std::nullopt;
            return md::utf::ToUtf16(*value);
        });
    if (settings.ActiveLanguage().empty() || settings.PointGoBaud() <= 0)
        std::abort();
    (void)settings.Version();
    (void)settings.NamesCodePage().Name();
    (void)settings.PointGoPort();
    return 0;
}
