#include "core/document/DesignFile.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/layout/LayoutSnapshot.h"
#include "core/layout/PointTracer.h"

namespace md {

LayoutRange DesignFile::WholeModule(std::uint32_t width, std::uint32_t height)
{
    LayoutRange range;
    range.width = width;
    range.height = height;
    range.inside.reserve(std::size_t{width} * height);
    for (std::uint32_t x = 0; x < width; ++x)
        for (std::uint32_t y = 0; y < height; ++y)
            range.inside.insert(LayoutModel::Key(x, y));
    return range;
}

LayoutDesign DesignFile::CaptureLayout(ModuleDesignDocument& document, const LayoutRange& range)
{
    PointTracer* tracer = document.Tracer();
    if (!tracer)
        return LayoutDesign{};
    const CellDesign& cell = document.Cell();
    std::array<std::vector<CellLed>, 4> slots;
    for (int i = 0; i < CellDesign::kSlotCount; ++i)
        slots[i] = cell.Slot(i + 1);
    return layoutsnapshot::Capture(*tracer, range, cell.Images(), cell.Background(), slots);
}

DesignParts DesignFile::PartsOf(ModuleDesignDocument& document)
{
    const LayoutModel& layout = document.Layout();
    return DesignParts{document.ModuleInfo(), document.Socket(),
                       CaptureLayout(document, WholeModule(layout.Width(), layout.Height())),
                       document.Background()};
}

} // namespace md
