#pragma once

#include <algorithm>

namespace md {

/// The socket view's scrolling rules: a wheel notch moves by a twentieth of the scrollable
/// range (5 pixels when that is below 6), a drag moves by the mouse's movement the other way,
/// and neither goes past either end.
namespace socketscroll {

inline int WheelStep(int range)
{
    const int step = range / 20;
    return step < 6 ? 5 : step;
}

/// The position after a wheel turn; notches > 0 scroll towards the top.
inline int AfterWheel(int position, int range, int notches)
{
    return std::clamp(position - notches * WheelStep(range), 0, std::max(range, 0));
}

/// The position while dragging: the mouse moving up by d pixels moves the view down by d.
inline int AfterDrag(int startPosition, int startY, int currentY, int range)
{
    return std::clamp(startPosition + (startY - currentY), 0, std::max(range, 0));
}

} // namespace socketscroll
} // namespace md
