#pragma once

namespace md {

/// A cell of the layout grid: row 0 and column 0 are headers, cell (r, c) is pixel (c-1, r-1).
struct GridCell
{
    int row = -1;
    int column = -1;

    bool operator==(const GridCell&) const = default;
};

} // namespace md
