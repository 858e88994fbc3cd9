#include "driverfile/FileInspector.h"

#include "design/SocketFile.h"
#include "design/SocketSection.h"
#include "driverfile/CombinedFileContents.h"
#include "driverfile/DriverFileContents.h"
#include "driverfile/HubFile.h"
#include "io/ByteReader.h"
#include "io/JsonWriter.h"
#include "io/Utf.h"

#include <cstring>
#include <memory>

namespace md {

namespace {

void Chip(JsonWriter& json, const NewModuleInfoRecord::Chip& chip)
{
    json.BeginObject()
        .Field("name", utf::ToUtf8(chip.name))
        .Field("kind", chip.kind)
        .Field("chipType", chip.chipType)
        .Field("value", chip.value)
        .EndObject();
}

void Picture(JsonWriter& json, const LightImage& image)
{
    json.BeginObject()
        .Field("used", image.used)
        .Field("id", image.id)
        .Field("name", utf::ToUtf8(image.name))
        .Field("length", image.Length())
        .EndObject();
}

void Led(JsonWriter& json, const CellLed& led)
{
    json.BeginObject()
        .Field("widthTenthMm", led.widthTenthMm)
        .Field("heightTenthMm", led.heightTenthMm)
        .Field("widthPx", led.widthPx)
        .Field("heightPx", led.heightPx)
        .Field("index", led.index)
        .Field("colour", led.colour)
        .Field("x", led.x)
        .Field("y", led.y)
        .Field("group", led.group)
        .Field("code", led.code)
        .Field("imageId", led.imageId)
        .Field("active", led.active)
        .Field("selected", led.selected)
        .Field("showInfo", led.showInfo)
        .Field("decompositionMode", led.decompositionMode)
        .EndObject();
}

void Layout(JsonWriter& json, const LayoutDesign& layout)
{
    json.BeginObject().Key("present").Bool(layout.layoutPresent).Key("entries").BeginArray();
    for (const auto& entry : layout.result) {
        json.BeginObject()
            .Field("index", entry.index)
            .Field("rowLength", entry.rowLength)
            .Field("pointsPerGroup", entry.pointsPerGroup)
            .Field("flag", entry.flag)
            .Key("rows")
            .BeginArray();
        for (const auto& row : entry.rows) {
            json.BeginObject().Field("tag", row.tag).Key("points").BeginArray();
            for (const auto& p : row.points)
                json.BeginObject()
                    .Field("x", p.x)
                    .Field("y", p.y)
                    .Field("kind", p.kind)
                    .Field("colourCode", p.colourCode)
                    .Field("cellVariant", p.cellVariant)
                    .Field("ordinal", p.ordinal)
                    .Field("channelIndex", p.channelIndex)
                    .Field("rowTag", p.rowTag)
                    .EndObject();
            json.EndArray().EndObject();
        }
        json.EndArray().EndObject();
    }
    json.EndArray().Key("virtualCodes").BeginArray();
    for (std::uint8_t code : layout.virtualCodes)
        json.Int(code);
    json.EndArray().Key("images").BeginArray();
    for (const auto& image : layout.images)
        Picture(json, image);
    json.EndArray().Key("cellSlots").BeginArray();
    for (const auto& slot : layout.cellSlots) {
        json.BeginArray();
        for (const auto& led : slot)
            Led(json, led);
        json.EndArray();
    }
    json.EndArray().Field("gridPoints", static_cast<std::int64_t>(layout.points.size()));
    json.EndObject();
}

void Version(JsonWriter& json, const VersionWords& version)
{
    json.Key("version").BeginArray().Int(version.major).Int(version.minor).Int(version.build);
    json.EndArray();
}

void Codes(JsonWriter& json, const SocketDesign& socket)
{
    json.Field("pinCount", socket.PinCount()).Field("scanRows", socket.ScanRows());
    json.Key("codes").BeginArray();
    for (const auto& pin : socket.Pins())
        json.Int(pin.code);
    json.EndArray();
}

} // namespace

std::string FileInspector::Kind(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4)
        return {};
    const std::string mark(reinterpret_cast<const char*>(bytes.data()), 4);
    if (mark == DriverFile::kMark)
        return "MDR";
    if (mark == CombinedFileContents::kMark)
        return "MHR";
    if (mark == SocketFile::kMark)
        return "MJK";
    if (mark == HubFile::kMark)
        return "HDR";
    return {};
}

bool FileInspector::Describe(std::span<const std::uint8_t> bytes, std::string& json,
                             std::string& error) const
{
    JsonWriter writer;
    if (!WriteAny(bytes, writer, error))
        return false;
    json = writer.Text();
    return true;
}

bool FileInspector::WriteAny(std::span<const std::uint8_t> bytes, JsonWriter& json,
                             std::string& error) const
{
    const std::string kind = Kind(bytes);
    if (kind == "MDR")
        return WriteDriver(bytes, json, error);
    if (kind == "MHR")
        return WriteCombined(bytes, json, error);
    if (kind == "MJK")
        return WriteSocketFile(bytes, json, error);
    if (kind == "HDR")
        return WriteHub(bytes, json, error);
    error = "unknown file kind (no .MDR, .MHR, .MJK or .HDR mark at offset 0)";
    return false;
}

