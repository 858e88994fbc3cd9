#pragma once

#include "core/design/CellLed.h"

#include <array>
#include <cstdint>
#include <vector>

namespace md {

/// Pixel decomposition: per colour one of ten modes that says in which of the four copies of the
/// cell (copy 1 draws the pixels with even x and y, 2 odd x, 3 odd y, 4 both odd) an LED of that
/// colour lights.
class PixelDecomposition
{
public:
    static constexpr int kModeCount = 10;
    static constexpr int kCopyCount = 4;
    static constexpr std::uint32_t kUnset = 0xFFFFFFFF;

    /// A mode as the dialog shows it.
    struct Mode
    {
        const char* label;          ///< "TU", "LH", ...
        std::array<int, 3> buttons; ///< radio identifiers for red, green, blue
        std::array<const char*, 3> pictures;
    };

    static const Mode& ModeInfo(int mode);
    /// Whether an LED whose colour has this mode lights in copy 1..4; no mode outside 0..9 does.
    static bool Participates(int mode, int copy);
    /// Gives every LED of the four copies its colour's mode and its participation in its copy.
    /// modes are red, green, blue; copies[0] is copy 1.
    static void Apply(std::array<std::vector<CellLed>, kCopyCount>& copies,
                      const std::array<std::uint32_t, 3>& modes);
};

} // namespace md
