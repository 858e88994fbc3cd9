#include "core/design/BackgroundDesign.h"

#include "core/io/FileIo.h"
#include "core/io/Utf.h"
#include "core/platform/PictureCodec.h"

#include <algorithm>
#include <cmath>

namespace md {

void BackgroundDesign::SetUp(std::uint32_t width, std::uint32_t height,
                             const std::filesystem::path& folder, const PictureCodec* codec)
{
    PlaceMarkers(width, height);
    if (!HasPicture()) {
        LightImage picture{0, 0, {}, utf::FromAscii(kDefaultPicture)};
        if (auto bytes = fileio::ReadAll(folder / kDefaultPicture)) {
            PictureSize size;
            if (!codec || codec->Decode(*bytes, size))
                picture.bytes = std::move(*bytes);
        }
        m_picture = std::move(picture);
        m_changes.Raise();
    }
    Rescale();
}

void BackgroundDesign::PlaceMarkers(std::uint32_t width, std::uint32_t height)
{
    m_width = width;
    m_height = height;
    const auto middle = static_cast<std::int32_t>(height / 2 * kUnitsPerPixel);
    m_point1 = {kUnitsPerPixel, middle};
    m_point2 = {static_cast<std::int32_t>(width * kUnitsPerPixel) - kUnitsPerPixel, middle};
    Rescale();
    m_changes.Raise();
}

void BackgroundDesign::SetPicture(LightImage picture)
{
    m_picture = std::move(picture);
    m_changes.Raise();
}

int BackgroundDesign::ZoomOut()
{
    if (!(m_zoom < kMaxZoom))
        return -1;
    m_zoom += 0.5;
    m_scale = static_cast<int>(16.0 / m_zoom);
    Rescale();
    return 0;
}

int BackgroundDesign::ZoomIn()
{
    if (m_zoom <= kMinZoom)
        return -1;
    m_zoom -= 0.5;
    m_scale = static_cast<int>(16.0 / m_zoom);
    Rescale();
    return 0;
}

void BackgroundDesign::SetScale(int scale)
{
    m_scale = std::max(scale, 1);
    Rescale();
}

int BackgroundDesign::CanvasWidth() const
{
    return static_cast<int>(m_width) * kUnitsPerPixel * m_scale + 2 * kOrigin;
}

int BackgroundDesign::CanvasHeight() const
{
    return static_cast<int>(m_height) * kUnitsPerPixel * m_scale + 2 * kOrigin;
}

void BackgroundDesign::SetScroll(int x, int y)
{
    m_scrollX = std::clamp(x, 0, std::max(CanvasWidth() - m_viewWidth, 0));
    m_scrollY = std::clamp(y, 0, std::max(CanvasHeight() - m_viewHeight, 0));
}

void BackgroundDesign::SetViewSize(int width, int height)
{
    m_viewWidth = std::max(width, 0);
    m_viewHeight = std::max(height, 0);
    Rescale();
}

void BackgroundDesign::Rescale()
{
    // Centre the module area (with its border) when it fits. Otherwise show its left edge
    // (where marker 1 sits) and its middle row (where set-up places both markers).
    const int areaWidth = static_cast<int>(m_width) * kUnitsPerPixel * m_scale;
    const int areaHeight = static_cast<int>(m_height) * kUnitsPerPixel * m_scale;
    const int x = areaWidth + 2 * kBorder <= m_viewWidth ? kOrigin + areaWidth / 2 - m_viewWidth / 2
                                                         : kOrigin - kBorder;
    const int y = kOrigin + areaHeight / 2 - m_viewHeight / 2;
    SetScroll(x, y);
}

void BackgroundDesign::Wheel(int delta)
{
    SetScroll(m_scrollX, m_scrollY + (delta < 0 ? kWheelStep : -kWheelStep));
}

bool BackgroundDesign::InMarker(const Point& point, int canvasX, int canvasY) const
{
    const int left = kOrigin + point.x * m_scale;
    const int top = kOrigin + point.y * m_scale;
    return canvasX >= left && canvasX < left + kMarker && canvasY >= top && canvasY < top + kMarker;
}

BackgroundDesign::Point* BackgroundDesign::DraggedPoint()
{
    return m_dragged == 1 ? &m_point1 : m_dragged == 2 ? &m_point2 : nullptr;
}

void BackgroundDesign::Press(int x, int y)
{
    const int canvasX = m_scrollX + x - kRuler;
    const int canvasY = m_scrollY + y - kRuler;
    m_dragged = InMarker(m_point1, canvasX, canvasY)   ? 1
                : InMarker(m_point2, canvasX, canvasY) ? 2
                                                       : 0;
    m_lastX = x;
    m_lastY = y;
}

bool BackgroundDesign::Move(int x, int y, bool leftDown)
{
    Point* point = DraggedPoint();
    if (!leftDown || !point) {
        const int canvasX = m_scrollX + x - kRuler;
        const int canvasY = m_scrollY + y - kRuler;
        m_hover = InMarker(m_point1, canvasX, canvasY) || InMarker(m_point2, canvasX, canvasY);
        return false;
    }
    const double stepX = static_cast<double>(x - m_lastX) / m_scale;
    const double stepY = static_cast<double>(y - m_lastY) / m_scale;
    if (std::fabs(stepX) < 1.0 && std::fabs(stepY) < 1.0)
        return false;
    const auto maxX = static_cast<std::int32_t>(m_width) * kUnitsPerPixel;
    const auto maxY = static_cast<std::int32_t>(m_height) * kUnitsPerPixel;
    point->x = std::clamp(point->x + static_cast<std::int32_t>(stepX), 0, maxX);
    point->y = std::clamp(point->y + static_cast<std::int32_t>(stepY), 0, maxY);
    // Keep the pointer on the marker: the last position is the marker's screen position.
    m_lastX = kOrigin + point->x * m_scale - m_scrollX + kRuler;
    m_lastY = kOrigin + point->y * m_scale - m_scrollY + kRuler;
    m_changes.Raise();
    return true;
}

} // namespace md
