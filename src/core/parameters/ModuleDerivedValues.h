#pragma once

#include "core/parameters/ChipRecord.h"

namespace md {

/// What Next takes from the chip libraries for the wizard: the records of the chosen driver and
/// scan chips, with the polarities the wizard later finds. The line counts, colour code and
/// virtual arrangement follow from the module parameters alone; the wizard derives them itself.
struct ModuleDerivedValues
{
    ChipRecord driverChip;
    ChipRecord scanChip;
};

} // namespace md
