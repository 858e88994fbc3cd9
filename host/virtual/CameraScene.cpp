#include "CameraScene.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace md::host {

namespace {

/// The board, its LEDs and the frame drawn flat in the plane, fine enough for the camera's pitch,
/// then drawn through the homography.
QImage PlanePicture(const CameraScene& scene, QRectF plane, double pixelsPerCell)
{
    const QSize module = scene.Geometry().Module();
    QImage picture(std::max(1, static_cast<int>(std::ceil(plane.width() * pixelsPerCell))),
                   std::max(1, static_cast<int>(std::ceil(plane.height() * pixelsPerCell))),
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixelsPerCell, pixelsPerCell);
    painter.translate(-plane.topLeft());
    painter.setPen(Qt::NoPen);

    // The controller box with its connector strip; its status LED is added per frame.
    const QPointF led = scene.StatusLed();
    const QRectF box(led.x() - 1.2, led.y() - 1.0, std::max(4.0, module.width() * 0.16),
                     std::max(3.0, module.height() * 0.3));
    painter.setBrush(QColor(48, 50, 54));
    painter.drawRoundedRect(box, 0.3, 0.3);
    painter.setBrush(QColor(78, 80, 84));
    painter.drawRect(QRectF(box.left() + 0.4, box.bottom() - 0.9, box.width() - 0.8, 0.5));
    painter.setBrush(QColor(30, 34, 30));
    painter.drawEllipse(led, 0.35, 0.35);

    // The shiny frame: brushed metal, lighter along its upper lip.
    const QRectF shiny = scene.ShinyFrame();
    QLinearGradient metal(shiny.topLeft(), shiny.bottomLeft());
    metal.setColorAt(0.0, QColor(170, 172, 178));
    metal.setColorAt(0.25, QColor(120, 122, 128));
    metal.setColorAt(1.0, QColor(92, 94, 100));
    painter.setBrush(metal);
    painter.drawRect(shiny);

    // The board and its dark LEDs.
    painter.setBrush(QColor(24, 26, 28));
    painter.drawRect(QRectF(-0.4, -0.4, module.width() + 0.8, module.height() + 0.8));
    painter.setBrush(QColor(58, 58, 62));
    for (int y = 0; y < module.height(); ++y)
        for (int x = 0; x < module.width(); ++x)
            painter.drawEllipse(QPointF(x + 0.5, y + 0.5), 0.28, 0.28);
    return picture;
}

} // namespace

CameraScene::CameraScene(const CameraGeometry& geometry, double blurSigma) : m_geometry(geometry)
{
    const QSize frame = geometry.Frame();
    const QSize module = geometry.Module();
    if (frame.isEmpty() || module.isEmpty())
        return;
    QImage picture(frame, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // A lit wall, lighter towards the lamp.
    QLinearGradient wall(0, frame.height(), frame.width(), 0);
    wall.setColorAt(0.0, QColor(78, 74, 70));
    wall.setColorAt(1.0, QColor(150, 146, 138));
    painter.fillRect(picture.rect(), wall);
    // The lamp just inside the top-right edge: a white core the sensor clips, a warm halo.
    const QPointF lamp(frame.width() * 0.97, frame.height() * 0.1);
    const double reach = frame.width() * 0.16;
    QRadialGradient halo(lamp, reach);
    halo.setColorAt(0.0, QColor(255, 255, 250));
    halo.setColorAt(0.18, QColor(255, 252, 236));
    halo.setColorAt(0.5, QColor(230, 214, 180, 120));
    halo.setColorAt(1.0, QColor(230, 214, 180, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(lamp, reach, reach);

    // Everything in the module's plane, drawn through the perspective.
    const QRectF shiny = ShinyFrame();
    const QPointF led = StatusLed();
    const QRectF plane = QRectF(-0.5, -0.5, module.width() + 1.0, module.height() + 1.0)
                             .united(shiny)
                             .united(QRectF(led.x() - 1.5, led.y() - 1.5, module.width() * 0.2 + 3,
                                            module.height() * 0.35 + 3));
    const double pixelsPerCell =
        std::clamp(std::ceil(geometry.PitchAt(QPointF(0, 0)) * 1.5), 4.0, 24.0);
    const QImage flat = PlanePicture(*this, plane, pixelsPerCell);
    QTransform toPlane;
    toPlane.translate(plane.left(), plane.top());
    toPlane.scale(1.0 / pixelsPerCell, 1.0 / pixelsPerCell);
    painter.setTransform(toPlane * geometry.PlaneToFrame());
    painter.drawImage(QPointF(0, 0), flat);
    painter.end();

    m_background = CameraRaster::FromImage(picture);
    m_background.Blur(blurSigma);
}

QRectF CameraScene::ShinyFrame() const
{
    const QSize module = m_geometry.Module();
    return {-1.0, module.height() + 0.9, module.width() + 2.0,
            std::max(1.6, module.height() * 0.08)};
}

QPointF CameraScene::StatusLed() const
{
    const QSize module = m_geometry.Module();
    return {-2.2 - module.width() * 0.16, module.height() * 0.55};
}

} // namespace md::host
