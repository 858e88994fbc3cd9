#pragma once

#include "gui/design/CellPictureCache.h"

#include <QImage>
#include <QWidget>

namespace md {

class CellDesignPresenter;

/// The 256 x 256 canvas of the cell design: the grey rounded area with the background picture,
/// a red frame for the current slot, and the LEDs of slot 1 in list order (later ones on top).
/// Pointer input goes to the presenter's pointer handling.
class CellCanvas : public QWidget
{
    Q_OBJECT
public:
    CellCanvas(CellDesignPresenter& presenter, QWidget* parent);

    /// Rebuilds the plain and framed backgrounds from the model's background picture.
    void RebuildBackgrounds();
    /// Redraws; plain leaves out the current slot's frame once.
    void Redraw(bool plain = false);
    CellPictureCache& Pictures() { return m_pictures; }

signals:
    /// After every redraw: the info fields follow the model.
    void Drawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CellDesignPresenter& m_presenter;
    CellPictureCache m_pictures;
    QImage m_plain;
    QImage m_framed;
    bool m_plainOnce = false;
};

} // namespace md
