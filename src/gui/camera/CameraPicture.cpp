#include "gui/camera/CameraPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace md {

CameraPicture::CameraPicture(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 90);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CameraPicture::Show(const CameraFrame& frame, const ModuleGrid* grid,
                         const std::vector<LocatedPixel>& found)
{
    if (frame.Empty()) {
        m_image = QImage();
    } else {
        // The frame's buffer is reused for the next one: the picture keeps its own copy.
        m_image = QImage(frame.rgb.data(), frame.width, frame.height, frame.width * 3,
                         QImage::Format_RGB888)
                      .copy();
    }
    m_grid = grid ? std::optional(*grid) : std::nullopt;
    m_found.clear();
    for (const LocatedPixel& pixel : found)
        m_found.push_back(pixel.camera);
    update();
}

QRectF CameraPicture::Target() const
{
    if (m_image.isNull())
        return {};
    QSizeF size = m_image.size();
    size.scale(QSizeF(width(), height()), Qt::KeepAspectRatio);
    return {QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

QPointF CameraPicture::ToWidget(GridPoint camera) const
{
    const QRectF target = Target();
    if (target.isEmpty())
        return {};
    const double scale = target.width() / m_image.width();
    return target.topLeft() + QPointF(camera.x + 0.5, camera.y + 0.5) * scale;
}

void CameraPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_image.isNull())
        return;
    // A new frame comes 30 times a second: nearest-pixel scaling keeps painting cheap.
    painter.drawImage(Target(), m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_grid) {
        const ModuleGrid& grid = *m_grid;
        const auto at = [&](double x, double y) { return ToWidget(grid.ToCamera({x, y})); };
        // Cell borders lie half a pixel outside the centres; a mapping of planes keeps them
        // straight, so each border is one line.
        const bool dense = grid.width > 48 || grid.height > 48;
        painter.setPen(QPen(QColor(0, 200, 255, dense ? 70 : 120), 1));
        for (int x = 1; x < grid.width; ++x)
            painter.drawLine(at(x - 0.5, -0.5), at(x - 0.5, grid.height - 0.5));
        for (int y = 1; y < grid.height; ++y)
            painter.drawLine(at(-0.5, y - 0.5), at(grid.width - 0.5, y - 0.5));
        painter.setPen(QPen(QColor(0, 220, 255), 2));
        QPolygonF outline;
        for (const GridPoint& corner : grid.outline)
            outline << ToWidget(corner);
        painter.drawPolygon(outline);
        // The first pixel, top left of the module as the layout grid shows it.
        painter.setBrush(QColor(255, 200, 0, 150));
        painter.setPen(Qt::NoPen);
        QPolygonF first;
        first << at(-0.5, -0.5) << at(0.5, -0.5) << at(0.5, 0.5) << at(-0.5, 0.5);
        painter.drawPolygon(first);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(80, 255, 80), 2));
    for (const GridPoint& found : m_found)
        painter.drawEllipse(ToWidget(found), 7, 7);
}

} // namespace md
