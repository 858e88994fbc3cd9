#include "document/DesignFile.h"

#include "design/BackgroundSection.h"
#include "design/NewModuleInfoSection.h"
#include "design/SocketSection.h"
#include "document/ModuleDesignDocument.h"
#include "driverfile/LayoutDesignSection.h"
#include "layout/LayoutSnapshot.h"
#include "layout/PointTracer.h"

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
    // The capture moves the result into the range; a save must not move the live layout, or
    // a second save would move it again.
    const std::vector<ChannelRow> live = tracer->Result();
    LayoutDesign design =
        layoutsnapshot::Capture(*tracer, range, cell.Images(), cell.Background(), slots);
    tracer->Result() = live;
    return design;
}

DesignParts DesignFile::PartsOf(ModuleDesignDocument& document)
{
    const LayoutModel& layout = document.Layout();
    return DesignParts{document.ModuleInfo(), document.Socket(),
                       CaptureLayout(document, WholeModule(layout.Width(), layout.Height())),
                       document.Background()};
}

namespace {

/// The container's four sections over a design's parts.
struct PartSections
{
    PartSections(DesignParts& parts, const DesignFilePorts& ports)
        : moduleInfo(parts.moduleInfo, ports.codePage), socket(parts.socket, &ports.codec),
          layout(parts.layout, ports.codePage),
          background(parts.background, ports.codePage, ports.codec)
    {}
    DriverFile::Sections All() { return {&moduleInfo, &socket, &layout, &background}; }

    NewModuleInfoSection moduleInfo;
    SocketSection socket;
    LayoutDesignSection layout;
    BackgroundSection background;
};

} // namespace

DriverFile::Result DesignFile::Write(const std::filesystem::path& path, DesignParts& parts,
                                     const DesignFilePorts& ports)
{
    PartSections sections(parts, ports);
    return DriverFile::Write(path, ports.version, sections.All(), ports.guids, ports.clock);
}

DriverFile::Result DesignFile::Read(const std::filesystem::path& path, DesignParts& parts,
                                    const DesignFilePorts& ports)
{
    PartSections sections(parts, ports);
    return DriverFile::Read(path, sections.All());
}

} // namespace md
