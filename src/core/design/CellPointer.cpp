#include "core/design/CellPointer.h"

#include "core/design/CellDesign.h"

#include <algorithm>

namespace md {

bool CellPointer::OnCanvas(int x, int y)
{
    return x >= 0 && y >= 0 && x < CellDesign::kCanvasSize && y < CellDesign::kCanvasSize;
}

void CellPointer::Clear()
{
    m_hit.reset();
    m_ledHit = false;
    m_pressOnSelection = false;
    m_groupDragMoved = false;
    m_selectedAtPress = 0;
}

bool CellPointer::Press(int x, int y, bool ctrl)
{
    m_ledHit = false;
    m_pressOnSelection = false;
    m_groupDragMoved = false;
    m_selectedAtPress = 0;
    if (!OnCanvas(x, y))
        return false;
    // Presses always work on slot 1, the only slot with a canvas.
    m_design.SetCurrentSlot(1);
    std::vector<CellLed>& slot = m_design.Slot(1);
    m_hit = m_design.HitTest(x, y);
    if (ctrl) {
        if (m_hit)
            slot[*m_hit].selected = slot[*m_hit].selected ? 0 : 1;
    } else if (m_hit) {
        m_ledHit = true;
        CellLed& hit = slot[*m_hit];
        if (m_design.SelectedCount() > 1 && hit.selected) {
            m_pressOnSelection = true;
        } else {
            m_design.DeselectAll();
            hit.selected = 1;
        }
    } else {
        m_design.DeselectAll();
    }
    m_lastX = x;
    m_lastY = y;
    m_selectedAtPress = m_design.SelectedCount();
    return true;
}

bool CellPointer::Drag(int x, int y)
{
    if (m_design.CurrentSlot() != 1 || m_selectedAtPress == 0 || !m_ledHit || !OnCanvas(x, y))
        return false;
    const int dx = x - m_lastX;
    const int dy = y - m_lastY;
    std::vector<CellLed>& slot = m_design.Slot(1);
    constexpr int size = CellDesign::kCanvasSize;
    if (m_design.SelectedCount() > 1) {
        // A group moves whole or not at all.
        const bool blocked = std::any_of(slot.begin(), slot.end(), [&](const CellLed& led) {
            return led.selected &&
                   (led.x + dx < 0 || led.y + dy < 0 || led.x + dx + led.widthPx > size ||
                    led.y + dy + led.heightPx > size);
        });
        if (blocked)
            return false;
        for (CellLed& led : slot)
            if (led.selected) {
                led.x = static_cast<std::uint16_t>(led.x + dx);
                led.y = static_cast<std::uint16_t>(led.y + dy);
            }
        m_groupDragMoved = true;
    } else {
        // A single LED slides along the edges.
        auto led = std::find_if(slot.begin(), slot.end(), [](auto& l) { return l.selected; });
        if (led == slot.end())
            return false;
        auto clamp = [](int position, int length) {
            position = std::max(position, 0);
            if (position + length > size)
                position = std::max(size - length, 0);
            return static_cast<std::uint16_t>(position);
        };
        led->x = clamp(led->x + dx, led->widthPx);
        led->y = clamp(led->y + dy, led->heightPx);
    }
    m_lastX = x;
    m_lastY = y;
    return true;
}

bool CellPointer::Release(int x, int y)
{
    if (!m_pressOnSelection || m_groupDragMoved)
        return false;
    m_pressOnSelection = false;
    const auto hit = m_design.HitTest(x, y);
    if (!hit)
        return false;
    m_design.DeselectAll();
    m_design.Slot(1)[*hit].selected = 1;
    return true;
}

} // namespace md
