#include "driverfile/LayoutSectionData.h"

#include "io/ByteReader.h"
#include "io/ByteWriter.h"
#include "platform/CodePage.h"

#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <span>

namespace md {

namespace {

constexpr std::size_t kCellLedSize = 11 * 2 + 3 + 4;
constexpr std::size_t kPointSize = 3 * 2 + 4 + 2 * 2 + 5 * 2;
constexpr std::size_t kMinGridPointSize = 4 + 4 + 3 * 2 + 2;
constexpr std::size_t kU16Max = std::numeric_limits<std::uint16_t>::max();

/// Little-endian fields into a fixed record buffer; records go out in one append, which keeps
/// large grids (tens of thousands of LEDs) fast.
struct RecordBuffer
{
    std::array<std::uint8_t, 32> bytes{};
    std::size_t size = 0;
    void Put(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            bytes[size++] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    std::span<const std::uint8_t> Span() const { return {bytes.data(), size}; }
};

/// Reads fields from a record span taken whole from the reader.
struct RecordCursor
{
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
    std::uint32_t Get(int count)
    {
        std::uint32_t value = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&value, bytes.data() + at, static_cast<std::size_t>(count));
            at += static_cast<std::size_t>(count);
        } else {
            for (int i = 0; i < count; ++i)
                value |= std::uint32_t{bytes[at++]} << (8 * i);
        }
        return value;
    }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Get(2)); }
};

void WriteLed(ByteWriter& out, const CellLed& led)
{
    RecordBuffer record;
    for (std::uint16_t v : {led.widthTenthMm, led.heightTenthMm, led.widthPx, led.heightPx,
                            led.index, led.colour, led.x, led.y, led.group, led.code, led.imageId})
        record.Put(v, 2);
    record.Put(led.active ? 1 : 0, 1);
    record.Put(led.selected ? 1 : 0, 1);
    record.Put(led.showInfo ? 1 : 0, 1);
    record.Put(static_cast<std::uint32_t>(led.decompositionMode), 4);
    out.Bytes(record.Span());
}

bool ReadLed(ByteReader& in, CellLed& led)
{
    std::span<const std::uint8_t> bytes;
    if (!in.Bytes(kCellLedSize, bytes))
        return false;
    RecordCursor c{bytes};
    for (std::uint16_t* v :
         {&led.widthTenthMm, &led.heightTenthMm, &led.widthPx, &led.heightPx, &led.index,
          &led.colour, &led.x, &led.y, &led.group, &led.code, &led.imageId})
        *v = c.U16();
    led.active = static_cast<std::uint8_t>(c.Get(1));
    led.selected = static_cast<std::uint8_t>(c.Get(1));
    led.showInfo = static_cast<std::uint8_t>(c.Get(1));
    led.decompositionMode = static_cast<std::int32_t>(c.Get(4));
    return true;
}

bool WriteLeds(ByteWriter& out, const std::vector<CellLed>& leds, std::string& error)
{
    if (leds.size() > kU16Max) {
        error = "more than 65535 LEDs in one list";
        return false;
    }
    out.U16(static_cast<std::uint16_t>(leds.size()));
    for (const auto& led : leds)
        WriteLed(out, led);
    return true;
}

bool ReadLeds(ByteReader& in, std::vector<CellLed>& leds)
{
    std::uint16_t count = 0;
    if (!in.U16(count) || !in.CanHold(count, kCellLedSize))
        return false;
    leds.assign(count, CellLed{});
    for (auto& led : leds)
        if (!ReadLed(in, led))
            return false;
    return true;
}

bool WriteImage(ByteWriter& out, const LightImage& image, const CodePage& codePage,
                std::string& error)
{
    const std::string name = codePage.FromUtf16(image.name);
    if (name.size() > kU16Max || image.bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        error = "picture name or picture too long";
        return false;
    }
    out.U16(image.used);
    out.U16(image.id);
    out.U16(static_cast<std::uint16_t>(name.size()));
    out.Ascii(name);
    out.U32(image.Length());
    out.Bytes(image.bytes);
    return true;
}

