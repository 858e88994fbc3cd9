#include "core/parameters/RuntimeSettings.h"

#include "core/io/IniFile.h"
#include "core/io/Utf.h"
#include "core/platform/HostServices.h"
#include "md/PointGoFrames.h"

#include <algorithm>

namespace md {

namespace {

/// Leading decimal digits, as a C library conversion reads them.
std::uint32_t LeadingNumber(std::u16string_view text)
{
    std::uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + static_cast<std::uint32_t>(c - u'0');
    }
    return value;
}

} // namespace

ProgramVersion ProgramVersion::Parse(std::u16string_view text)
{
    const std::size_t first = text.find(u'.');
    const std::size_t second =
        first == std::u16string_view::npos ? first : text.find(u'.', first + 1);
    if (second == std::u16string_view::npos)
        return {};
    ProgramVersion version;
    version.major = static_cast<std::int32_t>(LeadingNumber(text.substr(0, first)));
    version.minor = static_cast<std::uint8_t>(LeadingNumber(text.substr(first + 1)));
    version.build = static_cast<std::uint8_t>(LeadingNumber(text.substr(second + 1)));
    return version;
}

RuntimeSettings::RuntimeSettings(Reader reader) : m_reader(std::move(reader)) {}

RuntimeSettings RuntimeSettings::FromFile(const std::filesystem::path& runInfo)
{
    return RuntimeSettings(
        [ini = IniFile::Load(runInfo)](const char* section,
                                       const char* key) -> std::optional<std::u16string> {
            const auto value = ini.Value(section, key);
            if (!value)
                return std::nullopt;
            return utf::ToUtf16(*value);
        });
}

RuntimeSettings RuntimeSettings::FromHost(const HostServices& host,
                                          const std::filesystem::path& runInfo)
{
    return RuntimeSettings(
        [&host, runInfo, file = FromFile(runInfo)](const char* section, const char* key) {
            // The host's configuration service answers first; a key it does not answer (or a
            // host without the service) comes from the file.
            if (auto value = host.ReadConfig(section, key, utf::ToUtf16(runInfo.string())))
                return value;
            return file.Value(section, key);
        });
}

std::optional<std::u16string> RuntimeSettings::Value(const char* section, const char* key) const
{
    std::optional<std::u16string> value = m_reader ? m_reader(section, key) : std::nullopt;
    // The values are read into buffers of a fixed capacity, terminator included.
    if (value && value->size() >= kValueCapacity)
        value->resize(kValueCapacity - 1);
    return value;
}

std::u16string RuntimeSettings::ActiveLanguage() const
{
    // An empty value names no language: the default holds, as for a missing one.
    const auto language = Value("language", "active");
    return language && !language->empty() ? *language : kDefaultLanguage;
}

ProgramVersion RuntimeSettings::Version() const
{
    return ProgramVersion::Parse(Value("version", "version").value_or(u""));
}

CodePage RuntimeSettings::NamesCodePage() const
{
    const auto name = Value("system", "codepage");
    if (!name || name->empty())
        return CodePage();
    return CodePage(utf::ToUtf8(*name));
}

std::string RuntimeSettings::PointGoPort() const
{
    return utf::ToUtf8(Value("pointgo", "port").value_or(u""));
}

int RuntimeSettings::PointGoBaud() const
{
    const auto text = Value("pointgo", "baud");
    if (!text || text->empty())
        return pointgo::kDefaultBaud;
    const std::uint32_t baud = LeadingNumber(*text);
    // No termios rate comes near the top of the range; a number that does not fit is no rate.
    return baud == 0 || baud > 4'000'000 ? pointgo::kDefaultBaud : static_cast<int>(baud);
}

ProgramVersion RuntimeSettings::CachedVersion(const RuntimeSettings& settings)
{
    static const ProgramVersion version = settings.Version();
    return version;
}

} // namespace md
