#pragma once

#include "core/design/LightImage.h"
#include "core/io/ChangeSignal.h"

#include <cstdint>
#include <filesystem>

namespace md {

class PictureCodec;

/// The background view's model: the module area in module units (4 per pixel) with a picture
/// and two marker points, the zoom and scale, the scroll position and the pointer state.
class BackgroundDesign
{
public:
    static constexpr int kUnitsPerPixel = 4;
    static constexpr int kOrigin = 1000; ///< canvas pixel of the module area's top-left corner
    static constexpr int kBorder = 50;   ///< dark border round the module area
    static constexpr int kRuler = 16;    ///< ruler width on the top and left of the view
    static constexpr int kMarker = 8;    ///< marker box size in screen pixels
    static constexpr int kWheelStep = 20;
    static constexpr double kMinZoom = 1.0;
    static constexpr double kMaxZoom = 9.0;
    static constexpr const char* kDefaultPicture = "module_bkground.png";

    struct Point
    {
        std::int32_t x = 0;
        std::int32_t y = 0;
        bool operator==(const Point&) const = default;
    };

    /// Stores the size, places the markers and, when no picture is loaded, reads the default
    /// picture from the plug-in folder (a missing file leaves the picture empty).
    void SetUp(std::uint32_t width, std::uint32_t height, const std::filesystem::path& folder,
               const PictureCodec* codec);

    /// Stores the size and places the markers: point 1 near the left edge, point 2 near the
    /// right edge, both half-way down.
    void PlaceMarkers(std::uint32_t width, std::uint32_t height);

    /// 0 done, -1 refused at the largest zoom level.
    int ZoomOut();
    /// 0 done, -1 refused at zoom 1.0.
    int ZoomIn();
    void SetScale(int scale);
    /// Vertical scrolling by one wheel message.
    void Wheel(int delta);
    /// The visible size of the view's drawing area (without rulers); recentres when it fits.
    void SetViewSize(int width, int height);

    /// Left button pressed at a view position: starts dragging the marker under it.
    void Press(int x, int y);
    void Release() { m_dragged = 0; }
    /// Pointer moved; true when the view must be redrawn (a marker moved).
    bool Move(int x, int y, bool leftDown);
    bool Hover() const { return m_hover; }
    int Dragged() const { return m_dragged; }

    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    Point Point1() const { return m_point1; }
    Point Point2() const { return m_point2; }
    void SetPoints(Point p1, Point p2)
    {
        m_point1 = p1;
        m_point2 = p2;
        m_changes.Raise();
    }
    double Zoom() const { return m_zoom; }
    int Scale() const { return m_scale; }
    int ScrollX() const { return m_scrollX; }
    int ScrollY() const { return m_scrollY; }
    void SetScroll(int x, int y);
    /// The scrollable canvas: the module area with a margin of kOrigin on every side.
    int CanvasWidth() const;
    int CanvasHeight() const;
    /// Canvas box of a marker's circle (top-left corner at the point's position).
    bool InMarker(const Point& point, int canvasX, int canvasY) const;

    const LightImage& Picture() const { return m_picture; }
    /// Replaces the picture (its decoded form is the view's business).
    void SetPicture(LightImage picture);
    bool HasPicture() const { return !m_picture.bytes.empty(); }
    bool Loaded() const { return m_loaded; }
    void SetLoaded() { m_loaded = true; }

    /// Raised when the size, a marker or the picture changes (not the zoom or the scroll).
    ChangeSignal& Changes() { return m_changes; }

private:
    void Rescale();
    Point* DraggedPoint();

    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    Point m_point1;
    Point m_point2;
    LightImage m_picture{0, 0, {}, {}};
    double m_zoom = 1.0;
    int m_scale = 16;
    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_viewWidth = 0;
    int m_viewHeight = 0;
    int m_dragged = 0;
    int m_lastX = 0;
    int m_lastY = 0;
    bool m_hover = false;
    bool m_loaded = false;
    ChangeSignal m_changes;
};

} // namespace md
