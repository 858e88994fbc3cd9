#pragma once

#include "core/parameters/ChipRecord.h"
#include "md/SdkTypes.h"

#include <cstdint>

namespace md {

/// What the smart-setting wizard takes from the module parameter page after its checks: the
/// chosen chips and the page's selections (list indices, or item values where noted).
struct WizardInputs
{
    enum ColourType : int
    {
        kSingle = 0,
        kFull = 1,
        kDouble = 2,
        kVirtual = 3
    };

    ChipRecord driverChip;
    ChipRecord scanChip;
    int colourType = kFull;
    std::uint32_t dataGroups = 1;
    std::uint32_t xPixels = 0;
    std::uint32_t yPixels = 0;
    bool splitByOneGroup = false;
    bool verticalSplit = false;  ///< the split mode: vertical (true) or horizontal
    int virtualArrangement = 0;  ///< virtual-pixel arrangement index, 0 to 4
    int rowBlankingPolarity = 0; ///< index
    int rowDischarge = 0;        ///< index
    int groupingMode = 0;        ///< data-grouping mode index
    int dataLineType = 0;        ///< item value; 0 when nothing is selected
    int multiClock = 0;          ///< index M
    bool sameColourSwap = false;
    std::uint16_t virtualPointPosition = 0;
    std::uint16_t virtualPointLength = 0;
    bool hubAddressContinuous = false;
    WindowHandle owner = 0;
};

/// What the wizard writes back to the page as it goes: the chips' polarities with the answers,
/// the scan rows, the LED unit, the module size after a split, the combined file's path. Each
/// is set once the wizard has got that far, also when it is abandoned later.
struct WizardResults
{
    bool polaritiesStored = false;
    std::int32_t driverPolarity = 0; ///< S
    std::int32_t scanPolarity = 0;   ///< B
    int scanRows = 0;                ///< 0 until step 3 is answered
    int ledUnit = 0;                 ///< 0 until the socket request is built
    int width = 0;                   ///< set once the socket component has answered
    int height = 0;
    std::u16string combinedPath;
};

} // namespace md