bool ReadImage(ByteReader& in, LightImage& image, const CodePage& codePage, std::string& error)
{
    std::uint16_t nameLength = 0;
    std::span<const std::uint8_t> name;
    std::uint32_t length = 0;
    if (!in.U16(image.used) || !in.U16(image.id) || !in.U16(nameLength) ||
        !in.Bytes(nameLength, name) || !in.U32(length) || !in.Bytes(length, image.bytes)) {
        error = "truncated picture entry";
        return false;
    }
    auto decoded =
        codePage.ToUtf16(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
    if (!decoded) {
        error = "picture name not valid in code page " + codePage.Name();
        return false;
    }
    image.name = std::move(*decoded);
    return true;
}

void WritePoint(ByteWriter& out, const LayoutSectionData::Point& p)
{
    RecordBuffer record;
    record.Put(p.x, 2);
    record.Put(p.y, 2);
    record.Put(p.kind, 2);
    record.Put(p.colourCode, 4);
    for (std::uint16_t v :
         {p.spare1, p.spare2, p.cellVariant, p.ordinal, p.channelIndex, p.rowTag, p.ordinal})
        record.Put(v, 2);
    out.Bytes(record.Span());
}

void ReadPoint(ByteReader& in, LayoutSectionData::Point& p)
{
    std::span<const std::uint8_t> bytes;
    if (!in.Bytes(kPointSize, bytes))
        return;
    RecordCursor c{bytes};
    p.x = c.U16();
    p.y = c.U16();
    p.kind = c.U16();
    p.colourCode = c.Get(4);
    p.spare1 = c.U16();
    p.spare2 = c.U16();
    p.cellVariant = c.U16();
    p.ordinal = c.U16();
    p.channelIndex = c.U16();
    p.rowTag = c.U16();
}

} // namespace

bool LayoutSectionData::Write(ByteWriter& out, const CodePage& codePage, std::string& error) const
{
    if (grid.size() > kMaxGridPoints) {
        error = "grid of " + std::to_string(grid.size()) +
                " pixels exceeds the 65535 points a layout can store";
        return false;
    }
    if (entries.size() > kU16Max || images.size() > kU16Max) {
        error = "too many layout entries or pictures";
        return false;
    }
    out.Ascii(kId);
    out.U8(present ? 1 : 0);
    if (present) {
        out.U16(static_cast<std::uint16_t>(entries.size()));
        for (const auto& entry : entries) {
            if (entry.rows.size() > kU16Max) {
                error = "too many scan rows in a layout entry";
                return false;
            }
            out.U16(entry.rowLength);
            out.U16(entry.index);
            out.U16(entry.pointsPerGroup);
            out.U16(static_cast<std::uint16_t>(entry.rows.size()));
            out.U8(entry.flag ? 1 : 0);
            for (const auto& row : entry.rows) {
                if (row.points.size() != entry.rowLength) {
                    error = "a scan row does not hold rowLength points";
                    return false;
                }
                out.U16(row.tag);
                for (const auto& point : row.points)
                    WritePoint(out, point);
            }
        }
    }
    out.Bytes(virtualCodes);
    out.U16(static_cast<std::uint16_t>(images.size()));
    for (const auto& image : images)
        if (!WriteImage(out, image, codePage, error))
            return false;
    if (!WriteImage(out, background, codePage, error))
        return false;
    for (const auto& slot : cellSlots)
        if (!WriteLeds(out, slot, error))
            return false;
    // The grid is most of a large file: it is laid out in one buffer of its exact size and
    // appended at once.
    std::size_t gridBytes = 2;
    for (const auto& point : grid) {
        if (point.leds.size() > kU16Max) {
            error = "more than 65535 LEDs in one list";
            return false;
        }
        gridBytes += kMinGridPointSize + (present ? 3 + point.leds.size() * kCellLedSize : 0);
    }
    std::vector<std::uint8_t> buffer(gridBytes);
    std::uint8_t* at = buffer.data();
    auto put = [&at](std::uint32_t value, int count) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &value, static_cast<std::size_t>(count));
            at += count;
        } else {
            for (int i = 0; i < count; ++i)
                *at++ = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    put(static_cast<std::uint16_t>(grid.size()), 2);
    for (const auto& point : grid) {
        put(point.drawWidth, 4);
        put(point.drawHeight, 4);
        put(point.cellVariant, 2);
        put(point.x, 2);
        put(point.y, 2);
        put(point.marked ? 1 : 0, 1);
        put(point.highlighted ? 1 : 0, 1);
        if (!present)
            continue;
        put(point.traced ? 1 : 0, 1);
        put(static_cast<std::uint32_t>(point.leds.size()), 2);
        for (const auto& led : point.leds) {
            for (std::uint16_t v :
                 {led.widthTenthMm, led.heightTenthMm, led.widthPx, led.heightPx, led.index,
                  led.colour, led.x, led.y, led.group, led.code, led.imageId})
                put(v, 2);
            put(led.active ? 1 : 0, 1);
            put(led.selected ? 1 : 0, 1);
            put(led.showInfo ? 1 : 0, 1);
            put(static_cast<std::uint32_t>(led.decompositionMode), 4);
        }
    }
    out.Bytes(buffer);
    return true;
}

