#pragma once

#include "core/design/CellLed.h"

#include <vector>

namespace md {

/// Parallel groups of a cell slot: LEDs of one colour wired in parallel light as one element.
/// Every operation keeps the group numbers in use 1..k without gaps and every group at least two
/// LEDs strong.
class CellGroups
{
public:
    enum class Result
    {
        Done,
        TooFewSelected,
        ColourMismatch,
        NoneSelected
    };

    /// Puts the selected LEDs (at least two, all of one colour) into a new group; the groups they
    /// leave are cleaned up first.
    static Result Merge(std::vector<CellLed>& slot);
    /// Takes the selected LEDs out of their groups.
    static Result Split(std::vector<CellLed>& slot);
    /// Regroups the LEDs that stay: a group left with one unselected LED is dissolved, one left
    /// with none is dropped, the rest are renumbered 1..k in the order of their old numbers.
    /// Returns k.
    static int CleanUp(std::vector<CellLed>& slot);
};

} // namespace md
