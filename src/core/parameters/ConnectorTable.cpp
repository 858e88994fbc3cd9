#include "parameters/ConnectorTable.h"

#include <algorithm>

namespace md {

ConnectorTable& ConnectorTable::Shared()
{
    static ConnectorTable table;
    return table;
}

void ConnectorTable::Clear()
{
    for (auto& row : m_slots)
        row.fill(kEmpty);
    m_rows = 0;
    m_columns = 0;
}

void ConnectorTable::Build(std::int32_t multiClock)
{
    Clear();
    const int columns = std::clamp(multiClock + 1, 1, kSize);
    std::int32_t next = 0;
    for (int column = 0; column < columns; ++column)
        Set(0, column, next++);
    m_rows = 1;
    m_columns = columns;
}

} // namespace md
