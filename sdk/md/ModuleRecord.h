#pragma once

#include "md/SdkTypes.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace md {

/// A chip as the wizard hands it on: its name and the chip library's values, the polarity
/// carrying the wizard's answers.
struct ModuleChip
{
    static constexpr std::size_t kNameCapacity = 64;

    char16_t name[kNameCapacity]; ///< zero-terminated
    std::int32_t type;
    std::int32_t isScan;
    std::int32_t polarity;
    std::int32_t maxScans;
};

/// The module record the smart-setting wizard hands to the design panel (message 18) and the
/// layout step. Passed by pointer inside the host's process.
struct ModuleRecord
{
    static constexpr std::uint16_t kKind = 40;
    static constexpr std::size_t kNameCapacity = 32;
    static constexpr int kConnectorSize = 8;

    std::uint16_t kind;
    std::uint16_t scanRows;
    std::uint16_t width;
    std::uint16_t height;
    char16_t name[kNameCapacity]; ///< "zt5module"
    ModuleChip driverChip;
    ModuleChip scanChip;
    std::uint32_t colourCode; ///< 0 single, 1 full colour, 2 double colour, 3 virtual
    std::uint32_t virtualTriple[3];
    std::uint16_t pointsPerGroup;
    std::uint16_t lineTotal;
    std::uint16_t lineCount;
    std::uint16_t groupCount;
    std::uint16_t pointsPerRow;
    std::uint16_t lineColourCount;
    std::uint16_t lineColours[4]; ///< 0 red, 1 green, 2 blue, in line order
    std::uint16_t virtualPointPosition;
    std::uint16_t virtualPointLength;
    void* firstLayoutMember; ///< filled by the layout step
    std::uint32_t multiClock;
    WindowHandle owner;
    void* secondLayoutMember; ///< filled by the layout step
    std::uint32_t sameColourSwap;
    std::uint32_t connectorRows;
    std::uint32_t connectorColumns;
    std::int32_t connector[kConnectorSize][kConnectorSize]; ///< -1 = empty slot
};

static_assert(std::is_standard_layout_v<ModuleRecord>);
static_assert(offsetof(ModuleRecord, kind) == 0);
static_assert(offsetof(ModuleRecord, scanRows) == 2);
static_assert(offsetof(ModuleRecord, width) == 4);
static_assert(offsetof(ModuleRecord, height) == 6);
static_assert(offsetof(ModuleRecord, name) == 8);
static_assert(sizeof(ModuleChip) == 144);
static_assert(offsetof(ModuleRecord, driverChip) == 72);
static_assert(offsetof(ModuleRecord, scanChip) == 216);
static_assert(offsetof(ModuleRecord, colourCode) == 360);
static_assert(offsetof(ModuleRecord, pointsPerGroup) == 376);
static_assert(offsetof(ModuleRecord, lineColours) == 388);
static_assert(offsetof(ModuleRecord, firstLayoutMember) == 400);
static_assert(offsetof(ModuleRecord, connector) == 444);
static_assert(sizeof(ModuleRecord) == 704);

} // namespace md
