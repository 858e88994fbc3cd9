#pragma once

#include <QPointF>
#include <QSize>
#include <QTransform>

namespace md::host {

/// Where the virtual camera sees the module's plane: a pinhole camera with a 60° wide view, aimed
/// at the module's centre from a distance at which the module fills about half the frame's width.
/// Plane coordinates are cells: (0, 0) is the top-left corner of pixel (0, 0), (width, height) the
/// bottom-right corner of the module; the board, the shiny frame and the controller around the
/// module lie in the same plane. A positive tilt brings the module's top edge nearer to the camera,
/// a positive turn its right edge.
class CameraGeometry
{
public:
    CameraGeometry() = default;
    CameraGeometry(QSize frame, QSize module, double tiltDegrees, double turnDegrees);

    /// The frame pixel (x to the right, y down; pixel centres at .5) that sees a plane point.
    QPointF Map(QPointF cell) const { return m_planeToFrame.map(cell); }
    /// The plane-to-frame homography.
    const QTransform& PlaneToFrame() const { return m_planeToFrame; }
    /// Frame pixels per cell around a plane point (the mean of both directions).
    double PitchAt(QPointF cell) const;
    QSize Frame() const { return m_frame; }
    QSize Module() const { return m_module; }

private:
    QSize m_frame;
    QSize m_module;
    QTransform m_planeToFrame;
};

} // namespace md::host
