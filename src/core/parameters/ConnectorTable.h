#pragma once

#include <array>
#include <cstdint>

namespace md {

/// The 8 x 8 table of HUB connector slots (-1 empty) over which a multi-clock layout repeats.
struct ConnectorTable
{
    static constexpr int kSize = 8;

    std::uint32_t rows = 1;
    std::uint32_t columns = 1;
    std::array<std::array<std::int32_t, kSize>, kSize> cells{};

    ConnectorTable() { ForMultiClock(0); }

    /// The table the wizard starts from: row 0 numbered 0 ... multiClock, the rest empty.
    void ForMultiClock(std::uint32_t multiClock)
    {
        for (auto& row : cells)
            row.fill(-1);
        const std::uint32_t count = multiClock + 1 < kSize ? multiClock + 1 : kSize;
        for (std::uint32_t j = 0; j < count; ++j)
            cells[0][j] = static_cast<std::int32_t>(j);
        rows = 1;
        columns = count;
    }

    bool operator==(const ConnectorTable&) const = default;
};

} // namespace md
