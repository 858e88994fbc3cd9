// Moving a layout's points: into the module range on save, and by position maps for block
// files and the module transform.
#include "core/layout/LayoutArchive.h"
#include "core/layout/LayoutModel.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace md::layoutarchive {

namespace {

void MakeVirtual(TracedPoint& point)
{
    point.x = point.y = 0;
    point.kind = TracedPoint::kVirtual;
    point.colourCode = 0;
    point.spare1 = point.spare2 = 0;
    point.cellVariant = 0;
    point.pixel = TracedPoint::kNoPixel;
}

std::uint16_t AtLeastZero(std::int64_t value)
{
    return value < 1 ? 0 : static_cast<std::uint16_t>(value);
}

} // namespace

void ApplyModuleRange(std::vector<ChannelRow>& result, const LayoutRange& range)
{
    for (ChannelRow& entry : result)
        for (ScanRow& row : entry.rows)
            for (TracedPoint& point : row.points) {
                if (point.IsVirtual() || !range.inside.count(LayoutModel::Key(point.x, point.y))) {
                    MakeVirtual(point);
                    continue;
                }
                std::int64_t x = std::int64_t{point.x} - range.originX;
                std::int64_t y = std::int64_t{point.y} - range.originY;
                if (range.splitMode == 1 && point.y >= range.splitPosition)
                    y -= range.splitGap;
                if (range.splitMode == 2 && point.x >= range.splitPosition)
                    x -= range.splitGap;
                point.x = AtLeastZero(x);
                point.y = AtLeastZero(y);
            }
}

namespace {

/// The first grid point at each position: a flat table over the box the points span while that
/// box is not much larger than the grid (it is the grid's own box when the file is sound), else
/// a hash table.
class GridIndex
{
public:
    explicit GridIndex(const std::vector<ArchivedPoint>& points)
    {
        std::uint32_t width = 0, height = 0;
        for (const ArchivedPoint& point : points) {
            width = std::max<std::uint32_t>(width, point.x + 1U);
            height = std::max<std::uint32_t>(height, point.y + 1U);
        }
        if (std::uint64_t{width} * height <= 4 * std::uint64_t{points.size()} + 1024) {
            m_width = width;
            m_height = height;
            m_flat.assign(std::size_t{width} * height, kNone);
            for (std::size_t i = 0; i < points.size(); ++i) {
                std::size_t& slot = m_flat[std::size_t{points[i].y} * width + points[i].x];
                if (slot == kNone)
                    slot = i;
            }
            return;
        }
        m_hashed.reserve(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            m_hashed.emplace(LayoutModel::Key(points[i].x, points[i].y), i);
    }

    /// The index of the first point at the key's position, kNone without one.
    std::size_t Find(std::uint32_t key) const
    {
        const std::uint32_t x = key & 0xFFFF, y = key >> 16;
        if (!m_flat.empty())
            return x < m_width && y < m_height ? m_flat[std::size_t{y} * m_width + x] : kNone;
        const auto found = m_hashed.find(key);
        return found == m_hashed.end() ? kNone : found->second;
    }

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

private:
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::vector<std::size_t> m_flat;
    std::unordered_map<std::uint32_t, std::size_t> m_hashed;
};

/// Remap over any lookup: forward(key) and backward(key) give the key a position maps to, or
/// nothing.
template <typename Forward, typename Backward>
void RemapWith(LayoutDesign& design, std::uint32_t resultWidth, std::uint32_t resultHeight,
               const Forward& forward, const Backward& backward)
{
    for (ChannelRow& entry : design.result)
        for (ScanRow& row : entry.rows)
            for (TracedPoint& point : row.points) {
                if (point.IsVirtual())
                    continue;
                const std::optional<std::uint32_t> to = forward(LayoutModel::Key(point.x, point.y));
                if (!to) {
                    MakeVirtual(point);
                    continue;
                }
                point.x = static_cast<std::uint16_t>(*to & 0xFFFF);
                point.y = static_cast<std::uint16_t>(*to >> 16);
                point.cellVariant = LayoutModel::VariantOf(point.x, point.y);
            }

    const GridIndex sources(design.points);
    ArchivedPoint fresh;
    if (!design.points.empty()) {
        fresh.drawWidth = design.points[0].drawWidth;
        fresh.drawHeight = design.points[0].drawHeight;
    }
    std::vector<ArchivedPoint> points;
    points.reserve(std::size_t{resultWidth} * resultHeight);
    for (std::uint32_t x = 0; x < resultWidth; ++x)
        for (std::uint32_t y = 0; y < resultHeight; ++y) {
            ArchivedPoint point = fresh;
            point.cellVariant = LayoutModel::VariantOf(x, y);
            point.shapeSet = point.cellVariant - 1U;
            if (const std::optional<std::uint32_t> back = backward(LayoutModel::Key(x, y))) {
                const std::size_t source = sources.Find(*back);
                if (source != GridIndex::kNone)
                    point = design.points[source];
            }
            point.x = static_cast<std::uint16_t>(x);
            point.y = static_cast<std::uint16_t>(y);
            points.push_back(point);
        }
    // Fresh points name the cell slot sets, which lead the shape sets of a read design.
    while (design.shapeSets.size() < 4)
        design.shapeSets.push_back(design.cellSlots[design.shapeSets.size()]);
    design.points = std::move(points);
}

/// A lookup in an ordered map.
struct InMap
{
    const std::map<std::uint32_t, std::uint32_t>& map;
    std::optional<std::uint32_t> operator()(std::uint32_t key) const
    {
        const auto found = map.find(key);
        return found == map.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
    }
};

} // namespace

void Remap(LayoutDesign& design, std::uint32_t resultWidth, std::uint32_t resultHeight,
           const std::map<std::uint32_t, std::uint32_t>& forward,
           const std::map<std::uint32_t, std::uint32_t>& backward)
{
    RemapWith(design, resultWidth, resultHeight, InMap{forward}, InMap{backward});
}

void Remap(LayoutDesign& design, std::uint32_t resultWidth, std::uint32_t resultHeight,
           const KeyLookup& forward, const KeyLookup& backward)
{
    RemapWith(design, resultWidth, resultHeight, forward, backward);
}

} // namespace md::layoutarchive
