#pragma once

#include "core/layout/LayoutDesign.h"
#include "core/layout/LayoutRange.h"

namespace md {

class PointTracer;

/// Moves a layout grid's state into the layout section's content and back.
namespace layoutsnapshot {

/// The content of a save: the stored points carry no traced flags (the grid's stay), a copy of the
/// layout result is moved into the module range (the tracer's result stays as it is) and the grid
/// points inside the range are taken with their shared LED lists. The cell design's pictures and
/// slots come with it.
LayoutDesign Capture(PointTracer& tracer, const LayoutRange& range, std::vector<LightImage> images,
                     LightImage background, std::array<std::vector<CellLed>, 4> cellSlots);

/// Restores a grid from a read section: its points, shared LED lists, virtual codes and layout
/// result; the layout is flagged present when the section held one.
void Restore(const LayoutDesign& design, PointTracer& tracer);

} // namespace layoutsnapshot
} // namespace md
