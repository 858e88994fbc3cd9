#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace md {

/// The program's version words as driver and socket files carry them.
struct ProgramVersion
{
    std::uint32_t major = 1;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;

    /// "major.minor.build"; minor and build must lie in 0..255. Anything else (missing parts,
    /// extra parts, non-digits, out of range) gives the default 1.0.0.
    static ProgramVersion Parse(std::string_view text);
    /// The value of [version] version in the program folder's runinfo.ini, parsed as above.
    static ProgramVersion FromRunInfo(const std::filesystem::path& runInfo);

    bool operator==(const ProgramVersion&) const = default;
};

} // namespace md
