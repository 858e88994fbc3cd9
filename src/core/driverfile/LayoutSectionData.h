#pragma once

#include "design/CellLed.h"
#include "design/LightImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace md {

class ByteReader;
class ByteWriter;
class CodePage;

/// The layout section of a driver file as plain data, independent of the layout grid: the
/// traced output chains, the cell design copy and the grid points. The command-line tool reads
/// files through it and tests build files with it.
struct LayoutSectionData
{
    static constexpr std::string_view kId = "D4494FB0-8153-45de-9A42-02BE9D74F86B";
    static constexpr std::size_t kMaxGridPoints = 65535;

    struct Point
    {
        std::uint16_t x = 0;
        std::uint16_t y = 0;
        std::uint16_t kind = 0; ///< colour channel 0..2, 4 for a virtual point
        std::uint32_t colourCode = 0;
        std::uint16_t spare1 = 0;
        std::uint16_t spare2 = 0;
        std::uint16_t cellVariant = 0;
        std::uint16_t ordinal = 0;
        std::uint16_t channelIndex = 0;
        std::uint16_t rowTag = 0;
        bool operator==(const Point&) const = default;
    };
    struct Row
    {
        std::uint16_t tag = 0;
        std::vector<Point> points; ///< rowLength points in output order
        bool operator==(const Row&) const = default;
    };
    /// One data group and colour channel: its scan rows.
    struct Entry
    {
        std::uint16_t rowLength = 0;
        std::uint16_t index = 0;
        std::uint16_t pointsPerGroup = 0;
        std::uint8_t flag = 0;
        std::vector<Row> rows;
        bool operator==(const Entry&) const = default;
    };
    struct GridPoint
    {
        std::uint32_t drawWidth = 64;
        std::uint32_t drawHeight = 64;
        std::uint16_t cellVariant = 1;
        std::uint16_t x = 0;
        std::uint16_t y = 0;
        std::uint8_t marked = 0;
        std::uint8_t highlighted = 0;
        std::uint8_t traced = 0;   ///< stored only when the layout is present
        std::vector<CellLed> leds; ///< stored only when the layout is present
        bool operator==(const GridPoint&) const = default;
    };

    bool present = false;
    std::vector<Entry> entries;
    std::array<std::uint8_t, 3> virtualCodes{};
    std::vector<LightImage> images;
    LightImage background{0, LightImage::kBackgroundId, {}, {}};
    std::array<std::vector<CellLed>, 4> cellSlots;
    std::vector<GridPoint> grid;

    /// Appends the section; false with a reason when a count does not fit its field (more than
    /// 65535 grid points, entries, rows or LEDs) or a row does not hold rowLength points.
    bool Write(ByteWriter& out, const CodePage& codePage, std::string& error) const;
    /// Reads the section; every count is checked against the bytes left before use.
    bool Read(ByteReader& in, const CodePage& codePage, std::string& error);

    bool operator==(const LayoutSectionData&) const = default;
};

} // namespace md
