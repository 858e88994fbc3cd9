#pragma once

#include <QImage>
#include <QWidget>

class QTimer;

namespace md::host {

class VirtualCameraService;

/// Shows what the virtual camera films, at its frame rate while the view is visible.
class VirtualCameraView : public QWidget
{
    Q_OBJECT
public:
    explicit VirtualCameraView(VirtualCameraService& camera, QWidget* parent = nullptr);

    /// Takes the camera's newest frame and shows it.
    void Refresh();
    /// The frame shown (null before the first one).
    const QImage& Shown() const { return m_shown; }
    QSize sizeHint() const override { return {400, 225}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    VirtualCameraService& m_camera;
    QTimer* m_timer = nullptr;
    QImage m_shown;
};

} // namespace md::host
