#include "core/driverfile/FileInspector.h"

#include "core/driverfile/CombinedFileContents.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/driverfile/HubFile.h"
#include "core/driverfile/SocketFile.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/ByteReader.h"
#include "core/io/Utf.h"

#include <nlohmann/json.hpp>

#include <cstring>
#include <memory>

namespace md {

using Json = nlohmann::ordered_json;

// The records as JSON objects, members in the order the files hold them. Internal linkage in
// namespace md, so that nlohmann finds them by argument-dependent lookup.

static void to_json(Json& json, const NewModuleInfoRecord::Chip& chip)
{
    json = {{"name", utf::ToUtf8(chip.name)},
            {"kind", chip.kind},
            {"chipType", chip.chipType},
            {"value", chip.value}};
}

static void to_json(Json& json, const LightImage& image)
{
    json = {{"used", image.used},
            {"id", image.id},
            {"name", utf::ToUtf8(image.name)},
            {"length", image.Length()}};
}

static void to_json(Json& json, const CellLed& led)
{
    json = {{"widthTenthMm", led.widthTenthMm},
            {"heightTenthMm", led.heightTenthMm},
            {"widthPx", led.widthPx},
            {"heightPx", led.heightPx},
            {"index", led.index},
            {"colour", led.colour},
            {"x", led.x},
            {"y", led.y},
            {"group", led.group},
            {"code", led.code},
            {"imageId", led.imageId},
            {"active", led.active},
            {"selected", led.selected},
            {"showInfo", led.showInfo},
            {"decompositionMode", led.decompositionMode}};
}

static void to_json(Json& json, const TracedPoint& p)
{
    json = {{"x", p.x},
            {"y", p.y},
            {"kind", p.kind},
            {"colourCode", p.colourCode},
            {"cellVariant", p.cellVariant},
            {"ordinal", p.ordinal},
            {"channelIndex", p.channelIndex},
            {"rowTag", p.rowTag}};
}

static void to_json(Json& json, const ScanRow& row)
{
    json = {{"tag", row.tag}, {"points", row.points}};
}

static void to_json(Json& json, const ChannelRow& entry)
{
    json = {{"index", entry.index},
            {"rowLength", entry.rowLength},
            {"pointsPerGroup", entry.pointsPerGroup},
            {"flag", entry.flag},
            {"rows", entry.rows}};
}

static void to_json(Json& json, const LayoutDesign& layout)
{
    json = {{"present", layout.layoutPresent},     {"entries", layout.result},
            {"virtualCodes", layout.virtualCodes}, {"images", layout.images},
            {"cellSlots", layout.cellSlots},       {"gridPoints", layout.points.size()}};
}

static void to_json(Json& json, const VersionWords& version)
{
    json = Json::array({version.major, version.minor, version.build});
}

static void to_json(Json& json, const BackgroundDesign::Point& point)
{
    json = Json::array({point.x, point.y});
}

static void to_json(Json& json, const CombinedFileContents::Extension& e)
{
    json = {{"xPixels", e.xPixels},
            {"yPixels", e.yPixels},
            {"driverPolarity", e.driverPolarity},
            {"scanPolarity", e.scanPolarity},
            {"dataGroups", e.dataGroups},
            {"virtualPosition", e.virtualPosition},
            {"virtualLength", e.virtualLength},
            {"scanRows", e.scanRows},
            {"ledUnit", e.ledUnit}};
}

static void to_json(Json& json, const CombinedFileContents::Trailer& t)
{
    json = {{"rowDischarge", t.rowDischarge},
            {"dataGrouping", t.dataGrouping},
            {"dataLineType", t.dataLineType},
            {"multiClock", t.multiClock}};
}

namespace {

/// The socket's pin count, scan rows and codes as members of an object being built.
void AddCodes(Json& json, const SocketDesign& socket)
{
    json["pinCount"] = socket.PinCount();
    json["scanRows"] = socket.ScanRows();
    Json codes = Json::array();
    for (const auto& pin : socket.Pins())
        codes.push_back(pin.code);
    json["codes"] = std::move(codes);
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
    Json described;
    if (!WriteAny(bytes, described, error))
        return false;
    // Compact, key order as built; a name that is not valid UTF-8 gets U+FFFD, never a throw.
    json = described.dump(-1, ' ', false, Json::error_handler_t::replace);
    return true;
}

bool FileInspector::WriteAny(std::span<const std::uint8_t> bytes, Json& json,
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
    error = kUnknownKind;
    return false;
}

bool FileInspector::WriteDriver(std::span<const std::uint8_t> bytes, Json& json,
                                std::string& error) const
{
    auto file = std::make_unique<DriverFileContents>();
    if (!file->Parse(bytes, m_codePage, error))
        return false;
    const auto& info = file->moduleInfo;
    Json socket = Json::object();
    AddCodes(socket, file->socket);
    const auto& background = file->background;
    json = {{"kind", "MDR"},
            {"version", file->version},
            {"sectionTable", file->sectionTable},
            {"identity", file->identity},
            {"moduleInfo",
             {{"pinCount", info.pinCount},
              {"scanRows", info.scanRows},
              {"xPixels", info.xPixels},
              {"yPixels", info.yPixels},
              {"name", utf::ToUtf8(info.ModuleName())},
              {"driverChip", info.driverChip},
              {"scanChip", info.scanChip}}},
            {"socket", std::move(socket)},
            {"layout", file->layout},
            {"background",
             {{"point1", background.Point1()},
              {"point2", background.Point2()},
              {"picture", background.Picture()}}}};
    return true;
}

bool FileInspector::WriteCombined(std::span<const std::uint8_t> bytes, Json& json,
                                  std::string& error) const
{
    CombinedFileContents file;
    if (!file.Parse(bytes, m_codePage, error))
        return false;
    json = {{"kind", "MHR"}};
    for (const auto* entry : {&file.driver, &file.hub}) {
        const char* what = entry == &file.driver ? "driver" : "hub";
        Json inner;
        std::string problem;
        if (!WriteAny(entry->bytes, inner, problem)) {
            error = std::string(what) + " entry: " + problem;
            return false;
        }
        json[what] = {{"name", utf::ToUtf8(entry->name)},
                      {"length", entry->bytes.size()},
                      {"file", std::move(inner)}};
    }
    json["extension"] = file.extension ? Json(*file.extension) : Json(nullptr);
    json["trailer"] = file.trailer ? Json(*file.trailer) : Json(nullptr);
    return true;
}

bool FileInspector::WriteSocketFile(std::span<const std::uint8_t> bytes, Json& json,
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
    json = {{"kind", "MJK"}, {"version", version}};
    AddCodes(json, socket);
    return true;
}

bool FileInspector::WriteHub(std::span<const std::uint8_t> bytes, Json& json,
                             std::string& error) const
{
    HubFile file;
    if (!file.Parse(bytes, error))
        return false;
    Json pins = Json::array();
    for (std::size_t i = 0; i < file.pins.size(); ++i)
        pins.push_back({{"index", i}, {"code", file.pins[i].code}});
    json = {{"kind", "HDR"}, {"pins", std::move(pins)}};
    return true;
}

} // namespace md
