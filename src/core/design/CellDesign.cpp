#include "core/design/CellDesign.h"

#include <algorithm>
#include <set>

namespace md {

void CellDesign::Reset()
{
    // The clipboard and the info state outlive a reset, as a copy does in any editor.
    m_currentSlot = 1;
    m_cellSize = kDefaultCellSize;
    m_images.clear();
    m_background = LightImage{};
    m_background.used = 0;
    m_background.id = LightImage::kBackgroundId;
    for (auto& slot : m_slots)
        slot.clear();
    m_changes.Raise();
}

std::uint16_t CellDesign::PixelLength(std::uint16_t tenthMm, std::uint16_t cellSize)
{
    if (cellSize == 0)
        return 0;
    // Integer arithmetic gives the exact truncation of tenthMm / cellSize * 256.
    const std::uint32_t length = std::uint32_t{tenthMm} * kCanvasSize / cellSize;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(length, 0xFFFF));
}

void CellDesign::SetCellSize(std::uint16_t tenths)
{
    m_cellSize = tenths;
    for (auto& slot : m_slots)
        for (CellLed& led : slot) {
            led.widthPx = PixelLength(led.widthTenthMm, m_cellSize);
            led.heightPx = PixelLength(led.heightTenthMm, m_cellSize);
        }
    m_changes.Raise();
}

std::vector<CellLed>* CellDesign::Current()
{
    if (m_currentSlot < 1 || m_currentSlot > kSlotCount)
        return nullptr;
    return &m_slots[m_currentSlot - 1];
}

const std::vector<CellLed>* CellDesign::Current() const
{
    return const_cast<CellDesign*>(this)->Current();
}

std::size_t CellDesign::TotalLeds() const
{
    std::size_t total = 0;
    for (const auto& slot : m_slots)
        total += slot.size();
    return total;
}

int CellDesign::PixelCount() const
{
    std::set<std::uint16_t> groups;
    int count = 0;
    for (const CellLed& led : m_slots[0]) {
        if (led.group == 0)
            ++count;
        else if (groups.insert(led.group).second)
            ++count;
    }
    return count;
}

const LightImage* CellDesign::FindImage(std::u16string_view name) const
{
    for (const LightImage& image : m_images)
        if (image.name == name)
            return &image;
    return nullptr;
}

std::uint16_t CellDesign::AddImage(std::u16string name, std::vector<std::uint8_t> bytes)
{
    LightImage image;
    image.used = 1;
    image.id = static_cast<std::uint16_t>(m_images.size());
    image.bytes = std::move(bytes);
    image.name = std::move(name);
    m_images.push_back(std::move(image));
    m_changes.Raise();
    return m_images.back().id;
}

void CellDesign::SetBackground(std::u16string name, std::vector<std::uint8_t> bytes)
{
    m_background.used = 0;
    m_background.id = LightImage::kBackgroundId;
    m_background.name = std::move(name);
    m_background.bytes = std::move(bytes);
    m_changes.Raise();
}

void CellDesign::Append(CellLed led)
{
    std::vector<CellLed>* slot = Current();
    if (!slot)
        return;
    led.index = static_cast<std::uint16_t>(slot->size());
    slot->push_back(std::move(led));
    DeselectAll();
    m_changes.Raise();
}

std::optional<std::size_t> CellDesign::HitTest(int x, int y) const
{
    const std::vector<CellLed>* slot = Current();
    if (!slot)
        return std::nullopt;
    for (std::size_t i = 0; i < slot->size(); ++i) {
        const CellLed& led = (*slot)[i];
        if (x >= led.x && y >= led.y && x < led.x + led.widthPx && y < led.y + led.heightPx)
            return i;
    }
    return std::nullopt;
}

void CellDesign::DeselectAll()
{
    if (std::vector<CellLed>* slot = Current())
        for (CellLed& led : *slot)
            led.selected = 0;
}

std::size_t CellDesign::SelectedCount() const
{
    const std::vector<CellLed>* slot = Current();
    if (!slot)
        return 0;
    return static_cast<std::size_t>(
        std::count_if(slot->begin(), slot->end(), [](const CellLed& led) { return led.selected; }));
}

const CellLed* CellDesign::FirstSelected() const
{
    const std::vector<CellLed>* slot = Current();
    if (!slot)
        return nullptr;
    for (const CellLed& led : *slot)
        if (led.selected)
            return &led;
    return nullptr;
}

