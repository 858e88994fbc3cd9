#pragma once

#include "core/layout/ChannelRow.h"
#include "core/layout/TracedPoint.h"
#include "core/layout/VirtualRun.h"
#include "core/parameters/ConnectorTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace md {

class LayoutModel;

/// The steps by which tracing deduces a whole module from its traced first scan row.
namespace deduction {

/// The module edge the first scan row runs along; the values are the edge case numbers.
enum class Edge
{
    Top = 0,
    Bottom = 1,
    Right = 2,
    Left = 3
};

/// The edge whose two corners the row joins (first match in the order top, bottom, right,
/// left), or nothing when the row joins no two corners of one edge.
std::optional<Edge> FindEdge(const std::vector<TracedPoint>& row, std::uint32_t width,
                             std::uint32_t height);
/// Pixel rows (top, bottom) or columns (right, left) the row covers.
std::uint32_t Span(const std::vector<TracedPoint>& row, Edge edge);

/// The pixel grid the points move on.
struct Grid
{
    const LayoutModel& model;
    std::uint32_t width;
    std::uint32_t height;
};

/// A copy of a scan row moved by (dx, dy); virtual points stay. False when a point leaves the
/// grid.
bool Translate(const ScanRow& row, std::int64_t dx, std::int64_t dy, const Grid& grid,
               ScanRow& out);

/// Appends scan rows 1 ... scanRows - 1 to every channel row. Without starts (tracing mode 1)
/// scan row k is the first one moved k pixels towards the interior. With starts (tracing
/// mode 2) scan row k is the first one moved across the scan direction by the k-th start minus
/// the first row's first point, so that rows beginning inside the module are deduced too.
bool DeduceScanRows(std::vector<ChannelRow>& rows, Edge edge, std::uint16_t scanRows,
                    const std::vector<TracedPoint>* starts, const Grid& grid);

/// Runs of consecutive virtual entries of the first-row list.
std::vector<VirtualRun> VirtualRunsOf(const std::vector<TracedPoint>& firstRow);
/// New counts on every entry and point, then each run inserted into every scan row.
void InsertVirtualRuns(std::vector<ChannelRow>& rows, const std::vector<VirtualRun>& runs,
                       std::uint16_t rowLength, std::uint16_t pointsPerGroup);

/// Appends data groups 1 ... groups - 1, each group 0 moved by scanRows x s x span pixels
/// towards the interior. False when a point leaves the grid.
bool ExpandDataGroups(std::vector<ChannelRow>& rows, Edge edge, std::uint16_t groups,
                      std::uint16_t scanRows, std::uint32_t span, const Grid& grid);

/// Replaces every point by its copies over the connector table, in the order of the slots.
void ExpandMultiClock(std::vector<ChannelRow>& rows, const ConnectorTable& table,
                      std::uint32_t width, std::uint32_t height, const LayoutModel& model);

/// Block size of a three-colour series data-line type, 0 for separate colour lines.
std::uint32_t SeriesBlock(std::uint16_t dataLineType);
/// Merges every three entries into one series line carrying blocks of N points of each colour.
std::vector<ChannelRow> RegroupSeries(const std::vector<ChannelRow>& rows,
                                      std::uint16_t dataLineType);

/// Moves the points of a result into the doubled grid of virtual pixels (2 x 2 LEDs driven as
/// one pixel with two red LEDs). Only with exactly two red channels and one of the four known
/// code arrangements; otherwise the points keep their positions.
void MapVirtualPixels(std::vector<ChannelRow>& rows, const std::vector<std::uint16_t>& colours,
                      const std::array<std::uint32_t, 3>& codes);

} // namespace deduction
} // namespace md
