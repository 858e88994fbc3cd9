#include "core/layout/LayoutArchive.h"

#include "core/design/PictureRecord.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/io/FixedRecord.h"
#include "core/io/RecordCursor.h"
#include "core/layout/LayoutModel.h"
#include "core/posix/CodePage.h"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace md {

namespace {

constexpr std::size_t kTracedPointBytes = 24;
constexpr std::size_t kCellLedBytes = 29;
constexpr std::size_t kGridPointBytes = 16;
constexpr std::uint32_t kMaxU16 = std::numeric_limits<std::uint16_t>::max();

bool WriteLayoutBody(const LayoutDesign& design, ByteWriter& section, const CodePage& codePage);

void WriteFlag(ByteWriter& out, bool value)
{
    out.U8(value ? 1 : 0);
}

void WriteLed(ByteWriter& out, const CellLed& led)
{
    FixedRecord<kCellLedBytes> record;
    for (std::uint16_t value :
         {led.widthTenthMm, led.heightTenthMm, led.widthPx, led.heightPx, led.index, led.colour,
          led.x, led.y, led.group, led.code, led.imageId})
        record.Put(value, 2);
    record.Put(led.active, 1).Put(led.selected, 1).Put(led.showInfo, 1);
    record.Put(static_cast<std::uint32_t>(led.decompositionMode), 4);
    out.Bytes(record.Full());
}

bool WriteLeds(ByteWriter& out, const std::vector<CellLed>& leds)
{
    if (leds.size() > kMaxU16)
        return false;
    out.U16(static_cast<std::uint16_t>(leds.size()));
    for (const CellLed& led : leds)
        WriteLed(out, led);
    return true;
}

/// Stores a 16-bit value little-endian and returns the next position.
std::uint8_t* Put16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    return at + 2;
}

void WritePoint(ByteWriter& out, const TracedPoint& p)
{
    std::uint8_t* at = out.Extend(kTracedPointBytes);
    at = Put16(Put16(Put16(at, p.x), p.y), p.kind);
    at = Put16(Put16(at, static_cast<std::uint16_t>(p.colourCode)),
               static_cast<std::uint16_t>(p.colourCode >> 16));
    for (std::uint16_t value :
         {p.spare1, p.spare2, p.cellVariant, p.ordinal, p.channelIndex, p.rowTag, p.ordinal})
        at = Put16(at, value);
}

/// What the result and the grid take in the section; the rest is small.
std::size_t BulkBytes(const LayoutDesign& design)
{
    std::size_t bytes = 2 + design.points.size() * kGridPointBytes;
    if (!design.layoutPresent)
        return bytes;
    for (const ChannelRow& entry : design.result)
        bytes += 9 + entry.rows.size() * (2 + kTracedPointBytes * entry.rowLength);
    for (const ArchivedPoint& point : design.points)
        bytes += 3 + design.ShapesOf(point).size() * kCellLedBytes;
    return bytes;
}

/// Writes the grid points; each shape set is laid out once and copied to every pixel using it.
bool WritePoints(ByteWriter& out, const LayoutDesign& design)
{
    out.U16(static_cast<std::uint16_t>(design.points.size()));
    std::vector<std::vector<std::uint8_t>> stored(design.shapeSets.size() + 1);
    for (const ArchivedPoint& point : design.points) {
        FixedRecord<kGridPointBytes + 1> record;
        record.Put(point.drawWidth, 4).Put(point.drawHeight, 4).Put(point.cellVariant, 2);
        record.Put(point.x, 2).Put(point.y, 2).Put(point.marked, 1).Put(point.highlighted, 1);
        if (!design.layoutPresent) {
            out.Bytes(record.Bytes());
            continue;
        }
        out.Bytes(record.Put(point.traced, 1).Full());
        // Out-of-range indices share the last slot: an empty list.
        const std::size_t set = std::min<std::size_t>(point.shapeSet, design.shapeSets.size());
        if (stored[set].empty()) {
            ByteWriter leds;
            if (!WriteLeds(leds, design.ShapesOf(point)))
                return false;
            stored[set] = leds.Take();
        }
        out.Bytes(stored[set]);
    }
    return true;
}

/// Reads the section item by item; the first failure names the item. Flag bytes are kept as
/// stored, so a section read and written again is the same bytes.
class SectionReader
{
public:
    SectionReader(ByteReader& in, const CodePage& codePage, std::string& error)
        : m_in(in), m_codePage(codePage), m_error(error)
    {}

