#pragma once

#include "core/design/CellLed.h"
#include "core/design/LightImage.h"
#include "core/io/ChangeSignal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace md {

/// An arrow-key step of the selected LEDs.
enum class CellMove
{
    Left,
    Right,
    Up,
    Down
};

/// The cell: four slots of LEDs placed on a 256 x 256 canvas that stands for a square of cellSize
/// tenths of a millimetre, the pictures the LEDs use (at most one entry per light name), the
/// background picture and the clipboard. Only slot 1 is drawn, confirmed and read by the layout;
/// the other slots are kept so that the layout can copy all four.
class CellDesign
{
public:
    static constexpr int kCanvasSize = 256;
    static constexpr int kSlotCount = 4;
    static constexpr std::uint16_t kDefaultCellSize = 100;
    static constexpr std::uint16_t kMinCellSize = 10;
    static constexpr std::uint16_t kMaxCellSize = 1000;

    CellDesign() { Reset(); }

    /// Back to an empty cell of 10.0 mm: slots, pictures, background and clipboard are emptied.
    void Reset();

    /// Canvas length of a physical length: trunc(tenthMm / cellSize * 256).
    static std::uint16_t PixelLength(std::uint16_t tenthMm, std::uint16_t cellSize);

    std::uint16_t CellSize() const { return m_cellSize; }
    /// Sets the cell size and recomputes every LED's canvas size; positions stay, so boxes may
    /// now reach beyond the canvas.
    void SetCellSize(std::uint16_t tenths);

    /// 0 = none, else 1..4.
    std::uint16_t CurrentSlot() const { return m_currentSlot; }
    void SetCurrentSlot(std::uint16_t slot) { m_currentSlot = slot; }

    /// Slot 1..4.
    std::vector<CellLed>& Slot(int number) { return m_slots.at(number - 1); }
    const std::vector<CellLed>& Slot(int number) const { return m_slots.at(number - 1); }
    /// The current slot, or null when there is none.
    std::vector<CellLed>* Current();
    const std::vector<CellLed>* Current() const;

    bool HasLeds() const { return !m_slots[0].empty(); }
    std::size_t TotalLeds() const;
    /// Elements of slot 1 that light separately: every ungrouped LED and every parallel group
    /// counts once.
    int PixelCount() const;

    const std::vector<LightImage>& Images() const { return m_images; }
    const LightImage* FindImage(std::u16string_view name) const;
    /// Appends a light picture with the next id and returns that id.
    std::uint16_t AddImage(std::u16string name, std::vector<std::uint8_t> bytes);
    const LightImage& Background() const { return m_background; }
    void SetBackground(std::u16string name, std::vector<std::uint8_t> bytes);

    /// Appends an LED to the current slot (numbered by the slot's count) and deselects all.
    void Append(CellLed led);
    /// Index of the first LED of the current slot whose box holds the canvas point.
    std::optional<std::size_t> HitTest(int x, int y) const;
    void DeselectAll();
    std::size_t SelectedCount() const;
    /// The first selected LED of the current slot.
    const CellLed* FirstSelected() const;

    /// Moves the selected LEDs one canvas pixel; refused as a whole when one would leave the
    /// canvas, or when nothing is selected.
    bool Move(CellMove move);
    /// Removes the selected LEDs, dissolves groups left with one LED, sorts by group (stable)
    /// and renumbers the groups densely. Returns whether a removed LED had been grouped.
    bool DeleteSelected();

    void Copy();
    /// Replaces the current slot by the clipboard; each LED is linked again to the picture entry
    /// of its name. Returns the names that have no entry any more.
    std::vector<std::u16string> Paste();
    const std::vector<CellLed>& Clipboard() const { return m_clipboard; }

    /// A cell read back with a layout: its pictures, its background and its four slots.
    void Restore(std::vector<LightImage> images, LightImage background,
                 const std::array<std::vector<CellLed>, kSlotCount>& slots);
    /// Raised when the LEDs, the pictures, the background or the cell size change (not the
    /// selection or the info texts).
    ChangeSignal& Changes() { return m_changes; }

    bool ShowInfo() const { return m_showInfo; }
    /// Toggles the info texts of the current slot; returns the new state.
    bool ToggleInfo();
    /// Every LED of the current slot gets the given info state.
    void SetInfoOnAll(bool show);

    /// Numbers slot 1 in list order and keeps only the pictures slot 1 uses, renumbered in their
    /// order. False (nothing changes) when slot 1 is empty.
    bool Confirm();

private:
    std::uint16_t m_cellSize = kDefaultCellSize;
    std::uint16_t m_currentSlot = 1;
    std::array<std::vector<CellLed>, kSlotCount> m_slots;
    std::vector<LightImage> m_images;
    LightImage m_background;
    std::vector<CellLed> m_clipboard;
    bool m_showInfo = false;
    ChangeSignal m_changes;
};

} // namespace md
