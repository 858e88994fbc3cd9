#pragma once

#include <cstdint>
#include <string>

namespace md {

/// One LED placed in a cell. Physical sizes are tenths of a millimetre, positions and sizes on
/// the 256 x 256 canvas are logical pixels. The decoded picture is not held here: views decode
/// the light's picture from the image list entry named by imageId.
struct CellLed
{
    std::uint16_t widthTenthMm = 0;
    std::uint16_t heightTenthMm = 0;
    std::uint16_t widthPx = 0;
    std::uint16_t heightPx = 0;
    std::uint16_t index = 0;  ///< sequence number; renumbered in list order on confirm
    std::uint16_t colour = 0; ///< 0 red, 1 green, 2 blue
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t group = 0; ///< parallel group, 0 = none
    std::uint16_t code = 0;  ///< the light's code from the light library
    std::uint16_t imageId = 0;
    std::uint8_t active = 1; ///< takes part in the pixel (pixel decomposition sets it per copy)
    std::uint8_t selected = 0;
    std::uint8_t showInfo = 0;
    std::u16string name;                 ///< the light's name, also its picture's file name
    std::int32_t decompositionMode = -1; ///< -1 until a pixel decomposition mode 0..9 is applied

    bool operator==(const CellLed&) const = default;
};

} // namespace md
