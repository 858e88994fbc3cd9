#pragma once

#include "core/parameters/ConnectorTable.h"

#include <optional>
#include <string>

namespace md {

/// Rearranges the connector slots of a multi-clock module by drag and drop on the HUB address
/// grid. Grid cell (r, c) with r, c >= 1 shows table slot [r - 1][c - 1]; row and column 0 are
/// headers.
class HubAddressArranger
{
public:
    HubAddressArranger(ConnectorTable& table, int multiClock) : m_table(table), m_m(multiClock) {}

    /// A press on a grid cell: the slot value when the cell holds one (the drag starts there and
    /// the HUB address command for that slot is due), nothing otherwise.
    std::optional<std::int32_t> Press(int row, int column);
    /// A drop on a grid cell; true when the letter moved (values swapped, shape set, compacted).
    bool Drop(int row, int column);
    /// Whether a drop on the grid cell is allowed for this multi-clock index.
    bool IsAllowedTarget(int row, int column) const;

    /// The text a slot value shows: "A" to "D" for 0 to 3, else value + 1.
    static std::string SlotText(std::int32_t value);

private:
    void Reshape(int row, int column);
    void Compact(int targetRow, int targetColumn);

    ConnectorTable& m_table;
    int m_m;
    std::optional<std::pair<int, int>> m_dragStart;
};

} // namespace md
