#pragma once

#include "core/platform/FrameSource.h"
#include "vision/LedLocator.h"
#include "vision/ModuleFinder.h"

#include <QObject>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class QTimer;

namespace md {

class CameraTracer;
class CommandChannel;
class PointTracer;

/// Tracing by camera in the layout step, without its widgets: it owns the chosen camera, the
/// dark and all-lit frames, the module's grid fitted on them, the locator and the camera tracer
/// that clicks through the layout's tracer. Everything runs on the UI thread. On a camera with
/// simulated time it steps the capture times itself while calibrating or tracing, one frame
/// interval per turn of the event loop, so the window stays responsive and nothing waits for the
/// clock; otherwise it takes no frames but the picture's.
class CameraTraceController final : public QObject
{
    Q_OBJECT
public:
    enum class State
    {
        Idle,        ///< no grid yet
        Calibrating, ///< taking the dark and the all-lit frame
        Calibrated,  ///< the grid is fitted: ready to trace
        Tracing,
        Waiting, ///< stopped on a position the camera cannot tell: the engineer clicks, then Resume
        Done,
        Failed ///< the module was not found (Failure says why)
    };
    /// What the dark and all-lit frames say about the camera's exposure.
    enum class Warning
    {
        None,
        Saturated,  ///< the LEDs' centres are at full brightness
        LowContrast ///< the LEDs are hardly brighter than what is around them
    };

    /// The name automation waits for ("idle", "calibrating", ...).
    static const char* StateName(State state);
    /// The exposure warning the two calibration frames give for the fitted grid.
    static Warning MeasureWarning(const CameraFrame& allLit, const ModuleGrid& grid);

    explicit CameraTraceController(CommandChannel& channel, QObject* parent = nullptr);
    ~CameraTraceController() override;

    /// The layout's tracer and the timer that makes it blink (null while there is no layout);
    /// a new tracer drops the run and the calibration.
    void SetTracer(PointTracer* tracer, QTimer* blink);
    PointTracer* Tracer() const { return m_tracer; }
    /// Watches through source (null: none); the calibration of the previous one is dropped.
    void SetSource(std::unique_ptr<FrameSource> source);
    FrameSource* Source() const { return m_source.get(); }

    /// Takes the dark and the all-lit frame and fits the grid; false when it cannot start.
    bool Calibrate();
    /// Traces what the tracer's state asks for (the first scan row, the starts of the further
    /// ones once it is traced, every position in advanced tracing); false when it cannot start.
    bool Trace();
    /// Esc or Stop: what was traced stays.
    void Stop();
    /// Goes on after the engineer's own click on the position the run stopped on.
    bool Resume();
    /// While paused (its window hidden) no frames are taken and a run stops; the calibration
    /// stays.
    void SetPaused(bool paused);
    /// How the module appears in the picture; the grid is fitted anew at once.
    void SetOrientation(GridOrientation orientation);
    GridOrientation Orientation() const { return m_orientation; }

    /// Brings the picture up to date when nothing is calibrated or traced: on simulated time
    /// no timer runs then, so the picture is made on demand (and once after every change of
    /// state); a live camera's picture is renewed twice a second by itself.
    void RefreshPicture();

    State CurrentState() const { return m_state; }
    /// The frame to show: the newest one, or the one the run stopped on.
    const CameraFrame& Picture() const { return m_picture; }
    /// The calibration's frame with every LED lit (empty before it).
    const CameraFrame& AllLit() const { return m_allLit; }
    /// The fitted grid, when there is one.
    const ModuleGrid* Grid() const { return m_grid ? &*m_grid : nullptr; }
    /// The LEDs found lit in the shown frame.
    const std::vector<LocatedPixel>& Found() const { return m_found; }
    Warning CurrentWarning() const { return m_warning; }
    FinderFailure Failure() const { return m_failure.failure; }
    /// The failed calibration: why, and the module size the grid was looked for at.
    const FinderResult& Calibration() const { return m_failure; }
    /// Why the camera did not start (empty when it did).
    const std::u16string& SourceError() const { return m_sourceError; }
    std::uint32_t Clicks() const;
    std::uint32_t Virtuals() const;

signals:
    void stateChanged();
    /// A new picture (or overlay) to show.
    void pictureChanged();
    /// The camera traced a position: the grid has something new to show.
    void traced();

private:
    enum class Phase
    {
        None,
        Dark,
        AllLit
    };
    using TimePoint = std::chrono::steady_clock::time_point;

    TimePoint Now();
    std::chrono::milliseconds Latency() const;
    void SetState(State state);
    /// Frames at full speed while calibrating or tracing; none otherwise.
    void Pump();
    bool Busy() const;
    void Step();
    bool StartSource();
    void OnFrame(const CameraFrame& frame);
    void OnCalibrationFrame(const CameraFrame& frame);
    void OnTracingFrame(const CameraFrame& frame);
    void Fit();
    void Restore();
    void DropRun();
    void DropCalibration();

    CommandChannel& m_channel;
    PointTracer* m_tracer = nullptr;
    QTimer* m_blink = nullptr;
    bool m_blinkWasActive = false;
    std::unique_ptr<FrameSource> m_source;
    std::u16string m_sourceError;
    QTimer* m_pump = nullptr;
    bool m_simulated = false;
    bool m_paused = false;
    bool m_refreshing = false; ///< a picture on demand is on its way
    TimePoint m_simulatedNow{};
    CameraFrame m_frame; ///< the buffer frames of simulated time are made in
    CameraFrame m_picture;

    State m_state = State::Idle;
    Phase m_phase = Phase::None;
    TimePoint m_phaseSince{};
    CameraFrame m_dark;
    CameraFrame m_allLit;
    GridOrientation m_orientation;
    std::optional<ModuleGrid> m_grid;
    FinderResult m_failure; ///< the finder's answer when it found no grid
    Warning m_warning = Warning::None;
    std::unique_ptr<LedLocator> m_locator;
    std::unique_ptr<CameraTracer> m_run;
    std::vector<LocatedPixel> m_found;
};

} // namespace md
