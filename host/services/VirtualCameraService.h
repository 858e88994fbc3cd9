#pragma once

#include "md/IVirtualCamera.h"
#include "virtual/VirtualCamera.h"

#include <functional>
#include <optional>
#include <string>

namespace md::host {

/// The virtual camera as a host service: it films whatever the host's virtual module shows. Before
/// each frame it asks the host for the module's state (Observe), so a command the plug-in has just
/// written is seen; a change is dated just after the previous look ended, so a frame is never
/// staler than the camera's latency says.
class VirtualCameraService final : public IVirtualCamera
{
public:
    using Clock = VirtualCamera::Clock;

    VirtualCameraService() = default;

    /// New settings; the module's history starts again.
    void Configure(const VirtualCamera::Settings& settings);
    const VirtualCamera& Camera() const { return m_camera; }
    /// Whether there is a module to film (the service is offered only then).
    bool Available();

    /// The module's present state as the host shows it; called before every frame.
    std::function<std::optional<VirtualModule::Frame>()> observe;
    /// Takes the module's state now (also done before every frame).
    void Observe(Clock::time_point now);

    /// The newest frame at `now`, made once per frame beat.
    const VirtualCamera::Picture& Latest(Clock::time_point now);

    // IVirtualCamera
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    const char16_t* Name() override { return m_name.c_str(); }
    bool LatestFrame(CameraFrameRecord* frame) override;
    bool FrameAt(std::int64_t capturedNs, CameraFrameRecord* frame) override;
    std::int64_t FrameIntervalNs() override { return m_camera.FrameInterval().count(); }
    std::int32_t LatencyMs() override { return m_camera.Config().latencyMs; }
    bool Simulated() override { return m_camera.Config().simulated; }

private:
    /// Fills the record's size, capture time and sequence; whether its buffer holds the frame.
    bool Fits(CameraFrameRecord* frame, Clock::time_point captured) const;
    bool Deliver(const VirtualCamera::Picture& picture, CameraFrameRecord* frame) const;
    void LookLastedUntilNow();

    std::u16string m_name = u"Virtual camera";
    VirtualCamera m_camera;
    std::optional<Clock::time_point> m_lastLook;
    VirtualCamera::Picture m_latest;
};

} // namespace md::host
