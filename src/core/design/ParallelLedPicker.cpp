#include "core/design/ParallelLedPicker.h"

namespace md {

ParallelLedPicker::Box ParallelLedPicker::BoxOf(const CellLed& led)
{
    return {kScale * led.x, kScale * led.y, kScale * led.widthPx, kScale * led.heightPx};
}

bool ParallelLedPicker::Click(int x, int y)
{
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < m_leds.size(); ++i)
        if (Shows(m_leds[i]) && BoxOf(m_leds[i]).Contains(x, y))
            last = i;
    if (!last)
        return false;
    m_picked = last;
    return true;
}

} // namespace md
