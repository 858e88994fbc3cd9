#pragma once

#include "CameraScene.h"
#include "VirtualModule.h"

#include <QColor>
#include <QPoint>
#include <QSize>

#include <chrono>
#include <cstdint>
#include <deque>
#include <vector>

namespace md::host {

/// A webcam filming the virtual module: each frame shows the module as it was one latency before
/// the frame's capture time, in perspective, through a soft lens, with a small shake, sensor noise
/// and a lit room around it (a lamp, the controller's blinking status LED, a shiny frame that
/// mirrors the lit LEDs). Frames are made on demand for any capture time, so tests run it on
/// simulated time; the same seed and capture time give the same frame.
class VirtualCamera
{
public:
    using Clock = std::chrono::steady_clock;

    struct Settings
    {
        QSize frame{1280, 720};
        double tiltDegrees = 6.0;
        double turnDegrees = -4.0;
        int latencyMs = 100;
        int framesPerSecond = 30;
        std::uint64_t seed = 1;
        double blurSigma = 1.2;  ///< the lens, in frame pixels
        double noiseSigma = 3.0; ///< grey levels in the dark
        double shakeSigma = 0.3; ///< frame pixels
        /// The plug-in steps the capture times itself instead of waiting for the clock.
        bool simulated = false;
    };

    /// A frame: packed RGB rows without padding, and when it was captured.
    struct Picture
    {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> rgb;
        Clock::time_point captured;
    };

    VirtualCamera();
    explicit VirtualCamera(Settings settings);

    const Settings& Config() const { return m_settings; }
    std::chrono::nanoseconds FrameInterval() const;
    /// The capture time of the newest frame taken at or before now (frames are taken on a fixed
    /// beat of the steady clock).
    Clock::time_point LatestCaptureBefore(Clock::time_point now) const;

    /// The module shows `shown` from `from` on. A module of another size starts a new history;
    /// times before the first record show the first state.
    void Record(Clock::time_point from, const VirtualModule::Frame& shown);
    bool HasModule() const { return !m_history.empty(); }
    /// The geometry of the current module's view (empty before the first record).
    const CameraGeometry& Geometry() const { return m_scene.Geometry(); }
    const CameraScene& Scene() const { return m_scene; }

    /// The frame captured at `captured`: the module as it was at captured − latency.
    Picture Render(Clock::time_point captured) const;
    /// Whether the controller's status LED is lit at that moment (it blinks once a second).
    static bool StatusLedOn(Clock::time_point at);

private:
    struct LitLed
    {
        QPoint cell;
        QColor colour;
        bool operator==(const LitLed&) const = default;
    };
    struct State
    {
        Clock::time_point from;
        std::vector<LitLed> lit;
    };

    const State& StateAt(Clock::time_point at) const;

    Settings m_settings;
    QSize m_module;
    CameraScene m_scene;
    std::deque<State> m_history;
};

} // namespace md::host
