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
        .Key("name")
        .String(utf::ToUtf8(chip.name))
        .Key("kind")
        .Int(chip.kind)
        .Key("chipType")
        .Int(chip.chipType)
        .Key("value")
        .Int(chip.value)
        .EndObject();
}

void Picture(JsonWriter& json, const LightImage& image)
{
    json.BeginObject()
        .Key("used")
        .Int(image.used)
        .Key("id")
        .Int(image.id)
        .Key("name")
        .String(utf::ToUtf8(image.name))
        .Key("length")
        .Int(image.Length())
        .EndObject();
}

void Led(JsonWriter& json, const CellLed& led)
{
    json.BeginObject()
        .Key("widthTenthMm")
        .Int(led.widthTenthMm)
        .Key("heightTenthMm")
        .Int(led.heightTenthMm)
        .Key("widthPx")
        .Int(led.widthPx)
        .Key("heightPx")
        .Int(led.heightPx)
        .Key("index")
        .Int(led.index)
        .Key("colour")
        .Int(led.colour)
        .Key("x")
        .Int(led.x)
        .Key("y")
        .Int(led.y)
        .Key("group")
        .Int(led.group)
        .Key("code")
        .Int(led.code)
        .Key("imageId")
        .Int(led.imageId)
        .Key("active")
        .Int(led.active)
        .Key("selected")
        .Int(led.selected)
        .Key("showInfo")
        .Int(led.showInfo)
        .Key("decompositionMode")
        .Int(led.decompositionMode)
        .EndObject();
}

void Layout(JsonWriter& json, const LayoutSectionData& layout)
{
    json.BeginObject().Key("present").Bool(layout.present).Key("entries").BeginArray();
    for (const auto& entry : layout.entries) {
        json.BeginObject()
            .Key("index")
            .Int(entry.index)
            .Key("rowLength")
            .Int(entry.rowLength)
            .Key("pointsPerGroup")
            .Int(entry.pointsPerGroup)
            .Key("flag")
            .Int(entry.flag)
            .Key("rows")
            .BeginArray();
        for (const auto& row : entry.rows) {
            json.BeginObject().Key("tag").Int(row.tag).Key("points").BeginArray();
            for (const auto& p : row.points)
                json.BeginObject()
                    .Key("x")
                    .Int(p.x)
                    .Key("y")
                    .Int(p.y)
                    .Key("kind")
                    .Int(p.kind)
                    .Key("colourCode")
                    .Int(p.colourCode)
                    .Key("cellVariant")
                    .Int(p.cellVariant)
                    .Key("ordinal")
                    .Int(p.ordinal)
                    .Key("channelIndex")
                    .Int(p.channelIndex)
                    .Key("rowTag")
                    .Int(p.rowTag)
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
    json.EndArray().Key("gridPoints").Int(static_cast<std::int64_t>(layout.grid.size()));
    json.EndObject();
}

void Version(JsonWriter& json, const VersionWords& version)
{
    json.Key("version").BeginArray().Int(version.major).Int(version.minor).Int(version.build);
    json.EndArray();
}

void Codes(JsonWriter& json, const SocketDesign& socket)
{
    json.Key("pinCount").Int(socket.PinCount()).Key("scanRows").Int(socket.ScanRows());
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
    json.BeginObject().Key("kind").String("MDR");
    Version(json, file->version);
    json.Key("sectionTable").BeginArray();
    for (std::uint64_t position : file->sectionTable)
        json.Int(static_cast<std::int64_t>(position));
    json.EndArray().Key("identity").String(file->identity);
    json.Key("moduleInfo")
        .BeginObject()
        .Key("pinCount")
        .Int(info.pinCount)
        .Key("scanRows")
        .Int(info.scanRows)
        .Key("xPixels")
        .Int(info.xPixels)
        .Key("yPixels")
        .Int(info.yPixels)
        .Key("name")
        .String(utf::ToUtf8(info.ModuleName()))
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
    json.BeginObject().Key("kind").String("MHR");
    for (const auto* entry : {&file.driver, &file.hub}) {
        const char* what = entry == &file.driver ? "driver" : "hub";
        json.Key(what)
            .BeginObject()
            .Key("name")
            .String(utf::ToUtf8(entry->name))
            .Key("length")
            .Int(static_cast<std::int64_t>(entry->bytes.size()))
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
            .Key("xPixels")
            .Int(e.xPixels)
            .Key("yPixels")
            .Int(e.yPixels)
            .Key("driverPolarity")
            .Int(e.driverPolarity)
            .Key("scanPolarity")
            .Int(e.scanPolarity)
            .Key("dataGroups")
            .Int(e.dataGroups)
            .Key("virtualPosition")
            .Int(e.virtualPosition)
            .Key("virtualLength")
            .Int(e.virtualLength)
            .Key("scanRows")
            .Int(e.scanRows)
            .Key("ledUnit")
            .Int(e.ledUnit)
            .EndObject();
    } else {
        json.Null();
    }
    json.Key("trailer");
    if (file.trailer) {
        const auto& t = *file.trailer;
        json.BeginObject()
            .Key("rowDischarge")
            .Int(t.rowDischarge)
            .Key("dataGrouping")
            .Int(t.dataGrouping)
            .Key("dataLineType")
            .Int(t.dataLineType)
            .Key("multiClock")
            .Int(t.multiClock)
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
    json.BeginObject().Key("kind").String("MJK");
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
    json.BeginObject().Key("kind").String("HDR").Key("pins").BeginArray();
    for (std::size_t i = 0; i < file.pins.size(); ++i)
        json.BeginObject()
            .Key("index")
            .Int(static_cast<std::int64_t>(i))
            .Key("code")
            .Int(file.pins[i].code)
            .EndObject();
    json.EndArray().EndObject();
    return true;
}

} // namespace md
