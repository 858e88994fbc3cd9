#include "core/driverfile/OutputMap.h"

#include "core/driverfile/DriverFileContents.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace md {

namespace {

/// The colour of an entry: the kind of its first real point, -1 when it has none.
int EntryColour(const ChannelRow& entry)
{
    for (const auto& row : entry.rows)
        for (const auto& point : row.points)
            if (point.kind != 4)
                return point.kind;
    return -1;
}

std::string XmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

} // namespace

OutputMap::OutputMap(const DriverFileContents& file)
{
    const auto& entries = file.layout.result;
    std::size_t channels = entries.empty() ? 1 : entries.size();
    const int first = entries.empty() ? -1 : EntryColour(entries[0]);
    for (std::size_t k = 1; k < entries.size(); ++k)
        if (EntryColour(entries[k]) == first) {
            channels = k;
            break;
        }
    m_width = file.moduleInfo.xPixels;
    m_height = file.moduleInfo.yPixels;
    for (const auto& point : file.layout.points) {
        m_width = std::max(m_width, point.x + 1);
        m_height = std::max(m_height, point.y + 1);
    }
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const auto& entry = entries[e];
        for (std::size_t r = 0; r < entry.rows.size(); ++r) {
            const auto& points = entry.rows[r].points;
            for (std::size_t p = 0; p < points.size(); ++p) {
                Record record;
                record.group = static_cast<int>(e / channels);
                record.channel = static_cast<int>(e % channels);
                record.scanRow = static_cast<int>(r);
                record.position = static_cast<int>(p + 1);
                record.x = points[p].x;
                record.y = points[p].y;
                record.kind = points[p].kind;
                record.rowLength = entry.rowLength;
                record.scanRows = static_cast<int>(entry.rows.size());
                m_records.push_back(record);
            }
        }
    }
}

long OutputMap::WireIndex(const Record& record)
{
    return (static_cast<long>(record.group) * record.scanRows + record.scanRow) * record.rowLength +
           record.position - 1;
}

std::string OutputMap::Csv() const
{
    std::string out = "group,channel,scanRow,position,x,y,kind\n";
    for (const auto& r : m_records)
        out += std::to_string(r.group) + "," + std::to_string(r.channel) + "," +
               std::to_string(r.scanRow) + "," + std::to_string(r.position) + "," +
               std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.kind) +
               "\n";
    return out;
}

std::string OutputMap::Json() const
{
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    for (const auto& r : m_records)
        json.push_back({{"group", r.group},
                        {"channel", r.channel},
                        {"scanRow", r.scanRow},
                        {"position", r.position},
                        {"x", r.x},
                        {"y", r.y},
                        {"kind", r.kind}});
    return json.dump() + "\n";
}

std::vector<long> OutputMap::PixelIndices() const
{
    if (TooLarge())
        return {};
    std::vector<long> map(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height),
                          -1);
    for (const auto& r : m_records) {
        if (r.channel != 0 || r.kind == 4 || r.x >= m_width || r.y >= m_height)
            continue;
        long& cell = map[static_cast<std::size_t>(r.y) * m_width + r.x];
        // Several outputs on one pixel: the first on the wire wins.
        const long index = WireIndex(r);
        if (cell < 0 || index < cell)
            cell = index;
    }
    return map;
}

std::string OutputMap::Wled() const
{
    if (TooLarge())
        return {};
    std::string out = "{\"map\":[";
    const auto map = PixelIndices();
    for (std::size_t i = 0; i < map.size(); ++i) {
        if (i > 0)
            out.push_back(',');
        out += std::to_string(map[i]);
    }
    out += "],\"width\":" + std::to_string(m_width) + ",\"height\":" + std::to_string(m_height) +
           "}\n";
    return out;
}

std::string OutputMap::CppHeader(const std::string& name) const
{
    if (TooLarge())
        return {};
    const auto pixels = PixelIndices();
    long wires = 0;
    for (const auto& r : m_records)
        if (r.channel == 0)
            wires = std::max(wires, WireIndex(r) + 1);
    std::vector<long> wireToPixel(static_cast<std::size_t>(wires), -1);
    for (std::size_t pixel = 0; pixel < pixels.size(); ++pixel)
        if (pixels[pixel] >= 0)
            wireToPixel[static_cast<std::size_t>(pixels[pixel])] = static_cast<long>(pixel);
    // A name becomes a comment only: anything but printable ASCII is left out.
    std::string comment;
    for (char c : name)
        if (c >= 0x20 && c < 0x7F && c != '\\')
            comment.push_back(c);
    const auto table = [](const std::vector<long>& values, std::size_t perLine) {
        std::string out;
        for (std::size_t i = 0; i < values.size(); ++i) {
            out += i % perLine == 0 ? "\n    " : " ";
            out += std::to_string(values[i]) + ",";
        }
        return out + "\n";
    };
    const std::string w = std::to_string(m_width), h = std::to_string(m_height);
    std::string out;
    out += "// The output order of LED module \"" + comment + "\" (" + w + " x " + h +
           " pixels), written by mdrtool export-map.\n";
    out += "// Wire index: the position of a pixel's LED on the module's chain, from 0.\n";
    out += "#pragma once\n\n#include <cstdint>\n\nnamespace led_module_map {\n\n";
    out += "inline constexpr int kWidth = " + w + ";\n";
    out += "inline constexpr int kHeight = " + h + ";\n";
    out += "inline constexpr int kWireCount = " + std::to_string(std::max(wires, 1L)) + ";\n\n";
    out += "// Wire index of pixel (x, y) at [y * kWidth + x]; -1 where no LED is wired.\n";
    out += "inline constexpr std::int32_t kPixelToWire[kWidth * kHeight] = {" +
           table(pixels, static_cast<std::size_t>(std::max(m_width, 1))) + "};\n\n";
    out += "// Pixel (y * kWidth + x) of each wire index; -1 for a position without a pixel.\n";
    out += "inline constexpr std::int32_t kWireToPixel[kWireCount] = {" +
           table(wires > 0 ? wireToPixel : std::vector<long>{-1}, 16) + "};\n\n";
    out +=
        "// The wire index of pixel (x, y), or -1 outside the module or where no LED is wired.\n";
    out += "constexpr std::int32_t WireIndex(int x, int y) { return x >= 0 && y >= 0 && x < kWidth "
           "&& y < kHeight ? kPixelToWire[y * kWidth + x] : -1; }\n\n";
    out += "} // namespace led_module_map\n";
    return out;
}

std::string OutputMap::XLights(const std::string& name) const
{
    if (TooLarge())
        return {};
    const auto map = PixelIndices();
    std::string cells;
    for (int y = 0; y < m_height; ++y) {
        if (y > 0)
            cells.push_back(';');
        for (int x = 0; x < m_width; ++x) {
            if (x > 0)
                cells.push_back(',');
            const long index = map[static_cast<std::size_t>(y) * m_width + x];
            if (index >= 0)
                cells += std::to_string(index + 1);
        }
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<custommodel name=\"" + XmlEscape(name) +
           "\" parm1=\"" + std::to_string(m_width) + "\" parm2=\"" + std::to_string(m_height) +
           "\" Depth=\"1\" CustomModel=\"" + cells + "\"/>\n";
}

} // namespace md
