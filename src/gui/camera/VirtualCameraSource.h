#pragma once

#include "core/platform/FrameSource.h"
#include "md/CameraFrameRecord.h"

#include <QObject>

#include <cstdint>
#include <optional>

class QTimer;

namespace md {

class IHost;

/// The reference host's virtual camera as a frame source: while started it asks the host's
/// camera service for its newest frame a few times per frame interval and hands each new one
/// over on the UI thread. It also makes the frame of any capture time at once (simulated time).
class VirtualCameraSource final : public QObject, public FrameSource
{
    Q_OBJECT
public:
    /// Over the service of `host`; a source whose host offers no virtual camera starts no frames.
    explicit VirtualCameraSource(IHost* host, QObject* parent = nullptr);
    ~VirtualCameraSource() override;

    /// Whether the host offers a virtual camera.
    static bool Offered(IHost* host);

    std::u16string Name() const override;
    bool Start(FrameHandler handler, std::u16string& reason) override;
    void Stop() override;
    /// The virtual camera's exposure never changes.
    bool LockExposure() override { return true; }
    bool FrameAt(std::chrono::steady_clock::time_point captured, CameraFrame& frame) override;
    std::optional<std::chrono::milliseconds> Latency() const override;
    /// Whether the host runs its camera on simulated time.
    bool Simulated() const override;
    std::chrono::nanoseconds FrameInterval() const override;

    /// Looks for a new frame now (also done by the source's timer while started).
    void Poll();

private:
    bool Fetch(bool latest, std::int64_t capturedNs, CameraFrame& frame);

    IHost* m_host;
    QTimer* m_timer = nullptr;
    FrameHandler m_handler;
    CameraFrame m_frame;
    std::optional<std::uint32_t> m_lastSequence;
};

} // namespace md
