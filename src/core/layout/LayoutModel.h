#pragma once

#include "core/design/CellLed.h"
#include "core/io/ChangeSignal.h"
#include "core/layout/LedPoint.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace md {

/// The pixels of the layout grid and their shared LED shapes. Points are held column-major
/// (x outer, y inner), so a pixel is found from its key x | (y << 16) by arithmetic.
class LayoutModel
{
public:
    static constexpr int kColumnWidth = 36;
    static constexpr int kRowHeight = 22;
    static constexpr int kMinColumnWidth = 8;
    static constexpr int kMinRowHeight = 6;

    static std::uint32_t Key(std::uint32_t x, std::uint32_t y) { return x | (y << 16); }
    static std::uint16_t VariantOf(std::uint32_t x, std::uint32_t y)
    {
        return static_cast<std::uint16_t>(1 + (x & 1U) + 2 * (y & 1U));
    }

    /// Builds W x H points; either size 0 gives an empty model. The four lists become the
    /// shape sets 0 to 3, one per cell variant; an empty one takes the first list.
    void Construct(std::uint32_t width, std::uint32_t height,
                   const std::array<std::vector<CellLed>, 4>& cellSlots);
    /// Replaces points and shape sets wholesale (a restored layout).
    void Assign(std::uint32_t width, std::uint32_t height, std::vector<LedPoint> points,
                std::vector<std::vector<CellLed>> shapeSets);

    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    std::vector<LedPoint>& Points() { return m_points; }
    const std::vector<LedPoint>& Points() const { return m_points; }

    /// Index of pixel (x, y), or -1 outside the grid.
    std::int32_t IndexOf(std::int64_t x, std::int64_t y) const;
    std::int32_t IndexOfKey(std::uint32_t key) const { return IndexOf(key & 0xFFFF, key >> 16); }
    LedPoint* Find(std::uint32_t key);

    const std::vector<std::vector<CellLed>>& ShapeSets() const { return m_shapeSets; }
    const std::vector<CellLed>& ShapesOf(const LedPoint& point) const;
    /// Shows or hides one LED of one pixel.
    void SetLedVisible(LedPoint& point, unsigned led, bool visible);
    /// Changes whether one LED of one pixel is active: the pixel moves to a shape set that
    /// differs in that flag, shared with every other pixel that has the same list.
    void SetLedActive(LedPoint& point, unsigned led, bool active);

    double Zoom() const { return m_zoom; }
    int ColumnWidth() const;
    int RowHeight() const;
    /// Smaller cells; false (refused) at zoom 9.0 or more.
    bool ZoomOut();
    /// Larger cells; false (refused) at zoom 1.0 or less.
    bool ZoomIn();

    std::int32_t Current() const { return m_current; }
    /// Moves the highlight to a pixel (or to none with -1).
    void SetCurrent(std::int32_t index);

    /// Every pixel untraced, marked and without label.
    void ClearTracing();
    void MarkAll(bool marked);
    std::size_t MarkedCount() const;

    /// The colour whose LEDs alone are drawn (0, 1, 2), or -1 for every LED.
    std::int32_t Layer() const { return m_layer; }
    void ShowLayer(std::int32_t colour) { m_layer = colour; }
    /// Every layer shown again and the LEDs of the four cell copies active as the three codes
    /// say: pixel decomposition modes give each colour its copies, all zero every LED, other
    /// codes (virtual-pixel positions) leave the LEDs as they are.
    void RebuildVirtualDrawing(const std::array<std::uint32_t, 3>& codes);

    /// Raised when the grid's content changes: its points, their LEDs, marks and tracing (not
    /// the zoom, the highlight or the layer shown). Tracing and point-go, which change points
    /// in place, raise it through NotifyChanged.
    ChangeSignal& Changes() { return m_changes; }
    void NotifyChanged() const { m_changes.Raise(); }
    /// Raises Changes() when it goes out of scope, for functions that change points in place.
    class ChangeScope
    {
    public:
        explicit ChangeScope(const LayoutModel& model) : m_model(model) {}
        ~ChangeScope() { m_model.NotifyChanged(); }
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;

    private:
        const LayoutModel& m_model;
    };

private:
    void ApplyZoom();
    std::uint32_t FindOrAddShapeSet(std::vector<CellLed> leds);

    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    double m_zoom = 1.0;
    std::int32_t m_current = -1;
    std::int32_t m_layer = -1;
    bool m_dense = true; ///< point i is pixel (i / height, i % height)
    std::vector<LedPoint> m_points;
    std::vector<std::vector<CellLed>> m_shapeSets;
    ChangeSignal m_changes;
};

} // namespace md
