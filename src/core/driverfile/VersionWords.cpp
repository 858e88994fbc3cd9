#include "driverfile/VersionWords.h"

#include "io/IniFile.h"

#include <array>
#include <charconv>

namespace md {

VersionWords VersionWords::Parse(std::string_view text)
{
    std::array<std::uint32_t, 3> parts{};
    std::size_t part = 0;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (true) {
        if (part == parts.size() || at == end)
            return {};
        auto [next, ec] = std::from_chars(at, end, parts[part]);
        if (ec != std::errc{} || (part > 0 && parts[part] > 255))
            return {};
        ++part;
        at = next;
        if (at == end)
            break;
        if (*at != '.')
            return {};
        ++at;
    }
    if (part != parts.size())
        return {};
    return {parts[0], parts[1], parts[2]};
}

VersionWords VersionWords::FromRunInfo(const std::filesystem::path& runInfo)
{
    const IniFile ini = IniFile::Load(runInfo);
    return Parse(ini.ValueOr("version", "version", ""));
}

} // namespace md
