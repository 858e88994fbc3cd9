#include "core/layout/LayoutModel.h"

#include "core/design/PixelDecomposition.h"

#include <algorithm>
#include <cmath>

namespace md {

void LayoutModel::Construct(std::uint32_t width, std::uint32_t height,
                            const std::array<std::vector<CellLed>, 4>& cellSlots)
{
    m_shapeSets.assign(cellSlots.begin(), cellSlots.end());
    // The cell design window designs slot 1 only: a variant left empty draws that cell, so every
    // pixel has its LEDs to hide, pick and record.
    for (std::vector<CellLed>& shapes : m_shapeSets)
        if (shapes.empty())
            shapes = cellSlots[0];
    m_points.clear();
    m_zoom = 1.0;
    m_dense = true;
    if (width == 0 || height == 0) {
        m_width = m_height = 0;
        m_current = -1;
        m_changes.Raise();
        return;
    }
    m_width = width;
    m_height = height;
    m_points.reserve(std::size_t{width} * height);
    for (std::uint32_t x = 0; x < width; ++x) {
        for (std::uint32_t y = 0; y < height; ++y) {
            LedPoint point;
            point.x = static_cast<std::uint16_t>(x);
            point.y = static_cast<std::uint16_t>(y);
            point.cellVariant = VariantOf(x, y);
            point.shapeSet = point.cellVariant - 1U;
            m_points.push_back(point);
        }
    }
    m_current = 0;
    m_changes.Raise();
}

void LayoutModel::Assign(std::uint32_t width, std::uint32_t height, std::vector<LedPoint> points,
                         std::vector<std::vector<CellLed>> shapeSets)
{
    m_width = width;
    m_height = height;
    m_points = std::move(points);
    m_shapeSets = std::move(shapeSets);
    m_current = m_points.empty() ? -1 : 0;
    m_dense = m_points.size() == std::size_t{width} * height;
    for (std::size_t i = 0; m_dense && i < m_points.size(); ++i)
        m_dense = m_points[i].x == i / height && m_points[i].y == i % height;
    m_changes.Raise();
}

std::int32_t LayoutModel::IndexOf(std::int64_t x, std::int64_t y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return -1;
    if (m_dense)
        return static_cast<std::int32_t>(x * m_height + y);
    // A restored grid may have gaps; search it then.
    const auto it = std::find_if(m_points.begin(), m_points.end(),
                                 [&](const LedPoint& p) { return p.x == x && p.y == y; });
    return it == m_points.end() ? -1 : static_cast<std::int32_t>(it - m_points.begin());
}

LedPoint* LayoutModel::Find(std::uint32_t key)
{
    const std::int32_t index = IndexOfKey(key);
    return index < 0 ? nullptr : &m_points[static_cast<std::size_t>(index)];
}

const std::vector<CellLed>& LayoutModel::ShapesOf(const LedPoint& point) const
{
    static const std::vector<CellLed> none;
    return point.shapeSet < m_shapeSets.size() ? m_shapeSets[point.shapeSet] : none;
}

void LayoutModel::SetLedVisible(LedPoint& point, unsigned led, bool visible)
{
    point.SetLedHidden(led, !visible);
    m_changes.Raise();
}

void LayoutModel::SetLedActive(LedPoint& point, unsigned led, bool active)
{
    const auto& shapes = ShapesOf(point);
    if (led >= shapes.size() || (shapes[led].active != 0) == active)
        return;
    std::vector<CellLed> changed = shapes;
    changed[led].active = active ? 1 : 0;
    point.shapeSet = FindOrAddShapeSet(std::move(changed));
    m_changes.Raise();
}

std::uint32_t LayoutModel::FindOrAddShapeSet(std::vector<CellLed> leds)
{
    const auto it = std::find(m_shapeSets.begin(), m_shapeSets.end(), leds);
    if (it != m_shapeSets.end())
        return static_cast<std::uint32_t>(it - m_shapeSets.begin());
    m_shapeSets.push_back(std::move(leds));
    return static_cast<std::uint32_t>(m_shapeSets.size() - 1);
}

int LayoutModel::ColumnWidth() const
{
    const int steps = static_cast<int>(std::lround((m_zoom - 1.0) / 0.5));
    return std::max(kMinColumnWidth, kColumnWidth - 4 * steps);
}

int LayoutModel::RowHeight() const
{
    const int steps = static_cast<int>(std::lround((m_zoom - 1.0) / 0.5));
    return std::max(kMinRowHeight, kRowHeight - 2 * steps);
}

bool LayoutModel::ZoomOut()
{
    if (m_zoom >= 9.0)
        return false;
    m_zoom += 0.5;
    ApplyZoom();
    return true;
}

bool LayoutModel::ZoomIn()
{
    if (m_zoom <= 1.0)
        return false;
    m_zoom -= 0.5;
    ApplyZoom();
    return true;
}

void LayoutModel::ApplyZoom()
{
    const auto size = static_cast<std::uint32_t>(std::lround(64.0 / m_zoom));
    for (LedPoint& point : m_points)
        point.drawWidth = point.drawHeight = size;
}

void LayoutModel::SetCurrent(std::int32_t index)
{
    if (m_current >= 0 && static_cast<std::size_t>(m_current) < m_points.size())
        m_points[static_cast<std::size_t>(m_current)].highlighted = 0;
    m_current = index;
    if (index >= 0 && static_cast<std::size_t>(index) < m_points.size())
        m_points[static_cast<std::size_t>(index)].highlighted = 1;
}

void LayoutModel::ClearTracing()
{
    for (LedPoint& point : m_points) {
        point.traced = 0;
        point.marked = 1;
        point.label = 0;
    }
    m_changes.Raise();
}

void LayoutModel::MarkAll(bool marked)
{
    for (LedPoint& point : m_points)
        point.marked = marked ? 1 : 0;
    m_changes.Raise();
}

std::size_t LayoutModel::MarkedCount() const
{
    return static_cast<std::size_t>(std::count_if(m_points.begin(), m_points.end(),
                                                  [](const LedPoint& p) { return p.marked; }));
}

void LayoutModel::RebuildVirtualDrawing(const std::array<std::uint32_t, 3>& codes)
{
    m_layer = -1;
    const bool ordinary = codes == std::array<std::uint32_t, 3>{};
    const bool modes = std::all_of(codes.begin(), codes.end(), [](std::uint32_t code) {
        return code < static_cast<std::uint32_t>(PixelDecomposition::kModeCount) ||
               code == PixelDecomposition::kUnset;
    });
    if (!ordinary && !modes)
        return;
    const std::size_t copies =
        std::min<std::size_t>(m_shapeSets.size(), PixelDecomposition::kCopyCount);
    for (std::size_t copy = 0; copy < copies; ++copy)
        for (CellLed& led : m_shapeSets[copy]) {
            if (ordinary || led.colour > 2 || codes[led.colour] == PixelDecomposition::kUnset)
                led.active = 1;
            else
                led.active = PixelDecomposition::Participates(static_cast<int>(codes[led.colour]),
                                                              static_cast<int>(copy) + 1)
                                 ? 1
                                 : 0;
        }
    m_changes.Raise();
}

} // namespace md