    bool Read(LayoutDesign& design)
    {
        design = LayoutDesign{};
        if (!m_in.Expect(layoutarchive::kMagic))
            return Fail("the layout section mark is missing");
        bool present = false;
        if (!Flag(present))
            return Fail("truncated layout flag");
        design.layoutPresent = present;
        if (present && !Result(design.result))
            return false;
        if (!m_in.U8(design.virtualCodes[0]) || !m_in.U8(design.virtualCodes[1]) ||
            !m_in.U8(design.virtualCodes[2]))
            return Fail("truncated virtual codes");
        std::uint16_t images = 0;
        if (!m_in.U16(images) || !m_in.CanHold(images, 10))
            return Fail("bad image count");
        design.images.resize(images);
        for (LightImage& image : design.images)
            if (!Image(image))
                return false;
        if (!Image(design.background))
            return false;
        std::array<std::span<const std::uint8_t>, 4> slotRecords;
        for (std::size_t s = 0; s < slotRecords.size(); ++s) {
            if (!LedRecords(slotRecords[s]))
                return false;
            DecodeLeds(slotRecords[s], design.cellSlots[s]);
        }
        // Shape sets 0 to 3 are always the cell slots' lists.
        for (std::size_t s = 0; s < slotRecords.size(); ++s) {
            m_sets.try_emplace(KeyOf(slotRecords[s]), static_cast<std::uint32_t>(s));
            design.shapeSets.push_back(design.cellSlots[s]);
        }
        return Points(design);
    }

private:
    bool Fail(const std::string& what)
    {
        if (m_error.empty())
            m_error = what + " at byte " + std::to_string(m_in.Offset());
        return false;
    }

    bool Flag(bool& value)
    {
        std::uint8_t byte = 0;
        if (!m_in.U8(byte))
            return false;
        value = byte != 0;
        return true;
    }

    bool Text(std::u16string& text)
    {
        std::uint16_t length = 0;
        std::span<const std::uint8_t> bytes;
        if (!m_in.U16(length) || !m_in.Bytes(length, bytes))
            return Fail("truncated name");
        const auto decoded = m_codePage.ToUtf16(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (!decoded)
            return Fail("a name is not valid in the code page");
        text = *decoded;
        return true;
    }

    bool Image(LightImage& image)
    {
        std::uint32_t length = 0;
        if (!m_in.U16(image.used) || !m_in.U16(image.id) || !Text(image.name) ||
            !m_in.U32(length) || !m_in.Bytes(length, image.bytes))
            return Fail("truncated picture");
        return true;
    }

    /// The stored records of an LED list, taken whole.
    bool LedRecords(std::span<const std::uint8_t>& records)
    {
        std::uint16_t count = 0;
        if (!m_in.U16(count) || !m_in.CanHold(count, kCellLedBytes) ||
            !m_in.Bytes(count * kCellLedBytes, records))
            return Fail("bad LED count");
        return true;
    }

    static void DecodeLeds(std::span<const std::uint8_t> records, std::vector<CellLed>& leds)
    {
        leds.assign(records.size() / kCellLedBytes, CellLed{});
        const std::uint8_t* at = records.data();
        for (CellLed& led : leds) {
            RecordCursor c(at);
            for (std::uint16_t* value :
                 {&led.widthTenthMm, &led.heightTenthMm, &led.widthPx, &led.heightPx, &led.index,
                  &led.colour, &led.x, &led.y, &led.group, &led.code, &led.imageId})
                *value = c.U16();
            led.active = c.U8();
            led.selected = c.U8();
            led.showInfo = c.U8();
            led.decompositionMode = static_cast<std::int32_t>(c.Get(4));
            at += kCellLedBytes;
        }
    }

    bool Result(std::vector<ChannelRow>& result)
    {
        std::uint16_t entries = 0;
        if (!m_in.U16(entries) || !m_in.CanHold(entries, 9))
            return Fail("bad entry count");
        result.resize(entries);
        for (ChannelRow& entry : result) {
            std::uint16_t rows = 0;
            if (!m_in.U16(entry.rowLength) || !m_in.U16(entry.index) ||
                !m_in.U16(entry.pointsPerGroup) || !m_in.U16(rows) || !m_in.U8(entry.flag))
                return Fail("truncated entry");
            const std::size_t rowBytes = 2 + kTracedPointBytes * entry.rowLength;
            if (!m_in.CanHold(rows, rowBytes))
                return Fail("bad scan-row count");
            entry.rows.resize(rows);
            for (ScanRow& row : entry.rows) {
                std::span<const std::uint8_t> records;
                if (!m_in.U16(row.tag) || !m_in.Bytes(kTracedPointBytes * entry.rowLength, records))
                    return Fail("truncated scan row");
                row.points.resize(entry.rowLength);
                const std::uint8_t* at = records.data();
                for (TracedPoint& p : row.points) {
                    RecordCursor c(at);
                    p.x = c.U16();
                    p.y = c.U16();
                    p.kind = c.U16();
                    p.colourCode = c.Get(4);
                    p.spare1 = c.U16();
                    p.spare2 = c.U16();
                    p.cellVariant = c.U16();
                    p.ordinal = c.U16(); // stored twice; the second copy is not read
                    p.channelIndex = c.U16();
                    p.rowTag = c.U16();
                    at += kTracedPointBytes;
                }
            }
        }
        return true;
    }

    /// Shape sets are told apart by their stored records, which stay in the reader's bytes.
    static std::string_view KeyOf(std::span<const std::uint8_t> records)
    {
        return {reinterpret_cast<const char*>(records.data()), records.size()};
    }

    /// The index of the shape set stored as records, added when there is none; a list many
    /// pixels share is decoded once.
    std::uint32_t SharedSet(LayoutDesign& design, std::span<const std::uint8_t> records,
                            std::uint16_t cellVariant = 0)
    {
        // Pixels of one cell variant mostly share one list: the set last found for the variant
        // is compared first, which spares hashing every pixel's records.
        Recent& recent = m_recent[cellVariant < m_recent.size() ? cellVariant : 0];
        const std::string_view key = KeyOf(records);
        if (recent.found && recent.key == key)
            return recent.index;
        const auto [it, added] =
            m_sets.try_emplace(KeyOf(records), static_cast<std::uint32_t>(design.shapeSets.size()));
        if (added)
            DecodeLeds(records, design.shapeSets.emplace_back());
        recent = {true, it->first, it->second};
        return it->second;
    }

    bool Points(LayoutDesign& design)
    {
        std::uint16_t count = 0;
        if (!m_in.U16(count) || !m_in.CanHold(count, kGridPointBytes))
            return Fail("bad grid point count");
        design.points.resize(count);
        std::span<const std::uint8_t> records;
        // Each point's fixed fields are taken as one record (and its traced flag with them).
        const std::size_t fixed = kGridPointBytes + (design.layoutPresent ? 1 : 0);
        for (ArchivedPoint& point : design.points) {
            std::span<const std::uint8_t> record;
            if (!m_in.Bytes(fixed, record))
                return Fail("truncated grid point");
            RecordCursor c(record.data());
            point.drawWidth = c.Get(4);
            point.drawHeight = c.Get(4);
            point.cellVariant = c.U16();
            point.x = c.U16();
            point.y = c.U16();
            point.marked = c.U8();
            point.highlighted = c.U8();
            if (design.layoutPresent) {
                point.traced = c.U8();
                if (!LedRecords(records))
                    return Fail("truncated grid point");
                point.shapeSet = SharedSet(design, records, point.cellVariant);
            } else {
                point.shapeSet = point.cellVariant >= 1 && point.cellVariant <= 4
                                     ? point.cellVariant - 1U
                                     : SharedSet(design, {});
            }
        }
        return true;
    }

    ByteReader& m_in;
    const CodePage& m_codePage;
    std::string& m_error;
    std::unordered_map<std::string_view, std::uint32_t> m_sets;
    struct Recent
    {
        bool found = false;
        std::string_view key;
        std::uint32_t index = 0;
    };
    std::array<Recent, 5> m_recent{};
};

} // namespace

