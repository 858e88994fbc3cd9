#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace md {

/// The new-module information kept for a whole design: connector pins, scan rows, size in
/// pixels, the module name in four parts and the two chips chosen from the host's chip list.
struct NewModuleInfoRecord
{
    /// A chip chosen from the host's chip list.
    struct Chip
    {
        std::u16string name;
        std::uint32_t kind = 0;     ///< 0 driver chip, 1 scan chip
        std::uint32_t chipType = 0; ///< 0 shown as "A", 1 as "B"
        std::uint32_t value = 0;    ///< carried unchanged from the chip list

        bool operator==(const Chip&) const = default;
    };

    static constexpr std::size_t kNamePartLength = 6;

    std::uint16_t pinCount = 0;
    std::uint16_t scanRows = 0;
    std::uint16_t xPixels = 0;
    std::uint16_t yPixels = 0;
    std::array<std::u16string, 4> nameParts;
    Chip driverChip;
    Chip scanChip{{}, 1, 0, 0};
    std::uint8_t confirmed = 0;

    /// The four parts joined without separator.
    std::u16string ModuleName() const;
    /// Splits a whole name into parts of six characters; a name of more than 24 characters
    /// leaves the parts as they are.
    void SetModuleName(const std::u16string& name);

    bool operator==(const NewModuleInfoRecord&) const = default;
};

} // namespace md
