#include "core/design/CellGroups.h"

#include <algorithm>
#include <map>

namespace md {

int CellGroups::CleanUp(std::vector<CellLed>& slot)
{
    std::map<std::uint16_t, int> remaining; // old group -> unselected LEDs left in it
    for (const CellLed& led : slot)
        if (!led.selected && led.group != 0)
            ++remaining[led.group];
    std::map<std::uint16_t, std::uint16_t> renumber;
    std::uint16_t next = 0;
    for (const auto& [group, count] : remaining)
        renumber[group] = count >= 2 ? ++next : 0;
    for (CellLed& led : slot) {
        if (led.group == 0)
            continue;
        const auto found = renumber.find(led.group);
        // Groups made only of selected LEDs are dropped; their LEDs get new numbers after.
        led.group = found == renumber.end() ? 0 : found->second;
    }
    return next;
}

CellGroups::Result CellGroups::Merge(std::vector<CellLed>& slot)
{
    const auto selected =
        std::count_if(slot.begin(), slot.end(), [](auto& l) { return l.selected; });
    if (selected < 2)
        return Result::TooFewSelected;
    const auto first = std::find_if(slot.begin(), slot.end(), [](auto& l) { return l.selected; });
    for (const CellLed& led : slot)
        if (led.selected && led.colour != first->colour)
            return Result::ColourMismatch;
    const int groups = CleanUp(slot);
    for (CellLed& led : slot)
        if (led.selected)
            led.group = static_cast<std::uint16_t>(groups + 1);
    return Result::Done;
}

CellGroups::Result CellGroups::Split(std::vector<CellLed>& slot)
{
    if (std::none_of(slot.begin(), slot.end(), [](auto& l) { return l.selected; }))
        return Result::NoneSelected;
    CleanUp(slot);
    for (CellLed& led : slot)
        if (led.selected)
            led.group = 0;
    return Result::Done;
}

} // namespace md