bool LayoutSectionData::Read(ByteReader& in, const CodePage& codePage, std::string& error)
{
    *this = LayoutSectionData{};
    if (!in.Expect(kId)) {
        error = "identifier mismatch";
        return false;
    }
    auto truncated = [&](const char* what) {
        error = std::string("truncated ") + what + " at offset " + std::to_string(in.Offset());
        return false;
    };
    std::uint8_t flag = 0;
    if (!in.U8(flag))
        return truncated("layout flag");
    present = flag != 0;
    if (present) {
        std::uint16_t count = 0;
        if (!in.U16(count) || !in.CanHold(count, 9))
            return truncated("layout entries");
        entries.resize(count);
        for (auto& entry : entries) {
            std::uint16_t rows = 0;
            in.U16(entry.rowLength);
            in.U16(entry.index);
            in.U16(entry.pointsPerGroup);
            in.U16(rows);
            in.U8(entry.flag);
            if (!in.CanHold(rows, 2 + std::size_t{entry.rowLength} * kPointSize))
                return truncated("scan rows");
            entry.rows.resize(rows);
            for (auto& row : entry.rows) {
                in.U16(row.tag);
                row.points.resize(entry.rowLength);
                for (auto& point : row.points)
                    ReadPoint(in, point);
            }
            if (!in.Ok())
                return truncated("traced points");
        }
    }
    std::uint16_t imageCount = 0;
    if (!in.U8(virtualCodes[0]) || !in.U8(virtualCodes[1]) || !in.U8(virtualCodes[2]) ||
        !in.U16(imageCount) || !in.CanHold(imageCount, 10))
        return truncated("picture list");
    images.resize(imageCount);
    for (auto& image : images)
        if (!ReadImage(in, image, codePage, error))
            return false;
    if (!ReadImage(in, background, codePage, error))
        return false;
    for (auto& slot : cellSlots)
        if (!ReadLeds(in, slot))
            return truncated("cell LEDs");
    std::uint16_t gridCount = 0;
    if (!in.U16(gridCount) || !in.CanHold(gridCount, kMinGridPointSize))
        return truncated("grid points");
    grid.resize(gridCount);
    for (auto& point : grid) {
        in.U32(point.drawWidth);
        in.U32(point.drawHeight);
        in.U16(point.cellVariant);
        in.U16(point.x);
        in.U16(point.y);
        in.U8(point.marked);
        in.U8(point.highlighted);
        if (present && (!in.U8(point.traced) || !ReadLeds(in, point.leds)))
            return truncated("grid point LEDs");
        if (!in.Ok())
            return truncated("grid points");
    }
    return true;
}

} // namespace md
