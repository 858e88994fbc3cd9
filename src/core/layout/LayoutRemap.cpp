// Moving a layout's points: into the module range on save, and by position maps for block
// files and the module transform.
#include "core/layout/LayoutArchive.h"
#include "core/layout/LayoutModel.h"

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

void Remap(LayoutDesign& design, std::uint32_t resultWidth, std::uint32_t resultHeight,
           const std::map<std::uint32_t, std::uint32_t>& forward,
           const std::map<std::uint32_t, std::uint32_t>& backward)
{
    for (ChannelRow& entry : design.result)
        for (ScanRow& row : entry.rows)
            for (TracedPoint& point : row.points) {
                if (point.IsVirtual())
                    continue;
                const auto it = forward.find(LayoutModel::Key(point.x, point.y));
                if (it == forward.end()) {
                    MakeVirtual(point);
                    continue;
                }
                point.x = static_cast<std::uint16_t>(it->second & 0xFFFF);
                point.y = static_cast<std::uint16_t>(it->second >> 16);
                point.cellVariant = LayoutModel::VariantOf(point.x, point.y);
            }

    std::unordered_map<std::uint32_t, std::size_t> sources;
    for (std::size_t i = 0; i < design.points.size(); ++i)
        sources.emplace(LayoutModel::Key(design.points[i].x, design.points[i].y), i);
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
            const auto back = backward.find(LayoutModel::Key(x, y));
            if (back != backward.end()) {
                const auto source = sources.find(back->second);
                if (source != sources.end())
                    point = design.points[source->second];
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

} // namespace md::layoutarchive
