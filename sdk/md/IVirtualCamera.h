#pragma once

#include "md/CameraFrameRecord.h"
#include "md/IBaseInterface.h"

namespace md {

/// The reference host's virtual camera, a host service of our own: it films the host's virtual
/// module as a webcam would, with a latency, blur, noise and a lit room around it.
inline constexpr const char* kVirtualCameraId = "639057E9-707E-4B48-A988-057CBF442763";
inline constexpr std::uint32_t kVirtualCameraCode = 1;

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// Frames of the virtual camera. Both frame calls fill the record's size, capture time and
/// sequence and copy the pixels when the caller's buffer holds them; they return true only when
/// the pixels were copied (so a first call with capacity 0 asks for the size).
class IVirtualCamera : public IBaseInterface
{
public:
    /// The camera's name as the camera list shows it (zero-terminated, owned by the host).
    virtual const char16_t* Name() = 0; // 2
    /// The newest frame taken up to now (the camera takes one every FrameIntervalNs).
    virtual bool LatestFrame(CameraFrameRecord* frame) = 0; // 3
    /// The frame a capture at capturedNs gives, made at once without waiting for that moment
    /// (simulated time: a later capture time shows the module's present state).
    virtual bool FrameAt(std::int64_t capturedNs, CameraFrameRecord* frame) = 0; // 4
    /// Nanoseconds between two frames.
    virtual std::int64_t FrameIntervalNs() = 0; // 5
    /// How long after the module changes the camera's frames show it, in milliseconds.
    virtual std::int32_t LatencyMs() = 0; // 6
    /// Whether the host runs the camera on simulated time: the plug-in then asks for the frames
    /// of capture times it steps itself (FrameAt) instead of waiting for the clock.
    virtual bool Simulated() = 0; // 7
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
