#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace md {

class CodePage;

/// A combined module-and-HUB file (.MHR) taken apart: the driver and HUB entries, the optional
/// extension block with its fields, and the trailing fields when present.
struct CombinedFileContents
{
    static constexpr const char* kMark = ".MHR";
    static constexpr const char* kExtensionId = "{9FA4F71D-2A02-4d66-88BB-2043A1B361A6}";

    struct Entry
    {
        std::u16string name;
        std::span<const std::uint8_t> bytes; ///< a view into the parsed buffer
    };
    struct Extension
    {
        std::uint32_t xPixels = 0;
        std::uint32_t yPixels = 0;
        std::uint32_t driverPolarity = 0;
        std::uint32_t scanPolarity = 0;
        std::uint32_t dataGroups = 0;
        std::uint32_t virtualPosition = 0;
        std::uint32_t virtualLength = 0;
        std::uint16_t scanRows = 0;
        std::uint16_t ledUnit = 0;
    };
    struct Trailer
    {
        std::uint16_t rowDischarge = 0;
        std::uint16_t dataGrouping = 0;
        std::uint16_t dataLineType = 0;
        std::uint32_t multiClock = 0;
    };

    Entry driver;
    Entry hub;
    std::optional<Extension> extension;
    std::optional<Trailer> trailer;

    /// Parses the bytes (which must outlive the result); false with a reason and offset.
    bool Parse(std::span<const std::uint8_t> bytes, const CodePage& codePage, std::string& error);
};

} // namespace md
