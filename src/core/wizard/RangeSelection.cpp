#include "core/wizard/RangeSelection.h"

#include <algorithm>

namespace md {

namespace {
std::uint32_t Pack(int column, int row)
{
    return static_cast<std::uint32_t>(column) | (static_cast<std::uint32_t>(row) << 16);
}
int ColumnOf(std::uint32_t packed)
{
    return static_cast<int>(packed & 0xFFFF);
}
int RowOf(std::uint32_t packed)
{
    return static_cast<int>(packed >> 16);
}
} // namespace

RangeSelection::RangeSelection(int moduleWidth, int moduleHeight)
    : m_width(moduleWidth), m_height(moduleHeight)
{}

void RangeSelection::Select(int column, int row, bool selected)
{
    if (column < 0 || row < 0 || column >= m_width || row >= m_height)
        return;
    if (selected)
        m_selected.insert(Pack(column, row));
    else
        m_selected.erase(Pack(column, row));
}

void RangeSelection::SelectRectangle(int column, int row, int width, int height, bool selected)
{
    for (int r = row; r < row + height; ++r)
        for (int c = column; c < column + width; ++c)
            Select(c, r, selected);
}

bool RangeSelection::IsSelected(int column, int row) const
{
    return m_selected.count(Pack(column, row)) != 0;
}

std::optional<ModuleRange> RangeSelection::Confirm() const
{
    if (m_selected.empty())
        return std::nullopt;
    int left = m_width, top = m_height, right = -1, bottom = -1;
    for (std::uint32_t packed : m_selected) {
        left = std::min(left, ColumnOf(packed));
        right = std::max(right, ColumnOf(packed));
        top = std::min(top, RowOf(packed));
        bottom = std::max(bottom, RowOf(packed));
    }
    ModuleRange range;
    range.x = static_cast<std::uint16_t>(left);
    range.y = static_cast<std::uint16_t>(top);
    range.width = static_cast<std::uint16_t>(right - left + 1);
    range.height = static_cast<std::uint16_t>(bottom - top + 1);
    range.replacePixels = m_replace ? 1 : 0;

    // Walk the rectangle row by row: chosen cells are kept, unselected ones may form a band.
    std::size_t unselected = 0;
    std::uint32_t smallest = 0xFFFFFFFFu;
    std::uint32_t largest = 0;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            const std::uint32_t packed = Pack(column, row);
            if (m_selected.count(packed)) {
                range.cells.emplace_back(static_cast<std::uint16_t>(column),
                                         static_cast<std::uint16_t>(row));
                continue;
            }
            ++unselected;
            smallest = std::min(smallest, packed);
            largest = std::max(largest, packed);
        }
    }
    if (unselected == 0)
        return range;
    const int bandWidth = ColumnOf(largest) - ColumnOf(smallest) + 1;
    const int bandHeight = RowOf(largest) - RowOf(smallest) + 1;
    if (bandWidth <= 0 || bandHeight <= 0 ||
        static_cast<std::size_t>(bandWidth) * static_cast<std::size_t>(bandHeight) != unselected)
        return range;
    for (int row = RowOf(smallest); row <= RowOf(largest); ++row)
        for (int column = ColumnOf(smallest); column <= ColumnOf(largest); ++column)
            if (m_selected.count(Pack(column, row)))
                return range; // the unselected cells do not form one block
    if (bandWidth != m_width && bandHeight == m_height) {
        range.bandKind = ModuleRange::kColumns;
        range.bandStart = static_cast<std::uint16_t>(ColumnOf(smallest));
        range.bandCount = static_cast<std::uint16_t>(bandWidth);
        range.width = static_cast<std::uint16_t>(range.width - bandWidth);
    } else if (bandWidth == m_width) {
        range.bandKind = ModuleRange::kRows;
        range.bandStart = static_cast<std::uint16_t>(RowOf(smallest));
        range.bandCount = static_cast<std::uint16_t>(bandHeight);
        range.height = static_cast<std::uint16_t>(range.height - bandHeight);
    }
    return range;
}

} // namespace md
