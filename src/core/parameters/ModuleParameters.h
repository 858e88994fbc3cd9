#pragma once

#include <cstdint>

namespace md {

/// Colour type of a module.
enum class ModuleType : std::int32_t
{
    SingleColour = 0,
    FullColour = 1,
    DoubleColour = 2,
    Virtual = 3,
};

/// The electrical parameters of a module as entered on the module parameter page. List fields
/// hold the list index (-1: nothing selected) unless noted.
struct ModuleParameters
{
    static constexpr std::uint32_t kMaxPoints = 256;
    static constexpr std::uint32_t kMaxGroups = 32;

    std::uint32_t xPoints = 16; ///< pixels across, 1 to 256
    std::uint32_t yPoints = 16; ///< pixels down, 1 to 256
    ModuleType moduleType = ModuleType::FullColour;
    std::uint32_t dataGroups = 2;    ///< data-line groups, 1 to 32
    std::int32_t virtualMode = 0;    ///< modes 1 to 5 as 0 to 4; virtual modules only
    bool colourSwap = false;         ///< swap of same-colour positions; virtual modules only
    std::int32_t scanChip = 0;       ///< entry of the scan-chip list
    std::int32_t driverChip = 0;     ///< entry of the driver-chip list
    bool oneGroupCut = false;        ///< cut the module by one group
    std::int32_t splitMode = 0;      ///< item value: 0 horizontal, 1 vertical
    std::int32_t polarity = 0;       ///< row blanking polarity: 0 low, 1 high
    std::int32_t discharge = 0;      ///< row discharge, 0 to 4
    std::uint16_t groupDataMode = 0; ///< data grouping mode, 0 to 8
    std::uint16_t dataLineType = 0;  ///< item value 0, 4, 5, 6 or 7
    std::int32_t multiClock = 0;     ///< 0 to 3
    bool hubAddressContinuous = false;
    std::int32_t virtualPosition = 0;
    std::int32_t virtualLength = 0;

    bool operator==(const ModuleParameters&) const = default;
};

} // namespace md
