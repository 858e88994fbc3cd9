#include "layout/LayoutArchive.h"

#include "io/ByteReader.h"
#include "io/ByteWriter.h"
#include "layout/LayoutModel.h"
#include "platform/CodePage.h"

#include <limits>
#include <string>
#include <unordered_map>

namespace md {

namespace {

constexpr std::size_t kTracedPointBytes = 24;
constexpr std::size_t kCellLedBytes = 29;
constexpr std::size_t kGridPointBytes = 16;
constexpr std::uint32_t kMaxU16 = std::numeric_limits<std::uint16_t>::max();

void WriteFlag(ByteWriter& out, bool value)
{
    out.U8(value ? 1 : 0);
}

/// False when the picture's name or bytes do not fit their length fields.
bool WriteImage(ByteWriter& out, const LightImage& image, const CodePage& codePage)
{
    const std::string name = codePage.FromUtf16(image.name);
    if (name.size() > kMaxU16 || image.bytes.size() > std::numeric_limits<std::uint32_t>::max())
        return false;
    out.U16(image.used);
    out.U16(image.id);
    out.U16(static_cast<std::uint16_t>(name.size()));
    out.Ascii(name);
    out.U32(image.Length());
    out.Bytes(image.bytes);
    return true;
}

void WriteLed(ByteWriter& out, const CellLed& led)
{
    for (std::uint16_t value :
         {led.widthTenthMm, led.heightTenthMm, led.widthPx, led.heightPx, led.index, led.colour,
          led.x, led.y, led.group, led.code, led.imageId})
        out.U16(value);
    out.U8(led.active);
    out.U8(led.selected);
    out.U8(led.showInfo);
    out.U32(static_cast<std::uint32_t>(led.decompositionMode));
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

void WritePoint(ByteWriter& out, const TracedPoint& p)
{
    out.U16(p.x);
    out.U16(p.y);
    out.U16(p.kind);
    out.U32(p.colourCode);
    out.U16(p.spare1);
    out.U16(p.spare2);
    out.U16(p.cellVariant);
    out.U16(p.ordinal);
    out.U16(p.channelIndex);
    out.U16(p.rowTag);
    out.U16(p.ordinal);
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
        for (auto& slot : design.cellSlots)
            if (!Leds(slot))
                return false;
        // Shape sets 0 to 3 are always the cell slots' lists.
        for (const auto& slot : design.cellSlots) {
            m_sets.try_emplace(KeyOf(slot), static_cast<std::uint32_t>(design.shapeSets.size()));
            design.shapeSets.push_back(slot);
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

    bool Led(CellLed& led)
    {
        std::uint32_t mode = 0;
        for (std::uint16_t* value :
             {&led.widthTenthMm, &led.heightTenthMm, &led.widthPx, &led.heightPx, &led.index,
              &led.colour, &led.x, &led.y, &led.group, &led.code, &led.imageId})
            m_in.U16(*value);
        if (!m_in.U8(led.active) || !m_in.U8(led.selected) || !m_in.U8(led.showInfo) ||
            !m_in.U32(mode))
            return Fail("truncated LED");
        led.decompositionMode = static_cast<std::int32_t>(mode);
        return true;
    }

    bool Leds(std::vector<CellLed>& leds)
    {
        std::uint16_t count = 0;
        if (!m_in.U16(count) || !m_in.CanHold(count, kCellLedBytes))
            return Fail("bad LED count");
        leds.resize(count);
        for (CellLed& led : leds)
            if (!Led(led))
                return false;
        return true;
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
                m_in.U16(row.tag);
                row.points.resize(entry.rowLength);
                for (TracedPoint& p : row.points) {
                    std::uint16_t again = 0;
                    m_in.U16(p.x);
                    m_in.U16(p.y);
                    m_in.U16(p.kind);
                    m_in.U32(p.colourCode);
                    m_in.U16(p.spare1);
                    m_in.U16(p.spare2);
                    m_in.U16(p.cellVariant);
                    m_in.U16(p.ordinal);
                    m_in.U16(p.channelIndex);
                    m_in.U16(p.rowTag);
                    m_in.U16(again);
                }
                if (!m_in.Ok())
                    return Fail("truncated scan row");
            }
        }
        return true;
    }

    /// The index of an equal shape set, added when there is none; keyed by the stored bytes.
    static std::string KeyOf(const std::vector<CellLed>& leds)
    {
        ByteWriter key;
        WriteLeds(key, leds);
        return std::string(key.Data().begin(), key.Data().end());
    }

    std::uint32_t SharedSet(LayoutDesign& design, const std::vector<CellLed>& leds)
    {
        const auto [it, added] =
            m_sets.try_emplace(KeyOf(leds), static_cast<std::uint32_t>(design.shapeSets.size()));
        if (added)
            design.shapeSets.push_back(leds);
        return it->second;
    }

    bool Points(LayoutDesign& design)
    {
        std::uint16_t count = 0;
        if (!m_in.U16(count) || !m_in.CanHold(count, kGridPointBytes))
            return Fail("bad grid point count");
        design.points.resize(count);
        std::vector<CellLed> leds;
        for (ArchivedPoint& point : design.points) {
            if (!m_in.U32(point.drawWidth) || !m_in.U32(point.drawHeight) ||
                !m_in.U16(point.cellVariant) || !m_in.U16(point.x) || !m_in.U16(point.y) ||
                !m_in.U8(point.marked) || !m_in.U8(point.highlighted))
                return Fail("truncated grid point");
            if (design.layoutPresent) {
                if (!m_in.U8(point.traced) || !Leds(leds))
                    return Fail("truncated grid point");
                point.shapeSet = SharedSet(design, leds);
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
    std::unordered_map<std::string, std::uint32_t> m_sets;
};

} // namespace

bool WriteLayoutSection(const LayoutDesign& design, ByteWriter& out, const CodePage& codePage)
{
    if (design.result.size() > kMaxU16 || design.images.size() > kMaxU16 ||
        design.points.size() > layoutarchive::kMaxPoints)
        return false;
    ByteWriter section;
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
        if (!WriteImage(section, image, codePage))
            return false;
    if (!WriteImage(section, design.background, codePage))
        return false;
    for (const auto& slot : design.cellSlots)
        if (!WriteLeds(section, slot))
            return false;
    section.U16(static_cast<std::uint16_t>(design.points.size()));
    for (const ArchivedPoint& point : design.points) {
        section.U32(point.drawWidth);
        section.U32(point.drawHeight);
        section.U16(point.cellVariant);
        section.U16(point.x);
        section.U16(point.y);
        section.U8(point.marked);
        section.U8(point.highlighted);
        if (design.layoutPresent) {
            section.U8(point.traced);
            if (!WriteLeds(section, design.ShapesOf(point)))
                return false;
        }
    }
    out.Bytes(section.Data());
    return true;
}

bool ReadLayoutSection(ByteReader& in, LayoutDesign& design, const CodePage& codePage,
                       std::string& error)
{
    error.clear();
    return SectionReader(in, codePage, error).Read(design);
}

} // namespace md
