#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace md {

struct DriverFileContents;

/// The traced output order of a driver file, one record per output point, for use by other
/// LED tools. Group and channel are deduced from the layout entries: entries cycle through the
/// colour channels of one data group, so the channel count is the distance to the first entry
/// whose colour repeats that of the first entry.
class OutputMap
{
public:
    struct Record
    {
        int group = 0;    ///< data group, from 0
        int channel = 0;  ///< colour channel within the group, from 0
        int scanRow = 0;  ///< from 0
        int position = 0; ///< from 1, as on the wire
        int x = 0;
        int y = 0;
        int kind = 0; ///< colour 0..2, 4 for a virtual point
        int rowLength = 0;
        int scanRows = 0;
    };

    /// Pixel maps of more cells than this are refused (a damaged file can claim 65535 x 65535).
    static constexpr long kMaxCells = 1L << 20;

    explicit OutputMap(const DriverFileContents& file);

    /// Whether the module is too large for a pixel map (Wled, XLights and drawing refuse it).
    bool TooLarge() const { return static_cast<long>(m_width) * m_height > kMaxCells; }

    const std::vector<Record>& Records() const { return m_records; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    /// 0-based index on the wire of a channel-0 record.
    static long WireIndex(const Record& record);

    std::string Csv() const;
    std::string Json() const;
    /// {"map":[...],"width":W,"height":H}: wire index per pixel, -1 where nothing lands; empty
    /// when TooLarge().
    std::string Wled() const;
    /// A custom-model XML: rows from the top separated by ';', cells by ',', 1-based indices;
    /// empty when TooLarge().
    std::string XLights(const std::string& name) const;
    /// A self-contained C++17 header for a custom pixel mapper: the module's size, the wire
    /// index of every pixel, the pixel (y * width + x) of every wire index (-1 for none), and a
    /// lookup function; empty when TooLarge().
    std::string CppHeader(const std::string& name) const;

private:
    /// Wire index per pixel (row-major), -1 where no channel-0 output lands.
    std::vector<long> PixelIndices() const;

    std::vector<Record> m_records;
    int m_width = 0;
    int m_height = 0;
};

} // namespace md
