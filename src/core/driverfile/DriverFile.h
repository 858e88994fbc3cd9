#pragma once

#include "core/driverfile/VersionWords.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace md {

class Clock;
class DriverFileSection;
class Guids;

/// The module driver file container (.MDR, also block files .BDT): mark, version words, the
/// module information, socket, layout and background sections in that order, a table of the
/// five section positions and a 64-byte identity block.
class DriverFile
{
public:
    enum Section
    {
        ModuleInfo = 0,
        Socket = 1,
        Layout = 2,
        Background = 3,
        kSectionCount = 4
    };
    using Sections = std::array<DriverFileSection*, kSectionCount>;

    static constexpr const char* kMark = ".MDR";
    static constexpr std::size_t kHeaderSize = 16;
    static constexpr std::size_t kTableSize = 40;
    static constexpr std::size_t kIdentitySize = 64;

    /// Outcome of a write or read: the failing section (or none) with its reason and offset.
    struct Result
    {
        bool ok = true;
        int section = -1;       ///< Section of the failure, -1 for the container itself
        std::size_t offset = 0; ///< where the failing section starts (or the failure occurred)
        std::string message;    ///< one line, names the section and what failed

        explicit operator bool() const { return ok; }
    };

    /// The whole file's bytes; nothing when a section writer fails (result says which).
    static std::optional<std::vector<std::uint8_t>> Build(const VersionWords& version,
                                                          const Sections& sections, Guids& guids,
                                                          const Clock& clock, Result& result);
    /// Builds and writes the file atomically.
    static Result Write(const std::filesystem::path& path, const VersionWords& version,
                        const Sections& sections, Guids& guids, const Clock& clock);
    /// Reads mark and version, then each section in order; stops at the first failing one.
    static Result Parse(std::span<const std::uint8_t> bytes, const Sections& sections,
                        VersionWords* version = nullptr);
    static Result Read(const std::filesystem::path& path, const Sections& sections,
                       VersionWords* version = nullptr);

    /// The identity text: "{GUID}" in upper-case hex, else the tick count in decimal.
    static std::string IdentityText(Guids& guids, const Clock& clock);
    /// English name of a section for messages ("module information", "socket", ...).
    static const char* SectionName(int section);
};

} // namespace md
