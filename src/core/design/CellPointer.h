#pragma once

#include <cstddef>
#include <optional>

namespace md {

class CellDesign;

/// Pointer handling on the cell canvas: press selects (Ctrl toggles), dragging moves the
/// selection, and a release on one of several selected LEDs that did not move selects it alone.
/// Coordinates are canvas pixels.
class CellPointer
{
public:
    explicit CellPointer(CellDesign& design) : m_design(design) {}

    /// Returns whether the canvas changed (always true for a press on the canvas).
    bool Press(int x, int y, bool ctrl);
    /// A move with the left button down; returns whether anything moved.
    bool Drag(int x, int y);
    /// Returns whether the selection changed.
    bool Release(int x, int y);

    /// Clears the pointer state (a new opening).
    void Clear();

    /// An LED was hit by the last press without Ctrl.
    bool LedHit() const { return m_ledHit; }
    /// The last press fell on one of several selected LEDs.
    bool PressOnSelection() const { return m_pressOnSelection; }
    bool GroupDragMoved() const { return m_groupDragMoved; }
    std::size_t SelectedAtPress() const { return m_selectedAtPress; }

    static bool OnCanvas(int x, int y);

private:
    CellDesign& m_design;
    std::optional<std::size_t> m_hit;
    bool m_ledHit = false;
    bool m_pressOnSelection = false;
    bool m_groupDragMoved = false;
    std::size_t m_selectedAtPress = 0;
    int m_lastX = 0;
    int m_lastY = 0;
};

} // namespace md
