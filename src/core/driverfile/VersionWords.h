#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace md {

/// The three version words (major, minor, build) that driver and socket files carry in their
/// headers.
struct VersionWords
{
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;

    /// "major.minor.build"; minor and build must lie in 0..255. Anything else (missing parts,
    /// extra parts, non-digits, out of range) gives 0.0.0.
    static VersionWords Parse(std::string_view text);
    /// The program version of the runtime settings ([version] version of runinfo.ini), parsed
    /// as above. The one place the file writers get their version from.
    static VersionWords FromRunInfo(const std::filesystem::path& runInfo);

    bool operator==(const VersionWords&) const = default;
};

} // namespace md
