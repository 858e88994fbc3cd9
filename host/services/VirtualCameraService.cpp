#include "services/VirtualCameraService.h"

#include <algorithm>

namespace md::host {

void VirtualCameraService::Configure(const VirtualCamera::Settings& settings)
{
    m_camera = VirtualCamera(settings);
    m_lastLook.reset();
    m_latest = {};
}

void VirtualCameraService::Observe(Clock::time_point now)
{
    const std::optional<VirtualModule::Frame> shown = observe ? observe() : std::nullopt;
    if (!shown)
        return;
    // The state may have changed at any moment since the last look: date it back to then.
    m_camera.Record(m_lastLook ? *m_lastLook + Clock::duration(1) : Clock::time_point(), *shown);
    m_lastLook = now;
}

void VirtualCameraService::LookLastedUntilNow()
{
    // The module is changed on the UI thread, which the camera held since its look.
    if (m_lastLook)
        m_lastLook = Clock::now();
}

bool VirtualCameraService::Available()
{
    Observe(Clock::now());
    return m_camera.HasModule();
}

const VirtualCamera::Picture& VirtualCameraService::Latest(Clock::time_point now)
{
    const Clock::time_point captured = m_camera.LatestCaptureBefore(now);
    Observe(now);
    if (m_latest.rgb.empty() || m_latest.captured != captured)
        m_latest = m_camera.Render(captured);
    LookLastedUntilNow();
    return m_latest;
}

bool VirtualCameraService::Deliver(const VirtualCamera::Picture& picture,
                                   CameraFrameRecord* frame) const
{
    if (picture.rgb.empty() || frame->capacity < picture.rgb.size())
        return false;
    std::copy(picture.rgb.begin(), picture.rgb.end(), frame->rgb);
    return true;
}

bool VirtualCameraService::Fits(CameraFrameRecord* frame, Clock::time_point captured) const
{
    if (!frame)
        return false;
    const QSize size = m_camera.HasModule() ? m_camera.Config().frame : QSize();
    frame->width = size.width();
    frame->height = size.height();
    frame->capturedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(captured.time_since_epoch()).count();
    frame->sequence =
        static_cast<std::uint32_t>(captured.time_since_epoch() / m_camera.FrameInterval());
    const std::size_t needed = static_cast<std::size_t>(size.width()) * size.height() * 3;
    return needed > 0 && frame->rgb && frame->capacity >= needed;
}

bool VirtualCameraService::LatestFrame(CameraFrameRecord* frame)
{
    const Clock::time_point now = Clock::now();
    Observe(now);
    if (!Fits(frame, m_camera.LatestCaptureBefore(now)))
        return false;
    const bool delivered = Deliver(Latest(now), frame);
    LookLastedUntilNow();
    return delivered;
}

bool VirtualCameraService::FrameAt(std::int64_t capturedNs, CameraFrameRecord* frame)
{
    const Clock::time_point captured(
        std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(capturedNs)));
    Observe(Clock::now());
    if (!Fits(frame, captured))
        return false;
    const bool delivered = Deliver(m_camera.Render(captured), frame);
    LookLastedUntilNow();
    return delivered;
}

} // namespace md::host
