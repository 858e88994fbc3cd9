#include "core/design/SocketToolbarState.h"

namespace md {

SocketToolbarState SocketToolbarState::ForModule(std::uint32_t scanChipType, int scanRows)
{
    SocketToolbarState state;
    for (int i = 0; i < 4; ++i)
        state.enabled[i] = true;
    if (scanChipType == 1) {
        state.enabled[8] = state.enabled[9] = state.enabled[10] = true;
    } else {
        int rowAddressLines = 0;
        if (scanRows >= 9 && scanRows <= 32)
            rowAddressLines = 4;
        else if (scanRows >= 5 && scanRows <= 8)
            rowAddressLines = 3;
        else if (scanRows >= 3 && scanRows <= 4)
            rowAddressLines = 2;
        else if (scanRows == 2)
            rowAddressLines = 1;
        for (int i = 0; i < rowAddressLines; ++i)
            state.enabled[4 + i] = true;
    }
    state.enabled[11] = true;
    return state;
}

} // namespace md