bool FileInspector::WriteDriver(std::span<const std::uint8_t> bytes, JsonWriter& json,
                                std::string& error) const
{
    auto file = std::make_unique<DriverFileContents>();
    if (!file->Parse(bytes, m_codePage, error))
        return false;
    const auto& info = file->moduleInfo;
    json.BeginObject().Field("kind", "MDR");
    Version(json, file->version);
    json.Key("sectionTable").BeginArray();
    for (std::uint64_t position : file->sectionTable)
        json.Int(static_cast<std::int64_t>(position));
    json.EndArray().Field("identity", file->identity);
    json.Key("moduleInfo")
        .BeginObject()
        .Field("pinCount", info.pinCount)
        .Field("scanRows", info.scanRows)
        .Field("xPixels", info.xPixels)
        .Field("yPixels", info.yPixels)
        .Field("name", utf::ToUtf8(info.ModuleName()))
        .Key("driverChip");
    Chip(json, info.driverChip);
    json.Key("scanChip");
    Chip(json, info.scanChip);
    json.EndObject().Key("socket").BeginObject();
    Codes(json, file->socket);
    json.EndObject().Key("layout");
    Layout(json, file->layout);
    const auto& background = file->background;
    json.Key("background")
        .BeginObject()
        .Key("point1")
        .BeginArray()
        .Int(background.Point1().x)
        .Int(background.Point1().y)
        .EndArray()
        .Key("point2")
        .BeginArray()
        .Int(background.Point2().x)
        .Int(background.Point2().y)
        .EndArray()
        .Key("picture");
    Picture(json, background.Picture());
    json.EndObject().EndObject();
    return true;
}

bool FileInspector::WriteCombined(std::span<const std::uint8_t> bytes, JsonWriter& json,
                                  std::string& error) const
{
    CombinedFileContents file;
    if (!file.Parse(bytes, m_codePage, error))
        return false;
    json.BeginObject().Field("kind", "MHR");
    for (const auto* entry : {&file.driver, &file.hub}) {
        const char* what = entry == &file.driver ? "driver" : "hub";
        json.Key(what)
            .BeginObject()
            .Field("name", utf::ToUtf8(entry->name))
            .Field("length", static_cast<std::int64_t>(entry->bytes.size()))
            .Key("file");
        std::string inner;
        if (!WriteAny(entry->bytes, json, inner)) {
            error = std::string(what) + " entry: " + inner;
            return false;
        }
        json.EndObject();
    }
    json.Key("extension");
    if (file.extension) {
        const auto& e = *file.extension;
        json.BeginObject()
            .Field("xPixels", e.xPixels)
            .Field("yPixels", e.yPixels)
            .Field("driverPolarity", e.driverPolarity)
            .Field("scanPolarity", e.scanPolarity)
            .Field("dataGroups", e.dataGroups)
            .Field("virtualPosition", e.virtualPosition)
            .Field("virtualLength", e.virtualLength)
            .Field("scanRows", e.scanRows)
            .Field("ledUnit", e.ledUnit)
            .EndObject();
    } else {
        json.Null();
    }
    json.Key("trailer");
    if (file.trailer) {
        const auto& t = *file.trailer;
        json.BeginObject()
            .Field("rowDischarge", t.rowDischarge)
            .Field("dataGrouping", t.dataGrouping)
            .Field("dataLineType", t.dataLineType)
            .Field("multiClock", t.multiClock)
            .EndObject();
    } else {
        json.Null();
    }
    json.EndObject();
    return true;
}

bool FileInspector::WriteSocketFile(std::span<const std::uint8_t> bytes, JsonWriter& json,
                                    std::string& error) const
{
    ByteReader in(bytes);
    VersionWords version;
    in.Skip(4);
    if (!in.U32(version.major) || !in.U32(version.minor) || !in.U32(version.build)) {
        error = "header at offset 4: truncated version words";
        return false;
    }
    SocketDesign socket;
    SocketSection section(socket, nullptr);
    if (!section.Read(in, error) || !in.Ok()) {
        error = "socket at offset 16: " + (error.empty() ? std::string("truncated") : error);
        return false;
    }
    if (in.Remaining() != 0) {
        error = "unexpected bytes at offset " + std::to_string(in.Offset());
        return false;
    }
    json.BeginObject().Field("kind", "MJK");
    Version(json, version);
    Codes(json, socket);
    json.EndObject();
    return true;
}

bool FileInspector::WriteHub(std::span<const std::uint8_t> bytes, JsonWriter& json,
                             std::string& error) const
{
    HubFile file;
    if (!file.Parse(bytes, error))
        return false;
    json.BeginObject().Field("kind", "HDR").Key("pins").BeginArray();
    for (std::size_t i = 0; i < file.pins.size(); ++i)
        json.BeginObject()
            .Field("index", static_cast<std::int64_t>(i))
            .Field("code", file.pins[i].code)
            .EndObject();
    json.EndArray().EndObject();
    return true;
}

} // namespace md
