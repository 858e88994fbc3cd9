#pragma once

#include "gui/camera/CameraList.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace md {

class CameraPicture;
class CameraTraceController;
class CommandChannel;
class HostServices;
class PointTracer;

/// The layout step's tool window for tracing by camera: the camera chooser, Calibrate, Trace,
/// Stop (also Esc) and Resume, the camera's picture with the grid drawn over it, the grid's turn
/// and mirror, and a status line. It shows and forwards; CameraTraceController does the work.
/// Its cameraState property names the controller's state for automation.
class CameraTraceDock final : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString cameraState READ CameraState NOTIFY cameraStateChanged)
public:
    CameraTraceDock(CommandChannel& channel, HostServices& host, QWidget* parent = nullptr);
    ~CameraTraceDock() override;

    CameraTraceController& Controller() { return *m_controller; }
    /// The layout's tracer and its blink timer (null while there is no layout).
    void SetTracer(PointTracer* tracer, QTimer* blink);
    QString CameraState() const;
    /// Lists the cameras again and watches the first when none is chosen.
    void RefreshCameras();

signals:
    void cameraStateChanged(const QString& state);
    /// The camera traced a position.
    void traced();
    /// Shown or hidden.
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ChooseCamera(int index);
    void ApplyOrientation();
    void ShowPicture();
    void UpdateControls();
    QString StatusText() const;

    HostServices& m_host;
    CameraTraceController* m_controller = nullptr;
    std::vector<CameraList::Entry> m_cameras;
    QComboBox* m_chooser = nullptr;
    QPushButton* m_calibrate = nullptr;
    QPushButton* m_trace = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_resume = nullptr;
    CameraPicture* m_picture = nullptr;
    QLabel* m_status = nullptr;
    QComboBox* m_turn = nullptr;
    QCheckBox* m_mirror = nullptr;
    QString m_lastState;
};

} // namespace md
