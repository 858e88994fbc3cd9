#include "core/wizard/HubAddressArranger.h"

#include <string>
#include <utility>

namespace md {

namespace {
constexpr std::int32_t kEmpty = -1;

bool Holds(const ConnectorTable& table, int row, int column)
{
    return table.cells[row][column] != kEmpty;
}

bool InGrid(int row, int column)
{
    return row >= 1 && column >= 1 && row <= ConnectorTable::kSize &&
           column <= ConnectorTable::kSize;
}
} // namespace

std::string HubAddressArranger::SlotText(std::int32_t value)
{
    if (value >= 0 && value <= 3)
        return std::string(1, static_cast<char>('A' + value));
    return std::to_string(value + 1);
}

std::optional<std::int32_t> HubAddressArranger::Press(int row, int column)
{
    if (!InGrid(row, column) || !Holds(m_table, row - 1, column - 1))
        return std::nullopt;
    m_dragStart = {row, column};
    return m_table.cells[row - 1][column - 1];
}

bool HubAddressArranger::IsAllowedTarget(int row, int column) const
{
    if (m_m < 1 || m_m > 3)
        return false;
    const int reach = m_m + 1; // M = 1: cells 1..2, M = 2: 1..3, M = 3: 1..4
    if (row == 1 && column >= 1 && column <= reach)
        return true;
    if (column == 1 && row >= 1 && row <= reach)
        return true;
    return m_m == 3 && row == 2 && column == 2;
}

bool HubAddressArranger::Drop(int row, int column)
{
    if (!m_dragStart || !InGrid(row, column))
        return false;
    const auto [startRow, startColumn] = *m_dragStart;
    m_dragStart.reset();
    if (!Holds(m_table, startRow - 1, startColumn - 1) || !IsAllowedTarget(row, column))
        return false;
    std::swap(m_table.cells[startRow - 1][startColumn - 1], m_table.cells[row - 1][column - 1]);
    Reshape(row, column);
    Compact(row - 1, column - 1);
    return true;
}

void HubAddressArranger::Reshape(int row, int column)
{
    auto shape = [this](std::uint32_t rows, std::uint32_t columns) {
        m_table.rows = rows;
        m_table.columns = columns;
    };
    switch (m_m) {
    case 1:
        if (row == 2)
            shape(2, 1);
        else if (column == 2)
            shape(1, 2);
        break;
    case 2:
        if (row >= 2)
            shape(3, 1);
        else if (column >= 2)
            shape(1, 3);
        break;
    case 3:
        if ((row == 2 && column == 2) || ((row == 2 || column == 2) && Holds(m_table, 1, 1)))
            shape(2, 2);
        else if (row >= 2)
            shape(4, 1);
        else if (column >= 2)
            shape(1, 4);
        break;
    default:
        break;
    }
}

void HubAddressArranger::Compact(int targetRow, int targetColumn)
{
    const auto inShape = [this](int r, int c) {
        return r < static_cast<int>(m_table.rows) && c < static_cast<int>(m_table.columns);
    };
    const auto order = [](int r, int c) { return r * ConnectorTable::kSize + c; };
    for (int r = 0; r < static_cast<int>(m_table.rows); ++r) {
        for (int c = 0; c < static_cast<int>(m_table.columns); ++c) {
            if (Holds(m_table, r, c))
                continue;
            // The first occupied slot outside the shape, or later in row order, fills the gap.
            bool filled = false;
            for (int qr = 0; qr < ConnectorTable::kSize && !filled; ++qr) {
                for (int qc = 0; qc < ConnectorTable::kSize && !filled; ++qc) {
                    if ((qr == targetRow && qc == targetColumn) || !Holds(m_table, qr, qc))
                        continue;
                    if (inShape(qr, qc) && order(qr, qc) <= order(r, c))
                        continue;
                    m_table.cells[r][c] = m_table.cells[qr][qc];
                    m_table.cells[qr][qc] = kEmpty;
                    filled = true;
                }
            }
        }
    }
}

} // namespace md
