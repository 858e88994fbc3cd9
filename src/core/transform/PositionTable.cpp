#include "core/transform/PositionTable.h"

#include <algorithm>

namespace md {

namespace {

struct Box
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    std::size_t Cells() const { return std::size_t{width} * height; }
    std::size_t Index(std::uint32_t key) const
    {
        return std::size_t{key >> 16} * width + (key & 0xFFFF);
    }
};

/// The box from (0, 0) that holds every key, when it has at most limit cells.
bool FlatBox(std::span<const std::uint32_t> keys, std::size_t limit, Box& box)
{
    std::uint32_t maxX = 0, maxY = 0;
    for (const std::uint32_t key : keys) {
        maxX = std::max(maxX, key & 0xFFFF);
        maxY = std::max(maxY, key >> 16);
    }
    box = keys.empty() ? Box{} : Box{maxX + 1, maxY + 1};
    return std::uint64_t{box.width} * box.height <= limit;
}

} // namespace

void PositionTable::Assign(std::span<const std::uint32_t> keys,
                           std::span<const std::uint32_t> values)
{
    m_flat.clear();
    m_sorted.clear();
    m_size = 0;
    Box box;
    m_isFlat = FlatBox(keys, m_flatLimit, box);
    m_width = box.width;
    m_height = box.height;
    const std::size_t count = std::min(keys.size(), values.size());
    if (m_isFlat) {
        m_flat.assign(box.Cells(), kNone);
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t& slot = m_flat[box.Index(keys[i])];
            m_size += slot == kNone;
            slot = values[i];
        }
        return;
    }
    // By key, and by position in the input among equal keys, so the last of a run wins.
    m_sorted.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        m_sorted.emplace_back(keys[i], static_cast<std::uint32_t>(i));
    std::sort(m_sorted.begin(), m_sorted.end());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_sorted.size(); ++i) {
        if (i + 1 < m_sorted.size() && m_sorted[i + 1].first == m_sorted[i].first)
            continue;
        m_sorted[kept++] = {m_sorted[i].first, values[m_sorted[i].second]};
    }
    m_sorted.resize(kept);
    m_size = kept;
}

std::uint32_t PositionTable::Find(std::uint32_t key) const
{
    if (m_isFlat) {
        const std::uint32_t x = key & 0xFFFF, y = key >> 16;
        return x < m_width && y < m_height ? m_flat[std::size_t{y} * m_width + x] : kNone;
    }
    const auto found =
        std::lower_bound(m_sorted.begin(), m_sorted.end(), key,
                         [](const auto& entry, std::uint32_t k) { return entry.first < k; });
    return found != m_sorted.end() && found->first == key ? found->second : kNone;
}

std::vector<std::uint32_t> PositionTable::Distinct(std::span<const std::uint32_t> keys,
                                                   std::size_t flatLimit)
{
    Box box;
    if (!FlatBox(keys, flatLimit, box)) {
        std::vector<std::uint32_t> sorted(keys.begin(), keys.end());
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        return sorted;
    }
    std::vector<std::uint8_t> present(box.Cells(), 0);
    std::size_t count = 0;
    for (const std::uint32_t key : keys) {
        std::uint8_t& seen = present[box.Index(key)];
        count += seen == 0;
        seen = 1;
    }
    // Row by row over the flat box is ascending key order.
    std::vector<std::uint32_t> distinct;
    distinct.reserve(count);
    std::size_t index = 0;
    for (std::uint32_t y = 0; y < box.height; ++y)
        for (std::uint32_t x = 0; x < box.width; ++x)
            if (present[index++])
                distinct.push_back(x | (y << 16));
    return distinct;
}

} // namespace md
