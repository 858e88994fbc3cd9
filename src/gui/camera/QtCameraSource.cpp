#include "gui/camera/QtCameraSource.h"

#include "gui/camera/VideoFrameConverter.h"

#include <QCamera>
#include <QCameraFormat>
#include <QMediaCaptureSession>
#include <QVideoFrame>
#include <QVideoSink>

#include <cmath>

namespace md {

namespace {

/// The format to ask for: near 1280 x 720 at 25 frames a second or more, raw pixels before
/// JPEG (which costs a decode per frame).
QCameraFormat PreferredFormat(const QCameraDevice& device)
{
    QCameraFormat best;
    double bestScore = 0;
    for (const QCameraFormat& format : device.videoFormats()) {
        const QSize size = format.resolution();
        if (size.isEmpty())
            continue;
        double score =
            1000.0 -
            std::abs(std::log2(double(size.width()) * size.height() / (1280.0 * 720.0))) * 100.0;
        score -= format.maxFrameRate() >= 25 ? 0 : 300;
        score -= format.pixelFormat() == QVideoFrameFormat::Format_Jpeg ? 50 : 0;
        if (best.isNull() || score > bestScore) {
            best = format;
            bestScore = score;
        }
    }
    return best;
}

} // namespace

QtCameraSource::QtCameraSource(const QCameraDevice& device, QObject* parent)
    : QObject(parent), m_device(device)
{}

QtCameraSource::~QtCameraSource()
{
    Stop();
}

std::u16string QtCameraSource::Name() const
{
    const QString name = m_device.description();
    return std::u16string(reinterpret_cast<const char16_t*>(name.utf16()),
                          static_cast<std::size_t>(name.size()));
}

bool QtCameraSource::Start(FrameHandler handler, std::u16string& reason)
{
    Stop();
    if (m_device.isNull()) {
        reason = u"The camera is no longer present.";
        return false;
    }
    m_handler = std::move(handler);
    m_delivered = 0;
    m_camera = std::make_unique<QCamera>(m_device);
    const QCameraFormat format = PreferredFormat(m_device);
    if (!format.isNull())
        m_camera->setCameraFormat(format);
    m_session = std::make_unique<QMediaCaptureSession>();
    m_sink = std::make_unique<QVideoSink>();
    m_session->setCamera(m_camera.get());
    m_session->setVideoSink(m_sink.get());
    connect(m_sink.get(), &QVideoSink::videoFrameChanged, this, &QtCameraSource::OnFrame);
    connect(m_camera.get(), &QCamera::activeChanged, this, [this](bool active) {
        if (active)
            ApplyExposureLock();
    });
    m_camera->start();
    if (m_camera->error() != QCamera::NoError) {
        const QString text = m_camera->errorString();
        reason = std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                                static_cast<std::size_t>(text.size()));
        Stop();
        return false;
    }
    return true;
}

void QtCameraSource::Stop()
{
    if (m_camera)
        m_camera->stop();
    if (m_sink)
        m_sink->disconnect(this);
    m_session.reset();
    m_sink.reset();
    m_camera.reset();
    m_handler = nullptr;
}

bool QtCameraSource::LockExposure()
{
    m_exposureLocked = true;
    if (!m_camera)
        return false; // kept, and applied once the camera runs
    ApplyExposureLock();
    return m_camera->exposureMode() == QCamera::ExposureManual;
}

void QtCameraSource::ApplyExposureLock()
{
    if (!m_exposureLocked || !m_camera)
        return;
    if (m_camera->isExposureModeSupported(QCamera::ExposureManual)) {
        const float time = m_camera->exposureTime();
        const int iso = m_camera->isoSensitivity();
        m_camera->setExposureMode(QCamera::ExposureManual);
        if (time > 0)
            m_camera->setManualExposureTime(time);
        if (iso > 0)
            m_camera->setManualIsoSensitivity(iso);
    }
    if (m_camera->isWhiteBalanceModeSupported(QCamera::WhiteBalanceManual))
        m_camera->setWhiteBalanceMode(QCamera::WhiteBalanceManual);
}

void QtCameraSource::OnFrame(const QVideoFrame& video)
{
    if (!m_handler)
        return;
    const auto arrived = std::chrono::steady_clock::now();
    if (!VideoFrameConverter::Convert(video, m_frame))
        return;
    m_frame.captured = arrived;
    ++m_delivered;
    m_handler(m_frame);
}

} // namespace md