std::size_t LayoutSectionSizeHint(const LayoutDesign& design)
{
    std::size_t bytes = BulkBytes(design) + 1024 + design.background.bytes.size();
    for (const LightImage& image : design.images)
        bytes += image.bytes.size() + 64;
    return bytes;
}

bool WriteLayoutSection(const LayoutDesign& design, ByteWriter& out, const CodePage& codePage)
{
    // The driver file reserves the whole file from the size hint; no second reservation here.
    const std::size_t start = out.Size();
    if (!WriteLayoutBody(design, out, codePage)) {
        out.Truncate(start);
        return false;
    }
    return true;
}

namespace {

bool WriteLayoutBody(const LayoutDesign& design, ByteWriter& section, const CodePage& codePage)
{
    if (design.result.size() > kMaxU16 || design.images.size() > kMaxU16 ||
        design.points.size() > layoutarchive::kMaxPoints)
        return false;
    section.Ascii(layoutarchive::kMagic);
    WriteFlag(section, design.layoutPresent);
    if (design.layoutPresent) {
        section.U16(static_cast<std::uint16_t>(design.result.size()));
        for (const ChannelRow& entry : design.result) {
            if (entry.rows.size() > kMaxU16)
                return false;
            section.U16(entry.rowLength);
            section.U16(entry.index);
            section.U16(entry.pointsPerGroup);
            section.U16(static_cast<std::uint16_t>(entry.rows.size()));
            section.U8(entry.flag);
            for (const ScanRow& row : entry.rows) {
                // Every scan row holds exactly rowLength points; a longer one cannot be stored.
                if (row.points.size() > entry.rowLength)
                    return false;
                section.U16(row.tag);
                for (const TracedPoint& point : row.points)
                    WritePoint(section, point);
                for (std::size_t i = row.points.size(); i < entry.rowLength; ++i)
                    WritePoint(section, TracedPoint::Virtual());
            }
        }
    }
    for (std::uint8_t code : design.virtualCodes)
        section.U8(code);
    section.U16(static_cast<std::uint16_t>(design.images.size()));
    for (const LightImage& image : design.images)
        if (!WritePictureRecord(section, image, codePage))
            return false;
    if (!WritePictureRecord(section, design.background, codePage))
        return false;
    for (const auto& slot : design.cellSlots)
        if (!WriteLeds(section, slot))
            return false;
    return WritePoints(section, design);
}

} // namespace

bool ReadLayoutSection(ByteReader& in, LayoutDesign& design, const CodePage& codePage,
                       std::string& error)
{
    error.clear();
    return SectionReader(in, codePage, error).Read(design);
}

} // namespace md
