#pragma once

#include "core/io/RgbaImage.h"

namespace md {

struct DriverFileContents;

/// Draws a driver file without a toolkit: the background picture (BMP or PNG), the pixel
/// grid, and the output chain of every data group and scan row of the first colour channel as
/// a coloured path with a start marker, so the wiring of a module shows at a glance.
class ModuleRenderer
{
public:
    static constexpr int kMargin = 8;

    static constexpr int kMaxSide = 8192; ///< largest picture side; the scale shrinks to fit

    /// scale: screen pixels per module pixel (4 to 64). An empty picture when the module is too
    /// large for a pixel map.
    static RgbaImage Render(const DriverFileContents& file, int scale);
    /// The colour of the n-th chain (groups and scan rows numbered in wire order).
    static std::uint32_t ChainColour(int chain);
};

} // namespace md
