#pragma once

#include <array>
#include <cstdint>

namespace md {

/// Which output connector feeds which block of the module: 8 by 8 slots (-1 empty) with the
/// number of rows and columns in use. One table serves the whole process.
class ConnectorTable
{
public:
    static constexpr int kSize = 8;
    static constexpr std::int32_t kEmpty = -1;

    ConnectorTable() { Clear(); }

    /// The table of this process.
    static ConnectorTable& Shared();

    void Clear();
    /// One row with multiClock + 1 columns numbered 0, 1, 2 ...; the rest empty.
    void Build(std::int32_t multiClock);

    std::int32_t At(int row, int column) const
    {
        return m_slots[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    void Set(int row, int column, std::int32_t value)
    {
        m_slots[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = value;
    }
    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }
    void SetShape(int rows, int columns)
    {
        m_rows = rows;
        m_columns = columns;
    }

private:
    std::array<std::array<std::int32_t, kSize>, kSize> m_slots{};
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace md
