#include "core/layout/PointGoResult.h"

#include "core/layout/LayoutModel.h"

#include <sstream>

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

std::string PointGoResult::Describe() const
{
    if (m_entries.empty())
        return {};
    std::ostringstream out;
    out << m_scanRows << ' ' << m_entries.size();
    for (const ChannelRow& entry : m_entries)
        out << ' ' << entry.rowLength;
    out << ' ' << m_positions.size();
    for (const Position& position : m_positions)
        out << ' ' << position.pixel << ' ' << position.led << ' ' << (position.wasTraced ? 1 : 0);
    return out.str();
}

bool PointGoResult::Rebuild(LayoutModel& model, const std::string& description)
{
    std::istringstream in(description);
    long long scanRows = 0;
    long long lines = 0;
    if (!(in >> scanRows >> lines) || scanRows <= 0 || scanRows > 0xFFFF || lines <= 0 ||
        lines > 0xFFFF)
        return false;
    std::vector<std::uint16_t> lengths;
    std::size_t size = 0;
    for (long long i = 0; i < lines; ++i) {
        long long length = 0;
        if (!(in >> length) || length <= 0 || length > 0xFFFF)
            return false;
        lengths.push_back(static_cast<std::uint16_t>(length));
        size += static_cast<std::size_t>(length) * static_cast<std::size_t>(scanRows);
    }
    long long count = 0;
    if (!(in >> count) || count < 0 || static_cast<std::size_t>(count) > size)
        return false;
    const auto points = static_cast<long long>(model.Points().size());
    std::vector<Position> positions;
    for (long long i = 0; i < count; ++i) {
        long long pixel = 0;
        long long led = 0;
        int wasTraced = 0;
        if (!(in >> pixel >> led >> wasTraced) || pixel < -1 || pixel >= points || led < 0 ||
            led > 0xFFFF)
            return false;
        positions.push_back(
            {static_cast<std::int32_t>(pixel), static_cast<unsigned>(led), wasTraced != 0});
    }
    Build(model, lengths, static_cast<std::uint16_t>(scanRows));
    // The grid as it was before the first position, then each recorded again in order.
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        Restore(model, *it);
    for (const Position& position : positions) {
        const bool recorded =
            position.pixel < 0 ? Skip() : Record(model, position.pixel, position.led);
        if (!recorded) {
            Drop(model);
            return false;
        }
    }
    model.NotifyChanged();
    return true;
}

} // namespace md
