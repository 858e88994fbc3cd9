#pragma once

#include "core/layout/ChannelRow.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace md {

class LayoutModel;

/// The layout point-go builds, apart from the tracer's layout result: one entry per data line
/// the device reported, its scan rows filled LED by LED in the device's order, and the LEDs it
/// hid on the grid. The cursor is the number of positions recorded so far (the LED the device
/// is asked for next, counted from 0). Whenever the result is dropped, every LED it hid is
/// drawn again and the pixels it marked traced are as they were before.
class PointGoResult
{
public:
    /// One recorded position: the pixel and its LED, or no pixel for an output that drives no
    /// LED.
    struct Position
    {
        std::int32_t pixel = -1;
        unsigned led = 0;
        bool wasTraced = false; ///< the pixel's traced flag before this position was recorded
    };
    /// Where a position lies: the entry (data line), its scan row and the place in that row.
    struct Place
    {
        std::size_t entry = 0;
        std::size_t line = 0;
        std::size_t position = 0;
    };

    /// Drops what was recorded and lays out one empty entry per line length, each with
    /// scanRows scan rows of that length.
    void Build(LayoutModel& model, const std::vector<std::uint16_t>& lengths,
               std::uint16_t scanRows);
    /// Whether the result was built for these lines.
    bool Fits(const std::vector<std::uint16_t>& lengths, std::uint16_t scanRows) const;
    /// Gives every hidden LED back, restores the traced flags and empties the result.
    void Drop(LayoutModel& model);
    /// Forgets the result without touching the grid (the grid itself was replaced).
    void Forget();

    bool Empty() const { return m_entries.empty(); }
    const std::vector<ChannelRow>& Entries() const { return m_entries; }
    /// Positions of every line together.
    std::size_t Size() const { return m_size; }
    /// Positions recorded so far: the LED the cursor is at.
    std::size_t Cursor() const { return m_positions.size(); }
    bool Complete() const { return !m_entries.empty() && Cursor() >= m_size; }
    /// The place of LED k; nothing past the end.
    std::optional<Place> PlaceOf(std::size_t k) const;
    const std::vector<Position>& Positions() const { return m_positions; }

    /// Records LED led of the pixel at the cursor: the LED is hidden and the pixel marked
    /// traced. False, with nothing changed, when the result is complete, the pixel is not on the
    /// grid, its cell has no such LED or the LED is recorded already.
    bool Record(LayoutModel& model, std::int32_t pixel, unsigned led);
    /// Records the position at the cursor as empty (a driver output left unconnected).
    bool Skip();
    /// Takes the last recorded position back: its LED is drawn again and the cursor steps
    /// back. Nothing when nothing is recorded.
    std::optional<Position> StepBack(LayoutModel& model);

    /// The result as one line of numbers: the scan rows, the line count and lengths, then the
    /// position count and each position's pixel, LED and former traced flag. Empty without a
    /// result.
    std::string Describe() const;
    /// Builds the result a description gives on the grid and records its positions again
    /// (their LEDs hidden, their pixels traced, whether or not the grid hid them already).
    /// False, with no result, for a description that is malformed or does not fit the grid.
    bool Rebuild(LayoutModel& model, const std::string& description);

private:
    ScanRow* RowAtCursor(Place& place);
    void Restore(LayoutModel& model, const Position& position);

    std::vector<ChannelRow> m_entries;
    std::vector<Position> m_positions;
    std::size_t m_size = 0;
    std::uint16_t m_scanRows = 0;
};

} // namespace md
