#pragma once

#include "core/platform/FrameSource.h"
#include "vision/LedLocator.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace md {

class PointTracer;

/// Traces a module hands-free: for each output position the tracer lights, it watches the
/// camera's frames, and clicks the lit pixel through the tracer's own click path (so modes,
/// deduction, virtual points, undo and the unsaved state are exactly those of a mouse click).
/// Only frames captured at least one camera latency after the position was lit count, and an
/// answer counts only when a second such frame confirms it. It never guesses: what it cannot
/// tell, it hands to the engineer. It starts no threads; its caller feeds it the frames.
class CameraTracer
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    enum class Scope
    {
        FirstRow,  ///< mode 1: the first scan row, the rest is deduced
        RowStarts, ///< mode 2: the first scan row, then the start of every further scan row
        Advanced   ///< advanced tracing started: every output position
    };

    enum class State
    {
        Idle,          ///< not started, or stopped
        Watching,      ///< waiting for frames of the lit position
        NeedsEngineer, ///< no sure answer: the engineer clicks by hand, then Resume
        Done           ///< every position the scope asks for is traced
    };

    /// What a frame did.
    enum class Outcome
    {
        Ignored,  ///< not watching, or the frame was captured too early to show the position
        Measured, ///< counted, the answer still needs confirming
        Clicked,  ///< the located pixel was clicked
        Virtual,  ///< nothing lit: a virtual point was recorded
        Stopped   ///< the run stopped on this position and needs the engineer
    };

    /// latency: how long after a command the camera's frames show it. now: the steady clock
    /// (the caller's simulated one in tests).
    CameraTracer(PointTracer& tracer, const LedLocator& locator, std::chrono::milliseconds latency,
                 Clock now = &std::chrono::steady_clock::now);
    ~CameraTracer();
    CameraTracer(const CameraTracer&) = delete;
    CameraTracer& operator=(const CameraTracer&) = delete;

    /// Starts watching: the tracer holds the next position lit (no blink) and lights it now.
    /// False when the tracer cannot be traced by clicks now (a marks or device edit mode,
    /// point-go selected, advanced tracing enabled but not started, the layout finished).
    bool Start(Scope scope);
    /// Esc or Stop: the tracer blinks again; what was traced stays.
    void Stop();
    /// The tracer is gone or going (a design opened or a layout made anew replaced it): the run
    /// ends without touching it.
    void Forget() { m_state = State::Idle; }
    /// After the engineer's own click (or virtual point) on a position the run stopped on.
    void Resume();

    /// One frame of the camera. A click or undo the engineer made meanwhile lights the position
    /// the tracer wants now and the frame is not used.
    Outcome OnFrame(const CameraFrame& frame);

    State CurrentState() const { return m_state; }
    /// When the position now lit was lit; frames from before this plus the latency are stale.
    std::chrono::steady_clock::time_point LitAt() const { return m_litAt; }
    /// The frame and answer a stop was made on, for the caller to show.
    const CameraFrame& StopFrame() const { return m_stopFrame; }
    const LocateResult& StopAnswer() const { return m_stopAnswer; }
    /// What the last frame given to OnFrame was located as; null when that frame was not
    /// located (ignored as stale, or not watching). Lets a preview show it without locating
    /// the frame again.
    const LocateResult* FrameAnswer() const { return m_frameAnswer ? &*m_frameAnswer : nullptr; }
    std::uint32_t Clicks() const { return m_clicks; }
    std::uint32_t Virtuals() const { return m_virtuals; }

private:
    struct Answer
    {
        bool sure = false;
        bool none = false;
        int x = -1;
        int y = -1;
        bool operator==(const Answer&) const = default;
    };
    static Answer Classify(const LocateResult& result);
    bool Finished() const;
    std::uint64_t Progress() const;
    void LightNext();
    Outcome Act(const Answer& answer, const CameraFrame& frame, const LocateResult& result);
    Outcome StopHere(const CameraFrame& frame, const LocateResult& result);

    PointTracer& m_tracer;
    const LedLocator& m_locator;
    std::chrono::milliseconds m_latency;
    Clock m_now;
    Scope m_scope = Scope::FirstRow;
    State m_state = State::Idle;
    std::chrono::steady_clock::time_point m_litAt{};
    std::uint64_t m_progressAtLit = 0; ///< the tracing's progress when the position was lit
    std::optional<Answer> m_last;
    int m_unsure = 0;
    int m_measured = 0;
    CameraFrame m_stopFrame;
    LocateResult m_stopAnswer;
    std::optional<LocateResult> m_frameAnswer;
    std::uint32_t m_clicks = 0;
    std::uint32_t m_virtuals = 0;
};

} // namespace md
