#pragma once

#include "core/parameters/ModuleParameters.h"

#include <string>
#include <vector>

namespace md {

/// What the module parameter presenter needs from its page: the control values and a way to show
/// a record and the enabling state.
class ModuleParameterView
{
public:
    virtual ~ModuleParameterView() = default;

    /// Fills the two chip lists (names in library order).
    virtual void ShowChipLists(const std::vector<std::u16string>& scanChips,
                               const std::vector<std::u16string>& driverChips) = 0;
    /// The values of the controls; list fields hold the selected index (-1: none), the grouping
    /// mode and line type their selected item value.
    virtual ModuleParameters ReadControls() const = 0;
    /// Shows every field; a list index of -1 leaves that list without selection.
    virtual void ShowRecord(const ModuleParameters& parameters) = 0;
    virtual void ShowMultiClock(std::int32_t index) = 0;
    /// The virtual-mode list is enabled and the colour-swap check shown for virtual modules only.
    virtual void ShowVirtualControls(bool virtualModule) = 0;
    virtual void ShowHubAddressCheck(bool visible) = 0;
    virtual void ShowCellDesigned(bool designed) = 0;
};

} // namespace md
