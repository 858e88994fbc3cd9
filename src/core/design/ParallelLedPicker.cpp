#include "core/design/ParallelLedPicker.h"

#include <algorithm>

namespace md {

ParallelLedPicker::Box ParallelLedPicker::BoxOf(const CellLed& led)
{
    return {kScale * led.x, kScale * led.y, kScale * led.widthPx, kScale * led.heightPx};
}

bool ParallelLedPicker::ShowsAt(std::size_t index) const
{
    if (index >= m_leds.size())
        return false;
    if (m_offered.empty())
        return Shows(m_leds[index]);
    return std::find(m_offered.begin(), m_offered.end(), index) != m_offered.end();
}

std::uint32_t ParallelLedPicker::LabelAt(std::size_t index) const
{
    if (!m_offered.empty())
        return static_cast<std::uint32_t>(index + 1);
    return index < m_leds.size() ? m_leds[index].group : 0;
}

ParallelLedPicker::Box ParallelLedPicker::BoxAt(std::size_t index) const
{
    const CellLed& led = m_leds.at(index);
    if (m_offered.empty())
        return BoxOf(led);
    return {led.x, led.y, led.widthPx, led.heightPx};
}

bool ParallelLedPicker::Click(int x, int y)
{
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < m_leds.size(); ++i)
        if (ShowsAt(i) && BoxAt(i).Contains(x, y))
            last = i;
    if (!last)
        return false;
    m_picked = last;
    return true;
}

} // namespace md
