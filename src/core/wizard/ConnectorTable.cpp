#include "wizard/ConnectorTable.h"

namespace md {

void ConnectorTable::Clear()
{
    for (auto& row : cells)
        row.fill(kEmpty);
    rows = 1;
    columns = 1;
}

ConnectorTable ConnectorTable::ForMultiClock(int m)
{
    ConnectorTable table;
    if (m < 0)
        m = 0;
    if (m > kSize - 1)
        m = kSize - 1;
    for (int column = 0; column <= m; ++column)
        table.cells[0][column] = column;
    table.rows = 1;
    table.columns = m + 1;
    return table;
}

} // namespace md