bool CellDesign::Move(CellMove move)
{
    std::vector<CellLed>* slot = Current();
    if (!slot || SelectedCount() == 0)
        return false;
    int dx = 0;
    int dy = 0;
    for (const CellLed& led : *slot) {
        if (!led.selected)
            continue;
        switch (move) {
        case CellMove::Left:
            if (led.x == 0)
                return false;
            break;
        case CellMove::Up:
            if (led.y == 0)
                return false;
            break;
        case CellMove::Right:
            if (led.x + led.widthPx >= kCanvasSize)
                return false;
            break;
        case CellMove::Down:
            if (led.y + led.heightPx >= kCanvasSize)
                return false;
            break;
        }
    }
    switch (move) {
    case CellMove::Left:
        dx = -1;
        break;
    case CellMove::Right:
        dx = 1;
        break;
    case CellMove::Up:
        dy = -1;
        break;
    case CellMove::Down:
        dy = 1;
        break;
    }
    for (CellLed& led : *slot)
        if (led.selected) {
            led.x = static_cast<std::uint16_t>(led.x + dx);
            led.y = static_cast<std::uint16_t>(led.y + dy);
        }
    m_changes.Raise();
    return true;
}

bool CellDesign::DeleteSelected()
{
    std::vector<CellLed>* slot = Current();
    if (!slot)
        return false;
    bool hadGroup = false;
    for (auto it = std::find_if(slot->begin(), slot->end(), [](auto& l) { return l.selected; });
         it != slot->end();
         it = std::find_if(slot->begin(), slot->end(), [](auto& l) { return l.selected; })) {
        const std::uint16_t group = it->group;
        slot->erase(it);
        if (group == 0)
            continue;
        hadGroup = true;
        auto sameGroup = [group](const CellLed& led) { return led.group == group; };
        if (std::count_if(slot->begin(), slot->end(), sameGroup) == 1)
            std::find_if(slot->begin(), slot->end(), sameGroup)->group = 0;
    }
    std::stable_sort(slot->begin(), slot->end(),
                     [](const CellLed& a, const CellLed& b) { return a.group < b.group; });
    std::uint16_t next = 0;
    std::uint16_t previous = 0;
    for (CellLed& led : *slot) {
        if (led.group == 0)
            continue;
        if (led.group != previous) {
            previous = led.group;
            ++next;
        }
        led.group = next;
    }
    m_changes.Raise();
    return hadGroup;
}

void CellDesign::Copy()
{
    if (const std::vector<CellLed>* slot = Current())
        m_clipboard = *slot;
}

std::vector<std::u16string> CellDesign::Paste()
{
    std::vector<std::u16string> missing;
    std::vector<CellLed>* slot = Current();
    if (!slot)
        return missing;
    *slot = m_clipboard;
    // Pictures may have been renumbered or dropped by a confirm or reset since the copy.
    for (CellLed& led : *slot) {
        if (const LightImage* image = FindImage(led.name))
            led.imageId = image->id;
        else if (std::find(missing.begin(), missing.end(), led.name) == missing.end())
            missing.push_back(led.name);
    }
    m_changes.Raise();
    return missing;
}

bool CellDesign::ToggleInfo()
{
    m_showInfo = !m_showInfo;
    SetInfoOnAll(m_showInfo);
    return m_showInfo;
}

void CellDesign::SetInfoOnAll(bool show)
{
    if (std::vector<CellLed>* slot = Current())
        for (CellLed& led : *slot)
            led.showInfo = show ? 1 : 0;
}

bool CellDesign::Confirm()
{
    std::vector<CellLed>& cell = m_slots[0];
    if (cell.empty())
        return false;
    std::set<std::uint16_t> used;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        cell[i].index = static_cast<std::uint16_t>(i);
        used.insert(cell[i].imageId);
    }
    std::vector<LightImage> kept;
    for (LightImage& image : m_images)
        if (used.count(image.id)) {
            image.id = static_cast<std::uint16_t>(kept.size());
            kept.push_back(std::move(image));
        }
    m_images = std::move(kept);
    for (CellLed& led : cell)
        if (const LightImage* image = FindImage(led.name))
            led.imageId = image->id;
    m_changes.Raise();
    return true;
}

void CellDesign::Restore(std::vector<LightImage> images, LightImage background,
                         const std::array<std::vector<CellLed>, kSlotCount>& slots)
{
    m_images = std::move(images);
    m_background = std::move(background);
    m_slots = slots;
    m_changes.Raise();
}

} // namespace md
