#pragma once

#include "core/posix/CodePage.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace md {

/// The module values that follow the driver and HUB files in a combined file.
struct CombinedTrailer
{
    bool withExtension = false; ///< split by one group, or exactly one data-line group
    std::uint32_t xPixels = 0;
    std::uint32_t yPixels = 0;
    std::uint32_t driverPolarity = 0;
    std::uint32_t scanPolarity = 0;
    std::uint32_t dataGroups = 0;
    std::uint32_t virtualPointPosition = 0;
    std::uint32_t virtualPointLength = 0;
    std::uint16_t scanRows = 0;
    std::uint16_t ledUnit = 0;
    std::uint16_t rowDischarge = 0;
    std::uint16_t groupingMode = 0;
    std::uint16_t dataLineType = 0;
    std::uint32_t multiClock = 0;
};

/// The combined module-and-HUB file (".MHR"): both files whole, with their names, and the module
/// values the controller side needs.
class CombinedFile
{
public:
    static constexpr const char* kMark = ".MHR";
    static constexpr const char* kExtensionId = "{9FA4F71D-2A02-4d66-88BB-2043A1B361A6}";
    static constexpr std::size_t kExtensionSize = 64;

    /// The bytes of a combined file; names are the files' names without folder and without
    /// their four-character extension, in the 8-bit code page.
    static std::vector<std::uint8_t>
    Build(const std::filesystem::path& driverPath, const std::vector<std::uint8_t>& driver,
          const std::filesystem::path& hubPath, const std::vector<std::uint8_t>& hub,
          const CombinedTrailer& trailer, const CodePage& codePage);

    /// Reads both files and writes the combined file atomically; false when either file cannot
    /// be read or the write fails (no combined file is left then).
    static bool Combine(const std::filesystem::path& driverPath,
                        const std::filesystem::path& hubPath,
                        const std::filesystem::path& combinedPath, const CombinedTrailer& trailer,
                        const CodePage& codePage);

    /// The name stored for a file: its file name without the last four characters.
    static std::u16string StoredName(const std::filesystem::path& path);
};

} // namespace md
