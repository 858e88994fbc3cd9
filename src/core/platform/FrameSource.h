#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace md {

/// One picture from a camera: packed 8-bit RGB, row after row with no padding, and the moment
/// the sensor took it on the steady clock (so a frame can be matched with the command that was
/// written before it).
struct CameraFrame
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; ///< width * height * 3 bytes
    std::chrono::steady_clock::time_point captured;

    bool Empty() const { return width <= 0 || height <= 0 || rgb.empty(); }
    const std::uint8_t* Pixel(int x, int y) const
    {
        return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)) *
                                3;
    }
};

/// A camera the tracing can watch the module through: a webcam, or the reference host's
/// virtual camera. Frames arrive on the thread that owns the source (the UI thread in the
/// plug-in); the source starts no threads of its own towards the core.
class FrameSource
{
public:
    using FrameHandler = std::function<void(const CameraFrame&)>;

    virtual ~FrameSource() = default;
    /// What the user sees in the camera list.
    virtual std::u16string Name() const = 0;
    /// Starts delivering frames to handler; false with a reason when the camera cannot start.
    virtual bool Start(FrameHandler handler, std::u16string& reason) = 0;
    virtual void Stop() = 0;
    /// Asks for a fixed exposure; false when the driver does not allow it (the caller then
    /// measures from the dark and all-lit frames instead).
    virtual bool LockExposure() = 0;
    /// The frame a capture at `captured` gives, made at once without waiting for that moment.
    /// Only a source that renders its pictures can (the reference host's virtual camera): tests
    /// and the demo trace with it on simulated time. A real camera answers false.
    virtual bool FrameAt(std::chrono::steady_clock::time_point /*captured*/, CameraFrame& /*frame*/)
    {
        return false;
    }
    /// How long after the module changes the source's frames show it, when the source knows
    /// (the virtual camera does); nothing for a webcam, whose delay the caller measures.
    virtual std::optional<std::chrono::milliseconds> Latency() const { return std::nullopt; }
    /// Whether the source runs on simulated time: its user then steps the capture times itself
    /// and asks FrameAt for each, instead of waiting for Start's frames.
    virtual bool Simulated() const { return false; }
    /// Time between two frames (a webcam's nominal rate when it does not say).
    virtual std::chrono::nanoseconds FrameInterval() const
    {
        return std::chrono::nanoseconds(1'000'000'000 / 30);
    }
};

} // namespace md
