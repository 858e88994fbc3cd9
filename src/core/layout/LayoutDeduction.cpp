#include "core/layout/LayoutDeduction.h"

#include "core/layout/LayoutModel.h"

#include <algorithm>
#include <set>
#include <unordered_set>

namespace md::deduction {

namespace {

bool Contains(const std::unordered_set<std::uint32_t>& keys, std::uint32_t x, std::uint32_t y)
{
    return keys.count(LayoutModel::Key(x, y)) != 0;
}

/// Unit step towards the module's interior, across the scan direction.
void Inward(Edge edge, std::int64_t& dx, std::int64_t& dy)
{
    dx = dy = 0;
    switch (edge) {
    case Edge::Top:
        dy = 1;
        break;
    case Edge::Bottom:
        dy = -1;
        break;
    case Edge::Right:
        dx = -1;
        break;
    case Edge::Left:
        dx = 1;
        break;
    }
}

bool MovePoint(TracedPoint& point, std::int64_t dx, std::int64_t dy, const Grid& grid)
{
    if (point.IsVirtual())
        return true;
    const std::int64_t x = std::int64_t{point.x} + dx;
    const std::int64_t y = std::int64_t{point.y} + dy;
    if (x < 0 || y < 0 || x >= grid.width || y >= grid.height)
        return false;
    point.x = static_cast<std::uint16_t>(x);
    point.y = static_cast<std::uint16_t>(y);
    point.pixel = grid.model.IndexOf(x, y);
    point.cellVariant = LayoutModel::VariantOf(point.x, point.y);
    return true;
}

} // namespace

std::optional<Edge> FindEdge(const std::vector<TracedPoint>& row, std::uint32_t width,
                             std::uint32_t height)
{
    if (width == 0 || height == 0)
        return std::nullopt;
    std::unordered_set<std::uint32_t> keys;
    for (const TracedPoint& p : row)
        if (!p.IsVirtual())
            keys.insert(LayoutModel::Key(p.x, p.y));
    const std::uint32_t r = width - 1;
    const std::uint32_t b = height - 1;
    if (Contains(keys, 0, 0) && Contains(keys, r, 0))
        return Edge::Top;
    if (Contains(keys, r, b) && Contains(keys, 0, b))
        return Edge::Bottom;
    if (Contains(keys, r, b) && Contains(keys, r, 0))
        return Edge::Right;
    if (Contains(keys, 0, 0) && Contains(keys, 0, b))
        return Edge::Left;
    return std::nullopt;
}

std::uint32_t Span(const std::vector<TracedPoint>& row, Edge edge)
{
    std::set<std::uint16_t> values;
    const bool rows = edge == Edge::Top || edge == Edge::Bottom;
    for (const TracedPoint& p : row)
        if (!p.IsVirtual())
            values.insert(rows ? p.y : p.x);
    return static_cast<std::uint32_t>(values.size());
}

bool Translate(const ScanRow& row, std::int64_t dx, std::int64_t dy, const Grid& grid, ScanRow& out)
{
    out = row;
    for (TracedPoint& point : out.points)
        if (!MovePoint(point, dx, dy, grid))
            return false;
    return true;
}

bool DeduceScanRows(std::vector<ChannelRow>& rows, Edge edge, std::uint16_t scanRows,
                    const std::vector<TracedPoint>* starts, const Grid& grid)
{
    if (rows.empty() || rows[0].rows.empty() || rows[0].rows[0].points.empty())
        return false;
    const TracedPoint& origin = rows[0].rows[0].points.front();
    std::int64_t stepX = 0;
    std::int64_t stepY = 0;
    Inward(edge, stepX, stepY);
    const bool acrossY = edge == Edge::Top || edge == Edge::Bottom;
    // Offsets are computed before any row grows, since origin refers into the first row.
    std::vector<std::pair<std::int64_t, std::int64_t>> offsets;
    for (std::uint16_t k = 1; k < scanRows; ++k) {
        if (starts) {
            const TracedPoint& start = (*starts)[k - 1U];
            if (acrossY)
                offsets.emplace_back(0, std::int64_t{start.y} - origin.y);
            else
                offsets.emplace_back(std::int64_t{start.x} - origin.x, 0);
        } else {
            offsets.emplace_back(stepX * k, stepY * k);
        }
    }
    for (ChannelRow& entry : rows) {
        entry.rows.resize(1);
        for (std::uint16_t k = 1; k < scanRows; ++k) {
            ScanRow moved;
            const auto [dx, dy] = offsets[k - 1U];
            if (!Translate(entry.rows[0], dx, dy, grid, moved))
                return false;
            moved.tag = k;
            for (TracedPoint& point : moved.points)
                point.rowTag = k;
            entry.rows.push_back(std::move(moved));
        }
    }
    return true;
}

std::vector<VirtualRun> VirtualRunsOf(const std::vector<TracedPoint>& firstRow)
{
    std::vector<VirtualRun> runs;
    for (std::size_t i = 0; i < firstRow.size(); ++i) {
        if (!firstRow[i].IsVirtual())
            continue;
        if (!runs.empty() && runs.back().start + runs.back().count == i)
            ++runs.back().count;
        else
            runs.push_back({static_cast<std::uint16_t>(i), 1});
    }
    return runs;
}

void InsertVirtualRuns(std::vector<ChannelRow>& rows, const std::vector<VirtualRun>& runs,
                       std::uint16_t rowLength, std::uint16_t pointsPerGroup)
{
    for (ChannelRow& entry : rows) {
        entry.rowLength = rowLength;
        entry.pointsPerGroup = pointsPerGroup;
        for (ScanRow& row : entry.rows) {
            for (TracedPoint& point : row.points)
                point.ordinal = rowLength;
            for (const VirtualRun& run : runs) {
                const auto at = row.points.begin() +
                                std::min<std::ptrdiff_t>(run.start, std::ssize(row.points));
                row.points.insert(at, run.count, TracedPoint::Virtual());
            }
        }
    }
}

bool ExpandDataGroups(std::vector<ChannelRow>& rows, Edge edge, std::uint16_t groups,
                      std::uint16_t scanRows, std::uint32_t span, const Grid& grid)
{
    std::int64_t stepX = 0;
    std::int64_t stepY = 0;
    Inward(edge, stepX, stepY);
    const std::size_t groupSize = rows.size();
    rows.reserve(groupSize * std::max<std::size_t>(groups, 1));
    for (std::uint16_t s = 1; s < groups; ++s) {
        const std::int64_t d = std::int64_t{scanRows} * s * span;
        for (std::size_t e = 0; e < groupSize; ++e) {
            ChannelRow copy = rows[e];
            copy.index = static_cast<std::uint16_t>(rows.size());
            for (ScanRow& row : copy.rows) {
                for (TracedPoint& point : row.points) {
                    if (!MovePoint(point, stepX * d, stepY * d, grid))
                        return false;
                    if (!point.IsVirtual())
                        point.channelIndex = copy.index;
                }
            }
            rows.push_back(std::move(copy));
        }
    }
    return true;
}

void ExpandMultiClock(std::vector<ChannelRow>& rows, const ConnectorTable& table,
                      std::uint32_t width, std::uint32_t height, const LayoutModel& model)
{
    const std::uint32_t a = std::min<std::uint32_t>(table.rows, ConnectorTable::kSize);
    const std::uint32_t b = std::min<std::uint32_t>(table.columns, ConnectorTable::kSize);
    // Offsets of the copies in the order of their slot numbers.
    std::vector<std::pair<std::int32_t, std::pair<std::uint32_t, std::uint32_t>>> slots;
    for (std::uint32_t i = 0; i < a; ++i)
        for (std::uint32_t j = 0; j < b; ++j) {
            const std::int32_t t = table.cells[i][j];
            if (t >= 0 && static_cast<std::uint32_t>(t) < a * b)
                slots.push_back({t, {j * width, i * height}});
        }
    std::stable_sort(slots.begin(), slots.end(),
                     [](const auto& l, const auto& r) { return l.first < r.first; });
    const auto copies = static_cast<std::uint16_t>(slots.size());
    for (ChannelRow& entry : rows) {
        // Every scan row of an entry grows by the number of copies.
        entry.rowLength = static_cast<std::uint16_t>(entry.rowLength * copies);
        entry.pointsPerGroup = static_cast<std::uint16_t>(entry.pointsPerGroup * copies);
        for (ScanRow& row : entry.rows) {
            std::vector<TracedPoint> expanded;
            expanded.reserve(row.points.size() * slots.size());
            for (const TracedPoint& point : row.points) {
                for (const auto& slot : slots) {
                    TracedPoint copy = point;
                    if (!copy.IsVirtual()) {
                        copy.x = static_cast<std::uint16_t>(point.x + slot.second.first);
                        copy.y = static_cast<std::uint16_t>(point.y + slot.second.second);
                        copy.pixel = model.IndexOf(copy.x, copy.y);
                    }
                    expanded.push_back(copy);
                }
            }
            row.points = std::move(expanded);
        }
    }
}

std::uint32_t SeriesBlock(std::uint16_t dataLineType)
{
    switch (dataLineType) {
    case 4:
        return 1;
    case 5:
        return 8;
    case 6:
        return 16;
    case 7:
        return 24;
    default:
        return 0;
    }
}

std::vector<ChannelRow> RegroupSeries(const std::vector<ChannelRow>& rows,
                                      std::uint16_t dataLineType)
{
    const std::uint32_t n = SeriesBlock(dataLineType);
    if (n == 0 || rows.size() < 3)
        return rows;
    const std::size_t entries = rows.size();
    const ChannelRow& first = rows[0];
    const std::size_t r = first.rows.empty() ? 0 : first.rows[0].points.size();
    const std::size_t scanRows = first.rows.size();
    const std::size_t g3 = (entries + 2) / 3;
    std::vector<ChannelRow> merged;
    for (std::size_t g = 0; g < g3; ++g) {
        const auto line = static_cast<std::uint16_t>(g3 - 1 - g);
        ChannelRow out;
        out.rowLength = static_cast<std::uint16_t>(first.rowLength * 3);
        out.pointsPerGroup = static_cast<std::uint16_t>(first.pointsPerGroup * 3);
        out.index = line;
        out.flag = first.flag;
        for (std::size_t s = 0; s < scanRows; ++s) {
            std::vector<const TracedPoint*> gathered;
            for (std::size_t e = 3 * g; e < std::min(3 * g + 3, entries); ++e) {
                if (s >= rows[e].rows.size())
                    continue;
                const auto& points = rows[e].rows[s].points;
                for (std::size_t i = 0; i < std::min(r, points.size()); ++i)
                    gathered.push_back(&points[i]);
            }
            ScanRow row;
            row.tag = static_cast<std::uint16_t>(s + 1);
            std::size_t remaining = r;
            std::size_t offset = 0;
            auto counter = static_cast<std::uint16_t>(3 * r);
            while (remaining >= 1) {
                const std::size_t len = std::min<std::size_t>(n, remaining);
                for (std::size_t c = 0; c < 3; ++c) {
                    for (std::size_t i = 0; i < len; ++i) {
                        const std::size_t k = c * r + offset + i;
                        if (k >= gathered.size())
                            break;
                        TracedPoint copy = *gathered[k];
                        copy.channelIndex = line;
                        copy.rowTag = static_cast<std::uint16_t>(s + 1);
                        copy.ordinal = counter--;
                        copy.spare1 = copy.kind;
                        row.points.push_back(copy);
                    }
                }
                remaining -= len;
                offset += len;
            }
            out.rows.push_back(std::move(row));
        }
        merged.push_back(std::move(out));
    }
    return merged;
}

void MapVirtualPixels(std::vector<ChannelRow>& rows, const std::vector<std::uint16_t>& colours,
                      const std::array<std::uint32_t, 3>& codes)
{
    std::vector<std::size_t> reds;
    for (std::size_t i = 0; i < colours.size(); ++i)
        if (colours[i] == 0)
            reds.push_back(i);
    if (reds.size() != 2)
        return;
    // Per arrangement: (dx, dy) of first red, second red, green, blue inside the 2 x 2 block.
    static const std::array<std::array<std::array<int, 2>, 4>, 4> table = {{
        {{{0, 0}, {1, 1}, {1, 0}, {0, 1}}}, // (1, 6, 7)
        {{{1, 1}, {0, 0}, {0, 1}, {1, 0}}}, // (1, 7, 6)
        {{{0, 1}, {1, 0}, {0, 0}, {1, 1}}}, // (2, 5, 8)
        {{{1, 0}, {0, 1}, {1, 1}, {0, 0}}}, // (2, 8, 5)
    }};
    int arrangement = -1;
    if (codes[0] == 1 && codes[1] == 6 && codes[2] == 7)
        arrangement = 0;
    else if (codes[0] == 1 && codes[1] == 7 && codes[2] == 6)
        arrangement = 1;
    else if (codes[0] == 2 && codes[1] == 5 && codes[2] == 8)
        arrangement = 2;
    else if (codes[0] == 2 && codes[1] == 8 && codes[2] == 5)
        arrangement = 3;
    if (arrangement < 0)
        return;
    for (ChannelRow& entry : rows) {
        const std::size_t channel = entry.index % 4U;
        int role = -1;
        if (channel == reds[0])
            role = 0;
        else if (channel == reds[1])
            role = 1;
        else if (channel < colours.size() && colours[channel] == 1)
            role = 2;
        else if (channel < colours.size() && colours[channel] == 2)
            role = 3;
        if (role < 0)
            continue;
        const auto& offset = table[static_cast<std::size_t>(arrangement)][std::size_t(role)];
        for (ScanRow& row : entry.rows)
            for (TracedPoint& point : row.points)
                if (!point.IsVirtual()) {
                    point.x = static_cast<std::uint16_t>(2 * point.x + offset[0]);
                    point.y = static_cast<std::uint16_t>(2 * point.y + offset[1]);
                }
    }
}

} // namespace md::deduction
