#include "gui/camera/VirtualCameraSource.h"

#include "md/IHost.h"
#include "md/IVirtualCamera.h"

#include <QTimer>

namespace md {

namespace {

/// The host's camera service for the length of one call, released after it.
class CameraLookup
{
public:
    explicit CameraLookup(IHost* host)
    {
        void* out = nullptr;
        if (host && host->QueryService(kVirtualCameraId, kVirtualCameraCode, &out))
            m_camera = static_cast<IVirtualCamera*>(out);
    }
    ~CameraLookup()
    {
        if (m_camera)
            m_camera->Release();
    }
    CameraLookup(const CameraLookup&) = delete;
    CameraLookup& operator=(const CameraLookup&) = delete;

    IVirtualCamera* operator->() const { return m_camera; }
    explicit operator bool() const { return m_camera != nullptr; }

private:
    IVirtualCamera* m_camera = nullptr;
};

constexpr int kPollsPerFrame = 3;

} // namespace

VirtualCameraSource::VirtualCameraSource(IHost* host, QObject* parent)
    : QObject(parent), m_host(host)
{
    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &VirtualCameraSource::Poll);
}

VirtualCameraSource::~VirtualCameraSource()
{
    Stop();
}

bool VirtualCameraSource::Offered(IHost* host)
{
    return static_cast<bool>(CameraLookup(host));
}

std::u16string VirtualCameraSource::Name() const
{
    const CameraLookup camera(m_host);
    const char16_t* name = camera ? camera->Name() : nullptr;
    return name ? std::u16string(name) : std::u16string();
}

bool VirtualCameraSource::Start(FrameHandler handler, std::u16string& reason)
{
    Stop();
    const CameraLookup camera(m_host);
    if (!camera) {
        reason = u"The host offers no virtual camera.";
        return false;
    }
    const auto interval = std::chrono::nanoseconds(camera->FrameIntervalNs());
    m_handler = std::move(handler);
    m_lastSequence.reset();
    m_timer->start(std::max<std::chrono::milliseconds>(
        std::chrono::duration_cast<std::chrono::milliseconds>(interval / kPollsPerFrame),
        std::chrono::milliseconds(1)));
    return true;
}

void VirtualCameraSource::Stop()
{
    m_timer->stop();
    m_handler = nullptr;
}

std::optional<std::chrono::milliseconds> VirtualCameraSource::Latency() const
{
    const CameraLookup camera(m_host);
    if (!camera)
        return std::nullopt;
    return std::chrono::milliseconds(camera->LatencyMs());
}

bool VirtualCameraSource::Simulated() const
{
    const CameraLookup camera(m_host);
    return camera && camera->Simulated();
}

std::chrono::nanoseconds VirtualCameraSource::FrameInterval() const
{
    const CameraLookup camera(m_host);
    return camera ? std::chrono::nanoseconds(camera->FrameIntervalNs())
                  : FrameSource::FrameInterval();
}

bool VirtualCameraSource::Fetch(bool latest, std::int64_t capturedNs, CameraFrame& frame)
{
    const CameraLookup camera(m_host);
    if (!camera)
        return false;
    if (latest) {
        // Asked without room, the camera says which frame is newest without copying it.
        CameraFrameRecord probe{};
        camera->LatestFrame(&probe);
        if (m_lastSequence == probe.sequence)
            return false;
    }
    CameraFrameRecord record{};
    record.rgb = frame.rgb.data();
    record.capacity = static_cast<std::uint32_t>(frame.rgb.size());
    const auto ask = [&] {
        return latest ? camera->LatestFrame(&record) : camera->FrameAt(capturedNs, &record);
    };
    bool got = ask();
    if (!got && record.width > 0 && record.height > 0) {
        // The first frame, or a new size: make room and ask again.
        frame.rgb.resize(static_cast<std::size_t>(record.width) * record.height * 3);
        record.rgb = frame.rgb.data();
        record.capacity = static_cast<std::uint32_t>(frame.rgb.size());
        got = ask();
    }
    if (!got)
        return false;
    frame.width = record.width;
    frame.height = record.height;
    frame.captured = std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::nanoseconds(record.capturedNs)));
    if (latest)
        m_lastSequence = record.sequence;
    return true;
}

void VirtualCameraSource::Poll()
{
    if (!m_handler)
        return;
    if (!Fetch(true, 0, m_frame))
        return;
    // The handler may stop the source: keep it alive for this call.
    const FrameHandler handler = m_handler;
    handler(m_frame);
}

bool VirtualCameraSource::FrameAt(std::chrono::steady_clock::time_point captured,
                                  CameraFrame& frame)
{
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(captured.time_since_epoch());
    return Fetch(false, ns.count(), frame);
}

} // namespace md
