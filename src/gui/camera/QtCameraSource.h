#pragma once

#include "core/platform/FrameSource.h"

#include <QCameraDevice>
#include <QObject>

#include <memory>

class QCamera;
class QMediaCaptureSession;
class QVideoFrame;
class QVideoSink;

namespace md {

/// A webcam through Qt Multimedia: the camera feeds a capture session whose video sink hands
/// each frame over on the UI thread, where its planes are read into packed RGB. A frame's
/// capture time is when it reached the sink.
class QtCameraSource final : public QObject, public FrameSource
{
    Q_OBJECT
public:
    explicit QtCameraSource(const QCameraDevice& device, QObject* parent = nullptr);
    ~QtCameraSource() override;

    std::u16string Name() const override;
    bool Start(FrameHandler handler, std::u16string& reason) override;
    void Stop() override;
    /// Asks for manual exposure at the present exposure time and sensitivity, and manual white
    /// balance, so the picture's brightness stays as the all-lit and dark frames found it.
    /// Before Start the wish is kept for when the camera runs, and the answer is false.
    bool LockExposure() override;

    const QCameraDevice& Device() const { return m_device; }
    /// Frames delivered since Start.
    int FramesDelivered() const { return m_delivered; }

private:
    void OnFrame(const QVideoFrame& video);
    void ApplyExposureLock();

    QCameraDevice m_device;
    std::unique_ptr<QCamera> m_camera;
    std::unique_ptr<QMediaCaptureSession> m_session;
    std::unique_ptr<QVideoSink> m_sink;
    FrameHandler m_handler;
    CameraFrame m_frame;
    bool m_exposureLocked = false;
    int m_delivered = 0;
};

} // namespace md
