#include "driverfile/LayoutSectionData.h"

#include "io/ByteReader.h"
#include "io/ByteWriter.h"
#include "platform/CodePage.h"

#include <limits>

namespace md {

namespace {

constexpr std::size_t kCellLedSize = 11 * 2 + 3 + 4;
constexpr std::size_t kPointSize = 3 * 2 + 4 + 2 * 2 + 5 * 2;
constexpr std::size_t kMinGridPointSize = 4 + 4 + 3 * 2 + 2;
constexpr std::size_t kU16Max = std::numeric_limits<std::uint16_t>::max();

void WriteLed(ByteWriter& out, const CellLed& led)
{
    for (std::uint16_t v : {led.widthTenthMm, led.heightTenthMm, led.widthPx, led.heightPx,
                            led.index, led.colour, led.x, led.y, led.group, led.code, led.imageId})
        out.U16(v);
    out.U8(led.active ? 1 : 0);
    out.U8(led.selected ? 1 : 0);
    out.U8(led.showInfo ? 1 : 0);
    out.U32(static_cast<std::uint32_t>(led.decompositionMode));
}

bool ReadLed(ByteReader& in, CellLed& led)
{
    std::uint32_t mode = 0;
    for (std::uint16_t* v :
         {&led.widthTenthMm, &led.heightTenthMm, &led.widthPx, &led.heightPx, &led.index,
          &led.colour, &led.x, &led.y, &led.group, &led.code, &led.imageId})
        in.U16(*v);
    in.U8(led.active);
    in.U8(led.selected);
    in.U8(led.showInfo);
    in.U32(mode);
    led.decompositionMode = static_cast<std::int32_t>(mode);
    return in.Ok();
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

void ReadPoint(ByteReader& in, LayoutSectionData::Point& p)
{
    std::uint16_t ordinalAgain = 0;
    in.U16(p.x);
    in.U16(p.y);
    in.U16(p.kind);
    in.U32(p.colourCode);
    in.U16(p.spare1);
    in.U16(p.spare2);
    in.U16(p.cellVariant);
    in.U16(p.ordinal);
    in.U16(p.channelIndex);
    in.U16(p.rowTag);
    in.U16(ordinalAgain);
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
    out.U16(static_cast<std::uint16_t>(grid.size()));
    for (const auto& point : grid) {
        out.U32(point.drawWidth);
        out.U32(point.drawHeight);
        out.U16(point.cellVariant);
        out.U16(point.x);
        out.U16(point.y);
        out.U8(point.marked ? 1 : 0);
        out.U8(point.highlighted ? 1 : 0);
        if (present) {
            out.U8(point.traced ? 1 : 0);
            if (!WriteLeds(out, point.leds, error))
                return false;
        }
    }
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
