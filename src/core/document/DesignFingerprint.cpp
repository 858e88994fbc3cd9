#include "core/document/DesignFingerprint.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/layout/PointTracer.h"

#include <string>
#include <vector>

namespace md {

namespace {

/// A small incremental hash: each 64-bit word is mixed in with the multiply-xorshift steps of
/// a well-spread finaliser, so equal designs give equal digests and any changed field changes
/// the digest with overwhelming likelihood.
class Digest
{
public:
    void Add(std::uint64_t word)
    {
        m_state ^= word + 0x9E3779B97F4A7C15ULL + (m_state << 6) + (m_state >> 2);
        m_state ^= m_state >> 31;
        m_state *= 0xBF58476D1CE4E5B9ULL;
        m_state ^= m_state >> 29;
    }
    void Add(const std::u16string& text)
    {
        Add(text.size());
        for (char16_t c : text)
            Add(c);
    }
    void Add(const std::vector<std::uint8_t>& bytes)
    {
        Add(bytes.size());
        std::size_t i = 0;
        for (; i + 8 <= bytes.size(); i += 8) {
            std::uint64_t word = 0;
            for (std::size_t k = 0; k < 8; ++k)
                word |= std::uint64_t{bytes[i + k]} << (8 * k);
            Add(word);
        }
        std::uint64_t tail = 0;
        for (std::size_t k = 0; i + k < bytes.size(); ++k)
            tail |= std::uint64_t{bytes[i + k]} << (8 * k);
        Add(tail);
    }
    std::uint64_t Value() const { return m_state; }

private:
    std::uint64_t m_state = 0x243F6A8885A308D3ULL;
};

std::uint64_t Pack(std::uint64_t a, std::uint64_t b, std::uint64_t c = 0, std::uint64_t d = 0)
{
    return a | (b << 16) | (c << 32) | (d << 48);
}

void AddLed(Digest& digest, const CellLed& led)
{
    // Selection and info texts are how the cell is being looked at, not what it is.
    digest.Add(Pack(led.widthTenthMm, led.heightTenthMm, led.widthPx, led.heightPx));
    digest.Add(Pack(led.index, led.colour, led.x, led.y));
    digest.Add(Pack(led.group, led.code, led.imageId, led.active));
    digest.Add(static_cast<std::uint32_t>(led.decompositionMode));
    digest.Add(led.name);
}

void AddLeds(Digest& digest, const std::vector<CellLed>& leds)
{
    digest.Add(leds.size());
    for (const CellLed& led : leds)
        AddLed(digest, led);
}

void AddImage(Digest& digest, const LightImage& image)
{
    digest.Add(Pack(image.used, image.id));
    digest.Add(image.bytes);
    digest.Add(image.name);
}

void AddPoints(Digest& digest, const std::vector<TracedPoint>& points)
{
    digest.Add(points.size());
    for (const TracedPoint& p : points) {
        digest.Add(Pack(p.x, p.y, p.kind, p.cellVariant));
        digest.Add(Pack(p.spare1, p.spare2, p.channelIndex, p.rowTag));
        digest.Add((std::uint64_t{p.colourCode} << 32) | static_cast<std::uint32_t>(p.pixel));
        digest.Add(p.ordinal);
    }
}

void AddRows(Digest& digest, const std::vector<ChannelRow>& rows)
{
    digest.Add(rows.size());
    for (const ChannelRow& row : rows) {
        digest.Add(Pack(row.rowLength, row.index, row.pointsPerGroup, row.flag));
        digest.Add(row.rows.size());
        for (const ScanRow& scan : row.rows) {
            digest.Add(scan.tag);
            AddPoints(digest, scan.points);
        }
    }
}

void AddConnectors(Digest& digest, const ConnectorTable& table)
{
    digest.Add(Pack(table.rows, table.columns));
    for (const auto& row : table.cells)
        for (std::int32_t cell : row)
            digest.Add(static_cast<std::uint32_t>(cell));
}

void AddLayout(Digest& digest, const ModuleDesignDocument& document)
{
    const LayoutModel& layout = document.Layout();
    digest.Add(Pack(layout.Width(), layout.Height()));
    // A pixel counts with the LEDs of its shape set, not the set's number: a design read back
    // numbers its sets in the order it meets them.
    std::vector<std::uint64_t> sets;
    for (const auto& set : layout.ShapeSets()) {
        Digest leds;
        AddLeds(leds, set);
        sets.push_back(leds.Value());
    }
    for (const LedPoint& p : layout.Points()) {
        // The highlight follows the focus and the drawn size the zoom: moving about the grid
        // and zooming change nothing.
        digest.Add(p.hiddenLeds);
        // Large cells: a word emptied again is no change.
        for (std::size_t word = 0; word < p.hiddenBeyond.size(); ++word)
            if (p.hiddenBeyond[word] != 0)
                digest.Add(p.hiddenBeyond[word] + word);
        digest.Add(Pack(p.x, p.y, p.cellVariant, p.marked | (p.traced << 8)));
        digest.Add(p.label);
        digest.Add(p.shapeSet < sets.size() ? sets[p.shapeSet] : 0);
    }
    const PointTracer* tracer = document.Tracer();
    digest.Add(tracer != nullptr);
    if (!tracer)
        return;
    digest.Add(tracer->History().size());
    for (const GridCell& cell : tracer->History())
        digest.Add((std::uint64_t{static_cast<std::uint32_t>(cell.row)} << 32) |
                   static_cast<std::uint32_t>(cell.column));
    digest.Add(Pack(tracer->Ordinal(), tracer->LayoutDone(), tracer->LayoutPresent(),
                    tracer->Supported()));
    digest.Add(Pack(tracer->TracedCount(), tracer->AdvancedStarted()));
    for (std::uint32_t code : tracer->VirtualCodes())
        digest.Add(code);
    AddPoints(digest, tracer->FirstRow());
    AddPoints(digest, tracer->Starts());
    AddPoints(digest, tracer->AdvancedRecords());
    AddRows(digest, tracer->ChannelRows());
    AddRows(digest, tracer->Result());
    // Every LED point-go records (or skips) is an unsaved change; connecting the device is not.
    if (document.PointGoLayout().Cursor() > 0)
        AddRows(digest, document.PointGoLayout().Entries());
}

void AddSections(Digest& digest, const ModuleDesignDocument& document)
{
    const NewModuleInfoRecord& info = document.ModuleInfo();
    digest.Add(Pack(info.pinCount, info.scanRows, info.xPixels, info.yPixels));
    digest.Add(info.ModuleName());
    for (const auto* chip : {&info.driverChip, &info.scanChip}) {
        digest.Add(chip->name);
        digest.Add(Pack(chip->kind, chip->chipType) | (std::uint64_t{chip->value} << 32));
    }

    const SocketDesign& socket = document.Socket();
    digest.Add(Pack(socket.PinCount(), socket.ScanRows()));
    for (const SocketPin& pin : socket.Pins())
        digest.Add((std::uint64_t{pin.index} << 32) | pin.code);

    const BackgroundDesign& background = document.Background();
    digest.Add((std::uint64_t{background.Width()} << 32) | background.Height());
    for (const BackgroundDesign::Point& p : {background.Point1(), background.Point2()})
        digest.Add((std::uint64_t{static_cast<std::uint32_t>(p.x)} << 32) |
                   static_cast<std::uint32_t>(p.y));
    AddImage(digest, background.Picture());

    const CellDesign& cell = document.Cell();
    digest.Add(cell.CellSize());
    for (int slot = 1; slot <= CellDesign::kSlotCount; ++slot)
        AddLeds(digest, cell.Slot(slot));
    digest.Add(cell.Images().size());
    for (const LightImage& image : cell.Images())
        AddImage(digest, image);
    AddImage(digest, cell.Background());

    AddConnectors(digest, document.Connectors());
    AddConnectors(digest, document.Setup().connectors);
    AddRows(digest, document.Setup().result);
}

} // namespace

std::uint64_t DesignFingerprint::Of(const ModuleDesignDocument& document)
{
    Digest digest;
    AddSections(digest, document);
    AddLayout(digest, document);
    return digest.Value();
}

std::uint64_t DesignFingerprint::OfSections(const ModuleDesignDocument& document)
{
    Digest digest;
    AddSections(digest, document);
    return digest.Value();
}

} // namespace md
