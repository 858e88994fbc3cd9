#pragma once

#include "core/parameters/RuntimeSettings.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace md {

class ByteWriter;

/// The three version words (major, minor, build) that driver and socket files carry in their
/// headers.
struct VersionWords
{
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;

    static VersionWords Of(const ProgramVersion& version);
    /// The program version of this process: read once from the runtime settings and kept. The
    /// one place the file writers get their version from.
    static VersionWords FromRunInfo(const HostServices& host, const std::filesystem::path& runInfo);

    /// A file header: the file's four-character mark, then the three words.
    void WriteHeader(ByteWriter& out, std::string_view mark) const;

    bool operator==(const VersionWords&) const = default;
};

} // namespace md
