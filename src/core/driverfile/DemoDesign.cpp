#include "core/driverfile/DemoDesign.h"

#include "core/driverfile/BackgroundSection.h"
#include "core/driverfile/LayoutDesignSection.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/platform/Clock.h"
#include "core/platform/Guids.h"

namespace md {

namespace {

class FixedGuid final : public Guids
{
public:
    std::string NewGuid() override { return "00000000-0000-4000-8000-000000000000"; }
};

class ZeroClock final : public Clock
{
public:
    std::uint32_t TickCount() const override { return 0; }
};

} // namespace

std::unique_ptr<DriverFileContents> DemoDesign::Build(const Options& o)
{
    if (o.width == 0 || o.height == 0 || o.groups == 0 || o.scanRows == 0 ||
        o.height % o.groups != 0 || (o.height / o.groups) % o.scanRows != 0)
        return nullptr;
    auto design = std::make_unique<DriverFileContents>();
    design->version = {1, 0, 0};
    auto& info = design->moduleInfo;
    info.pinCount = 16;
    info.scanRows = o.scanRows;
    info.xPixels = o.width;
    info.yPixels = o.height;
    info.nameParts = {u"DEMO", u"", u"", u""};
    info.driverChip = {u"DRIVER", 0, 0, 0};
    info.scanChip = {u"SCAN", 1, 0, 0};
    info.confirmed = 1;

    design->socket.NewSocket(16, o.scanRows);
    const std::uint32_t codes[] = {16, 47, 63, 64, 65, 66, 15, 15};
    for (std::size_t i = 0; i < std::size(codes); ++i)
        design->socket.Pins()[i].code = codes[i];

    const int band = o.height / o.groups;
    const int linesPerScanRow = band / o.scanRows;
    const auto rowLength = static_cast<std::uint16_t>(o.width * linesPerScanRow);
    auto& layout = design->layout;
    layout.layoutPresent = true;
    for (std::uint16_t g = 0; g < o.groups; ++g) {
        ChannelRow entry;
        entry.rowLength = rowLength;
        entry.index = g;
        entry.pointsPerGroup = static_cast<std::uint16_t>(rowLength * o.scanRows);
        for (std::uint16_t s = 0; s < o.scanRows; ++s) {
            ScanRow row;
            row.tag = s;
            std::uint16_t ordinal = 1;
            for (int line = 0; line < linesPerScanRow; ++line) {
                const int y = g * band + line * o.scanRows + s;
                for (int i = 0; i < o.width; ++i) {
                    const int x = line % 2 == 0 ? i : o.width - 1 - i;
                    TracedPoint p;
                    p.x = static_cast<std::uint16_t>(x);
                    p.y = static_cast<std::uint16_t>(y);
                    p.cellVariant = static_cast<std::uint16_t>(1 + (x % 2) + 2 * (y % 2));
                    p.ordinal = ordinal++;
                    p.channelIndex = g;
                    p.rowTag = s;
                    row.points.push_back(p);
                }
            }
            entry.rows.push_back(std::move(row));
        }
        layout.result.push_back(std::move(entry));
    }
    std::vector<CellLed> cell;
    for (std::uint16_t i = 0; i < o.ledsPerCell; ++i) {
        CellLed led;
        led.widthTenthMm = led.heightTenthMm = 20;
        led.widthPx = led.heightPx = 40;
        led.index = i;
        led.colour = static_cast<std::uint16_t>(i % 3);
        led.x = static_cast<std::uint16_t>(40 + 60 * (i % 3));
        led.y = static_cast<std::uint16_t>(40 + 60 * (i / 3));
        cell.push_back(led);
    }
    // Every variant has the same LEDs; each pixel uses its variant's list.
    for (auto& slot : layout.cellSlots)
        slot = cell;
    layout.shapeSets.assign(layout.cellSlots.begin(), layout.cellSlots.end());
    for (std::uint16_t x = 0; x < o.width; ++x)
        for (std::uint16_t y = 0; y < o.height; ++y) {
            ArchivedPoint point;
            point.x = x;
            point.y = y;
            point.cellVariant = static_cast<std::uint16_t>(1 + (x % 2) + 2 * (y % 2));
            point.marked = 1;
            point.shapeSet = point.cellVariant - 1U;
            layout.points.push_back(point);
        }
    design->background.PlaceMarkers(o.width, o.height);
    design->background.SetPicture(LightImage{0, 0, o.background, u"module_bkground.png"});
    return design;
}

std::vector<std::uint8_t> DemoDesign::Bytes(DriverFileContents& design, const CodePage& codePage,
                                            std::string& error)
{
    static const PictureHeaderCodec codec;
    NewModuleInfoSection s0(design.moduleInfo, codePage);
    SocketSection s1(design.socket, nullptr);
    LayoutDesignSection s2(design.layout, codePage);
    BackgroundSection s3(design.background, codePage, codec);
    FixedGuid guids;
    ZeroClock clock;
    DriverFile::Result result;
    auto bytes = DriverFile::Build(design.version, {&s0, &s1, &s2, &s3}, guids, clock, result);
    if (!bytes) {
        error = result.message;
        return {};
    }
    return *bytes;
}

} // namespace md
