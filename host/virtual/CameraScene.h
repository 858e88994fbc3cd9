#pragma once

#include "CameraGeometry.h"
#include "CameraRaster.h"

#include <QPointF>
#include <QRectF>

namespace md::host {

/// What the virtual camera sees around the module, which stays the same from frame to frame: a lit
/// wall with a gradient, a bright lamp at the frame's edge, the module's board with its dark LEDs,
/// a shiny metal frame below the module and the controller box beside it. Drawn once and blurred by
/// the lens; the light of the LEDs is added per frame.
class CameraScene
{
public:
    CameraScene() = default;
    CameraScene(const CameraGeometry& geometry, double blurSigma);

    const CameraGeometry& Geometry() const { return m_geometry; }
    /// The unlit picture, lens blur included.
    const CameraRaster& Background() const { return m_background; }
    /// The shiny frame's strip in plane coordinates (cells), where lit LEDs are mirrored.
    QRectF ShinyFrame() const;
    /// The controller's status LED in plane coordinates.
    QPointF StatusLed() const;

private:
    CameraGeometry m_geometry;
    CameraRaster m_background;
};

} // namespace md::host
