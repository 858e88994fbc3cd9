#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace md {

/// Grid positions as keys x | (y << 16) mapped to numbers. The table is flat, indexed by
/// position over the box from (0, 0) that its keys span, while that box holds at most the flat
/// limit of cells; a larger box (a hostile file, an extreme zoom) keeps a sorted list instead.
/// Both give the same answers.
class PositionTable
{
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    static constexpr std::size_t kFlatLimit = std::size_t{1} << 22;

    explicit PositionTable(std::size_t flatLimit = kFlatLimit) : m_flatLimit(flatLimit) {}

    /// Maps keys[i] to values[i] (values below kNone); a later equal key replaces the earlier.
    void Assign(std::span<const std::uint32_t> keys, std::span<const std::uint32_t> values);
    /// The value of a key, kNone when the table does not hold it.
    std::uint32_t Find(std::uint32_t key) const;
    /// The number of distinct keys.
    std::size_t Size() const { return m_size; }
    bool IsFlat() const { return m_isFlat; }

    /// The distinct keys in ascending order (row by row, each row by column).
    static std::vector<std::uint32_t> Distinct(std::span<const std::uint32_t> keys,
                                               std::size_t flatLimit = kFlatLimit);

private:
    std::size_t m_flatLimit;
    bool m_isFlat = true;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::vector<std::uint32_t> m_flat;                             ///< [y * width + x]
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_sorted; ///< (key, value) by key
    std::size_t m_size = 0;
};

} // namespace md
