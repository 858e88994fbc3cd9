#pragma once

#include "core/design/CellLed.h"
#include "core/design/LightImage.h"
#include "core/layout/ChannelRow.h"

#include <array>
#include <cstdint>
#include <vector>

namespace md {

/// One pixel of the layout grid as the layout section stores it. Its LED list is one of the
/// design's shared shape sets, so equal lists are held once however many pixels use them.
struct ArchivedPoint
{
    std::uint32_t drawWidth = 64;
    std::uint32_t drawHeight = 64;
    std::uint16_t cellVariant = 1;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint8_t marked = 1;
    std::uint8_t highlighted = 0;
    std::uint8_t traced = 0;
    std::uint32_t shapeSet = 0; ///< index into LayoutDesign::shapeSets

    bool operator==(const ArchivedPoint&) const = default;
};

/// Everything the layout section of a driver file holds: the traced layout result, the cell
/// design the layout was built from and the pixel grid of the module range.
struct LayoutDesign
{
    bool layoutPresent = false;
    std::vector<ChannelRow> result;
    std::array<std::uint8_t, 3> virtualCodes{}; ///< low bytes of the three virtual codes
    std::vector<LightImage> images;             ///< the cell design's light pictures
    LightImage background{0, LightImage::kBackgroundId, {}, {}};
    std::array<std::vector<CellLed>, 4> cellSlots; ///< LED lists of the four cell variants
    /// Per-pixel LED lists, each held once; ArchivedPoint::shapeSet indexes it. Sets 0 to 3 are
    /// the cell slots' lists. The per-pixel lists are written only when the layout is present.
    std::vector<std::vector<CellLed>> shapeSets;
    std::vector<ArchivedPoint> points; ///< column-major, x below and y below the range size

    /// The LED list of a point, or an empty list when its index is out of range.
    const std::vector<CellLed>& ShapesOf(const ArchivedPoint& point) const
    {
        static const std::vector<CellLed> none;
        return point.shapeSet < shapeSets.size() ? shapeSets[point.shapeSet] : none;
    }

    bool operator==(const LayoutDesign&) const = default;
};

} // namespace md
