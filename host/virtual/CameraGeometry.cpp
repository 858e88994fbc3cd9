#include "CameraGeometry.h"

#include <QLineF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace md::host {

namespace {
constexpr double kHalfViewDegrees = 30.0;
constexpr double kWidthShare = 0.55; // of the frame the module spans when seen square on
constexpr double kHeightShare = 0.6;
} // namespace

CameraGeometry::CameraGeometry(QSize frame, QSize module, double tiltDegrees, double turnDegrees)
    : m_frame(frame), m_module(module)
{
    if (frame.isEmpty() || module.isEmpty())
        return;
    const double radians = std::numbers::pi / 180.0;
    const double focal = frame.width() / 2.0 / std::tan(kHalfViewDegrees * radians);
    const double distance = std::max(module.width() * focal / (kWidthShare * frame.width()),
                                     module.height() * focal / (kHeightShare * frame.height()));
    const double tilt = tiltDegrees * radians;
    const double turn = turnDegrees * radians;
    const auto project = [&](double x, double y) {
        // Centre the module, turn it about its vertical axis, then tilt it about the horizontal.
        const double px = x - module.width() / 2.0;
        const double py = y - module.height() / 2.0;
        const double turnedX = px * std::cos(turn);
        const double turnedZ = -px * std::sin(turn);
        const double tiltedY = py * std::cos(tilt) - turnedZ * std::sin(tilt);
        const double tiltedZ = py * std::sin(tilt) + turnedZ * std::cos(tilt);
        const double depth = distance + tiltedZ;
        return QPointF(frame.width() / 2.0 + focal * turnedX / depth,
                       frame.height() / 2.0 + focal * tiltedY / depth);
    };
    const double w = module.width(), h = module.height();
    const QPolygonF plane{QPointF(0, 0), QPointF(w, 0), QPointF(w, h), QPointF(0, h)};
    const QPolygonF seen{project(0, 0), project(w, 0), project(w, h), project(0, h)};
    QTransform::quadToQuad(plane, seen, m_planeToFrame);
}

double CameraGeometry::PitchAt(QPointF cell) const
{
    const QPointF here = Map(cell);
    return (QLineF(here, Map(cell + QPointF(1, 0))).length() +
            QLineF(here, Map(cell + QPointF(0, 1))).length()) /
           2.0;
}

} // namespace md::host
