#include "core/layout/PointGoResult.h"

#include "core/layout/LayoutModel.h"

namespace md {

void PointGoResult::Build(LayoutModel& model, const std::vector<std::uint16_t>& lengths,
                          std::uint16_t scanRows)
{
    Drop(model);
    m_scanRows = scanRows;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        ChannelRow entry;
        entry.index = static_cast<std::uint16_t>(i);
        entry.rowLength = lengths[i];
        entry.pointsPerGroup = static_cast<std::uint16_t>(std::size_t{lengths[i]} * scanRows);
        entry.rows.resize(scanRows);
        for (std::uint16_t row = 0; row < scanRows; ++row)
            entry.rows[row].tag = row;
        m_entries.push_back(std::move(entry));
        m_size += std::size_t{lengths[i]} * scanRows;
    }
}

bool PointGoResult::Fits(const std::vector<std::uint16_t>& lengths, std::uint16_t scanRows) const
{
    if (m_entries.empty() || scanRows != m_scanRows || lengths.size() != m_entries.size())
        return false;
    for (std::size_t i = 0; i < lengths.size(); ++i)
        if (m_entries[i].rowLength != lengths[i])
            return false;
    return true;
}

void PointGoResult::Restore(LayoutModel& model, const Position& position)
{
    if (position.pixel < 0 || static_cast<std::size_t>(position.pixel) >= model.Points().size())
        return;
    LedPoint& pixel = model.Points()[static_cast<std::size_t>(position.pixel)];
    pixel.SetLedHidden(position.led, false);
    pixel.traced = position.wasTraced ? 1 : 0;
}

void PointGoResult::Drop(LayoutModel& model)
{
    const bool changed = !m_positions.empty();
    // Last first, so that a pixel recorded several times ends as it was before the first.
    for (auto it = m_positions.rbegin(); it != m_positions.rend(); ++it)
        Restore(model, *it);
    Forget();
    if (changed)
        model.NotifyChanged();
}

void PointGoResult::Forget()
{
    m_entries.clear();
    m_positions.clear();
    m_size = 0;
    m_scanRows = 0;
}

std::optional<PointGoResult::Place> PointGoResult::PlaceOf(std::size_t k) const
{
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const ChannelRow& entry = m_entries[e];
        const std::size_t length = entry.rowLength;
        const std::size_t leds = length * entry.rows.size();
        if (k < leds)
            return Place{e, k / length, k % length};
        k -= leds;
    }
    return std::nullopt;
}

ScanRow* PointGoResult::RowAtCursor(Place& place)
{
    const auto at = PlaceOf(Cursor());
    if (!at)
        return nullptr;
    place = *at;
    ScanRow& row = m_entries[place.entry].rows[place.line];
    // The rows fill in order: a row that does not hold what the cursor says is not written.
    return row.points.size() == place.position ? &row : nullptr;
}

bool PointGoResult::Record(LayoutModel& model, std::int32_t index, unsigned led)
{
    Place place;
    ScanRow* row = RowAtCursor(place);
    if (!row || index < 0 || static_cast<std::size_t>(index) >= model.Points().size())
        return false;
    LedPoint& pixel = model.Points()[static_cast<std::size_t>(index)];
    if (led >= model.ShapesOf(pixel).size() || !pixel.LedVisible(led))
        return false;
    m_positions.push_back({index, led, pixel.traced != 0});
    model.SetLedVisible(pixel, led, false);
    pixel.traced = 1;

    TracedPoint point;
    point.x = pixel.x;
    point.y = pixel.y;
    point.cellVariant = pixel.cellVariant;
    point.pixel = index;
    point.channelIndex = m_entries[place.entry].index;
    point.rowTag = row->tag;
    point.ordinal = static_cast<std::uint16_t>(place.position + 1);
    row->points.push_back(point);
    return true;
}

bool PointGoResult::Skip()
{
    Place place;
    ScanRow* row = RowAtCursor(place);
    if (!row)
        return false;
    m_positions.push_back({});
    TracedPoint point = TracedPoint::Virtual();
    point.rowTag = row->tag;
    point.ordinal = static_cast<std::uint16_t>(place.position + 1);
    row->points.push_back(point);
    return true;
}

std::optional<PointGoResult::Position> PointGoResult::StepBack(LayoutModel& model)
{
    if (m_positions.empty())
        return std::nullopt;
    const Position last = m_positions.back();
    m_positions.pop_back();
    if (const auto place = PlaceOf(Cursor())) {
        auto& points = m_entries[place->entry].rows[place->line].points;
        if (!points.empty())
            points.pop_back();
    }
    Restore(model, last);
    model.NotifyChanged();
    return last;
}

} // namespace md
