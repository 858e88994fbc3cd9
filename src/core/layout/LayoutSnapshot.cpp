#include "core/layout/LayoutSnapshot.h"

#include "core/layout/LayoutArchive.h"
#include "core/layout/PointTracer.h"

#include <algorithm>

namespace md::layoutsnapshot {

LayoutDesign Capture(PointTracer& tracer, const LayoutRange& range, std::vector<LightImage> images,
                     LightImage background, std::array<std::vector<CellLed>, 4> cellSlots)
{
    const LayoutModel& model = tracer.Model();
    LayoutDesign design;
    design.layoutPresent = tracer.LayoutPresent();
    if (design.layoutPresent) {
        // A copy is moved, so the open design stays as it is and saving twice writes the same.
        design.result = tracer.Result();
        layoutarchive::ApplyModuleRange(design.result, range);
    }
    for (std::size_t i = 0; i < 3; ++i)
        design.virtualCodes[i] = static_cast<std::uint8_t>(tracer.VirtualCodes()[i]);
    design.images = std::move(images);
    design.background = std::move(background);
    design.cellSlots = std::move(cellSlots);
    // The grid was built from the same cell slots, so its sets 0 to 3 are theirs.
    design.shapeSets = model.ShapeSets();
    while (design.shapeSets.size() < 4)
        design.shapeSets.push_back(design.cellSlots[design.shapeSets.size()]);
    for (const LedPoint& point : model.Points()) {
        if (point.x >= range.width || point.y >= range.height)
            continue;
        ArchivedPoint stored;
        stored.drawWidth = point.drawWidth;
        stored.drawHeight = point.drawHeight;
        stored.cellVariant = point.cellVariant;
        stored.x = point.x;
        stored.y = point.y;
        stored.marked = point.marked;
        stored.highlighted = point.highlighted;
        // The file keeps no traced flags; the grid keeps them, so tracing on after a save
        // still refuses a pixel traced before it.
        stored.traced = 0;
        stored.shapeSet = point.shapeSet;
        design.points.push_back(stored);
    }
    return design;
}

void Restore(const LayoutDesign& design, PointTracer& tracer)
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<LedPoint> points;
    points.reserve(design.points.size());
    for (const ArchivedPoint& stored : design.points) {
        LedPoint point;
        point.drawWidth = stored.drawWidth;
        point.drawHeight = stored.drawHeight;
        point.cellVariant = stored.cellVariant;
        point.x = stored.x;
        point.y = stored.y;
        point.marked = stored.marked;
        point.highlighted = stored.highlighted;
        point.traced = stored.traced;
        point.shapeSet = stored.shapeSet;
        width = std::max<std::uint32_t>(width, stored.x + 1U);
        height = std::max<std::uint32_t>(height, stored.y + 1U);
        points.push_back(point);
    }
    tracer.Model().Assign(width, height, std::move(points), design.shapeSets);
    tracer.SetVirtualCodes(
        {design.virtualCodes[0], design.virtualCodes[1], design.virtualCodes[2]});
    tracer.Result() = design.result;
    tracer.SetLayoutPresent(design.layoutPresent);
}

} // namespace md::layoutsnapshot
