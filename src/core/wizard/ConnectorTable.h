#pragma once

#include <array>
#include <cstdint>

namespace md {

/// The multi-clock connector table: 8 x 8 slots (-1 empty) with the rows and columns in use.
/// The wizard builds it, the HUB address dialog rearranges it, tracing expands layouts with it.
struct ConnectorTable
{
    static constexpr int kSize = 8;
    static constexpr std::int32_t kEmpty = -1;

    std::array<std::array<std::int32_t, kSize>, kSize> cells{};
    int rows = 1;
    int columns = 1;

    ConnectorTable() { Clear(); }
    /// Row 0 holds the slots 0 to m; one row, m + 1 columns.
    static ConnectorTable ForMultiClock(int m);

    void Clear();
    std::int32_t At(int row, int column) const { return cells[row][column]; }
    bool Holds(int row, int column) const { return cells[row][column] != kEmpty; }
    bool operator==(const ConnectorTable&) const = default;
};

} // namespace md
