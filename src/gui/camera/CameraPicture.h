#pragma once

#include "core/platform/FrameSource.h"
#include "vision/LedLocator.h"
#include "vision/ModuleGrid.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

namespace md {

/// What the camera sees, scaled to the widget: the frame, the module's fitted grid drawn over
/// it (its first pixel marked, so a grid the wrong way round shows at once) and the LEDs found
/// lit in the frame ringed.
class CameraPicture final : public QWidget
{
    Q_OBJECT
public:
    explicit CameraPicture(QWidget* parent = nullptr);

    void Show(const CameraFrame& frame, const ModuleGrid* grid,
              const std::vector<LocatedPixel>& found);
    /// The shown frame's picture (null before the first).
    const QImage& Image() const { return m_image; }
    /// Where a camera position lands in the widget.
    QPointF ToWidget(GridPoint camera) const;

    QSize sizeHint() const override { return {480, 270}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF Target() const;

    QImage m_image;
    std::optional<ModuleGrid> m_grid;
    std::vector<GridPoint> m_found;
};

} // namespace md
