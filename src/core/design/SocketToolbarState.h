#pragma once

#include <array>
#include <cstdint>

namespace md {

/// Which of the twelve socket type buttons (0x10001 + i) are enabled while the socket page is
/// shown: the row-address types follow the scan row count, the serial ones a type "B" scan chip.
struct SocketToolbarState
{
    std::array<bool, 12> enabled{};

    static SocketToolbarState ForModule(std::uint32_t scanChipType, int scanRows);
    /// Hidden or reset page: every type button disabled.
    static SocketToolbarState AllDisabled() { return {}; }

    bool IsEnabled(std::uint32_t command) const
    {
        const std::uint32_t i = command - 0x10001;
        return i < enabled.size() && enabled[i];
    }
};

} // namespace md
