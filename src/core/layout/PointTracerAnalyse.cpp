// The deduction side of PointTracer: from the traced first scan row (or, in advanced tracing,
// from every traced point) to the layout result.
#include "core/layout/LayoutDeduction.h"
#include "core/layout/PointTracer.h"

#include <algorithm>

namespace md {

bool PointTracer::AnalyseStep(bool check)
{
    const LayoutModel::ChangeScope change(m_model);
    // A finished layout stands until it is undone or reset: analysing it again would deduce
    // from counts the final analysis has already raised.
    if (m_layoutDone != 0)
        return true;
    // Point-go's own result becomes the layout through AdoptResult, never through deduction.
    if (m_pointGoSelected)
        return false;
    if (check && m_setup != nullptr)
        m_beforeFinish = {*m_setup, m_width, m_height};
    if (m_advancedEnabled)
        return m_advancedStarted && AnalyseAdvanced(check);
    if (m_setup == nullptr || !RowComplete())
        return false;
    m_result.clear();
    m_layoutPresent = false;
    LayoutSetup& setup = *m_setup;
    std::vector<ChannelRow> rows = m_channelRows;
    if (rows.empty() || rows[0].rows.empty())
        return false;
    const std::vector<TracedPoint>& first = rows[0].rows[0].points;
    const auto edge = deduction::FindEdge(first, m_width, m_height);
    if (!edge)
        return false;
    const std::uint32_t span = deduction::Span(first, *edge);
    const bool located = check && !m_starts.empty();
    if (located) {
        const bool acrossY = *edge == deduction::Edge::Top || *edge == deduction::Edge::Bottom;
        for (const TracedPoint& start : m_starts)
            if (acrossY ? start.x != first.front().x : start.y != first.front().y)
                return false;
        if (static_cast<int>(m_starts.size()) != int{setup.scanRows} - 1)
            return false;
    }
    const deduction::Grid grid{m_model, m_width, m_height};
    if (setup.rowLength < setup.pointsPerGroup &&
        !deduction::DeduceScanRows(rows, *edge, setup.scanRows, located ? &m_starts : nullptr,
                                   grid))
        return false;
    // The record learns the new counts only once the whole deduction has succeeded.
    std::uint16_t virtualPerRow = setup.virtualPerRow;
    std::uint16_t pointsPerGroup = setup.pointsPerGroup;
    std::uint16_t rowLength = setup.rowLength;
    std::vector<VirtualRun> runs;
    const bool withVirtual = check && m_firstRow.size() > setup.rowLength;
    if (withVirtual) {
        virtualPerRow = static_cast<std::uint16_t>(m_firstRow.size() - setup.rowLength);
        const std::uint32_t groups = std::max<std::uint16_t>(setup.dataGroups, 1);
        pointsPerGroup = static_cast<std::uint16_t>(m_width * m_height / groups +
                                                    std::uint32_t{virtualPerRow} * setup.scanRows);
        rowLength =
            static_cast<std::uint16_t>(pointsPerGroup / std::max<std::uint16_t>(setup.scanRows, 1));
        runs = deduction::VirtualRunsOf(m_firstRow);
        deduction::InsertVirtualRuns(rows, runs, rowLength, pointsPerGroup);
    }
    if (!deduction::ExpandDataGroups(rows, *edge, setup.dataGroups, setup.scanRows, span, grid))
        return false;
    if (check && setup.multiClock >= 1) {
        m_height *= setup.connectors.rows;
        m_width *= setup.connectors.columns;
        virtualPerRow = static_cast<std::uint16_t>(virtualPerRow * 2);
        pointsPerGroup = static_cast<std::uint16_t>(pointsPerGroup * 2);
        rowLength = static_cast<std::uint16_t>(rowLength * 2);
        deduction::ExpandMultiClock(rows, setup.connectors, setup.width, setup.height, m_model);
    }
    setup.virtualPerRow = virtualPerRow;
    setup.pointsPerGroup = pointsPerGroup;
    setup.rowLength = rowLength;
    if (withVirtual)
        setup.virtualRuns = std::move(runs);
    StoreResult(std::move(rows), check);
    return true;
}

bool PointTracer::AnalyseAdvanced(bool check)
{
    if (m_setup == nullptr)
        return false;
    const LayoutSetup& setup = *m_setup;
    const std::uint32_t total = AdvancedTotal();
    if (check && m_records.size() == m_scanRowLength && m_records.size() < total &&
        m_advancedRows.size() == 1) {
        // Deduce the other scan rows from the one traced row: the first direction in which the
        // whole row can move scanRows - 1 pixels and stay inside the module.
        const std::int64_t s = setup.scanRows;
        const auto fits = [&](auto test) {
            return std::all_of(m_records.begin(), m_records.end(), [&](const TracedPoint& p) {
                return p.IsVirtual() || test(std::int64_t{p.x}, std::int64_t{p.y});
            });
        };
        std::int64_t dx = 0;
        std::int64_t dy = 0;
        if (fits([&](std::int64_t, std::int64_t y) { return y + s <= m_height; }))
            dy = 1;
        else if (fits([&](std::int64_t, std::int64_t y) { return y + 1 - s >= 0; }))
            dy = -1;
        else if (fits([&](std::int64_t x, std::int64_t) { return x + s <= m_width; }))
            dx = 1;
        else if (fits([&](std::int64_t x, std::int64_t) { return x + 1 - s >= 0; }))
            dx = -1;
        if (dx != 0 || dy != 0) {
            const std::vector<TracedPoint> traced = m_records;
            for (std::int64_t k = 1; k < s; ++k) {
                for (TracedPoint copy : traced) {
                    if (!copy.IsVirtual()) {
                        const std::int32_t index =
                            m_model.IndexOf(copy.x + dx * k, copy.y + dy * k);
                        if (index < 0)
                            return false;
                        LedPoint& pixel = m_model.Points()[static_cast<std::size_t>(index)];
                        pixel.traced = 1;
                        copy.x = pixel.x;
                        copy.y = pixel.y;
                        copy.cellVariant = pixel.cellVariant;
                        copy.pixel = index;
                    }
                    m_records.push_back(copy);
                }
            }
            m_tracedCount = static_cast<std::uint32_t>(m_records.size());
        }
    }
    if (m_records.size() != total)
        return false;
    const std::size_t channels = setup.channelColours.size();
    const std::uint32_t length = std::max<std::uint32_t>(m_scanRowLength, 1);
    std::vector<ChannelRow> result;
    for (std::size_t g = 0; g < m_advancedRows.size(); ++g) {
        const auto begin = m_records.begin() + static_cast<std::ptrdiff_t>(g * m_stride);
        m_advancedRows[g].assign(begin, begin + m_stride);
        for (std::size_t c = 0; c < channels; ++c) {
            ChannelRow entry;
            entry.index = static_cast<std::uint16_t>(result.size());
            entry.rowLength = static_cast<std::uint16_t>(m_scanRowLength);
            entry.pointsPerGroup = static_cast<std::uint16_t>(m_stride);
            for (std::uint32_t i = 0; i < m_stride; ++i) {
                if (i % length == 0) {
                    entry.rows.emplace_back();
                    entry.rows.back().tag = static_cast<std::uint16_t>(entry.rows.size() - 1);
                }
                TracedPoint point = m_advancedRows[g][i];
                if (!point.IsVirtual()) {
                    point.kind = setup.channelColours[c];
                    point.colourCode = ColourCode(point.kind);
                    point.channelIndex = entry.index;
                }
                point.rowTag = entry.rows.back().tag;
                point.ordinal = static_cast<std::uint16_t>(i % length + 1);
                entry.rows.back().points.push_back(point);
            }
            result.push_back(std::move(entry));
        }
    }
    StoreResult(std::move(result), check);
    return true;
}

void PointTracer::StoreResult(std::vector<ChannelRow> result, bool check)
{
    m_result = std::move(result);
    if (check) {
        if (deduction::SeriesBlock(m_setup->dataLineType) != 0)
            m_result = deduction::RegroupSeries(m_result, m_setup->dataLineType);
        m_setup->result = m_result;
        m_layoutDone = 1;
        m_timerRunning = false;
    }
    m_layoutPresent = true;
}

} // namespace md
