#pragma once

#include <cstdint>
#include <unordered_set>

namespace md {

/// The real module range of a layout and the split settings that move saved coordinates.
struct LayoutRange
{
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::unordered_set<std::uint32_t> inside; ///< pixels of the range, keys x | (y << 16)
    std::uint32_t splitMode = 0;              ///< 1 moves y, 2 moves x beyond splitPosition
    std::int32_t splitPosition = 0;
    std::int32_t splitGap = 0;
};

} // namespace md
