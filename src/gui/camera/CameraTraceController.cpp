#include "gui/camera/CameraTraceController.h"

#include "core/controller/CommandChannel.h"
#include "core/controller/CommandWords.h"
#include "core/layout/PointTracer.h"
#include "vision/CameraTracer.h"

#include <QTimer>

#include <algorithm>

namespace md {

namespace {

using namespace std::chrono_literals;

/// A webcam does not say how late its frames are: wait this long after a command.
constexpr auto kWebcamLatency = 500ms;
/// How often a live camera's picture is renewed while nothing is being calibrated or traced.
constexpr auto kIdlePicturePeriod = 500ms;
/// Share of the LED centres at full brightness that says the LEDs saturate.
constexpr double kSaturatedShare = 0.25;
/// A lit LED's level above the dark frame (0..255) below which the LEDs drown.
constexpr double kLeastLedLevel = 40;

} // namespace

const char* CameraTraceController::StateName(State state)
{
    switch (state) {
    case State::Idle:
        return "idle";
    case State::Calibrating:
        return "calibrating";
    case State::Calibrated:
        return "calibrated";
    case State::Tracing:
        return "tracing";
    case State::Waiting:
        return "waiting";
    case State::Done:
        return "done";
    case State::Failed:
        return "failed";
    }
    return "idle";
}

CameraTraceController::Warning CameraTraceController::MeasureWarning(const CameraFrame& allLit,
                                                                     const ModuleGrid& grid)
{
    int inside = 0;
    int saturated = 0;
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            const GridPoint at = grid.ToCamera({double(x), double(y)});
            const int cx = static_cast<int>(at.x + 0.5);
            const int cy = static_cast<int>(at.y + 0.5);
            if (cx < 0 || cy < 0 || cx >= allLit.width || cy >= allLit.height)
                continue;
            const std::uint8_t* p = allLit.Pixel(cx, cy);
            ++inside;
            if (std::max({p[0], p[1], p[2]}) == 255)
                ++saturated;
        }
    }
    if (inside > 0 && saturated >= kSaturatedShare * inside)
        return Warning::Saturated;
    if (grid.ledLevel < kLeastLedLevel)
        return Warning::LowContrast;
    return Warning::None;
}

CameraTraceController::CameraTraceController(CommandChannel& channel, QObject* parent)
    : QObject(parent), m_channel(channel)
{
    m_pump = new QTimer(this);
    connect(m_pump, &QTimer::timeout, this, &CameraTraceController::Step);
}

CameraTraceController::~CameraTraceController()
{
    blockSignals(true);
    SetSource(nullptr);
}

void CameraTraceController::SetTracer(PointTracer* tracer, QTimer* blink)
{
    if (tracer == m_tracer && blink == m_blink)
        return;
    if (tracer == m_tracer) {
        if (m_state == State::Calibrating)
            Restore();
        DropRun();
    } else {
        // The old tracer and its grid's blink timer may be gone already (opening a design
        // replaces the document's models before the windows drop the grid): the run and the
        // calibration end without touching them.
        if (m_run)
            m_run->Forget();
        m_run.reset();
    }
    m_tracer = tracer;
    m_blink = blink;
    DropCalibration();
    SetState(State::Idle);
}

void CameraTraceController::SetSource(std::unique_ptr<FrameSource> source)
{
    if (m_state == State::Calibrating)
        Restore();
    DropRun();
    m_pump->stop();
    if (m_source)
        m_source->Stop();
    m_source = std::move(source);
    m_sourceError.clear();
    m_picture = {};
    m_found.clear();
    DropCalibration();
    m_simulated = m_source && m_source->Simulated();
    m_simulatedNow = std::chrono::steady_clock::now();
    if (!m_paused)
        StartSource();
    Pump();
    SetState(State::Idle);
    RefreshPicture();
    emit pictureChanged();
}

bool CameraTraceController::StartSource()
{
    if (!m_source || m_simulated)
        return true;
    if (m_source->Start([this](const CameraFrame& frame) { OnFrame(frame); }, m_sourceError))
        return true;
    m_source.reset();
    return false;
}

void CameraTraceController::SetPaused(bool paused)
{
    if (paused == m_paused)
        return;
    if (paused) {
        Stop();
        if (m_source && !m_simulated)
            m_source->Stop();
    }
    m_paused = paused;
    if (!paused && !StartSource())
        SetState(State::Idle);
    Pump();
    if (!paused)
        RefreshPicture();
}

CameraTraceController::TimePoint CameraTraceController::Now()
{
    // Simulated time runs ahead of the clock, never behind it: a command is never dated
    // earlier than it was written.
    const TimePoint now = std::chrono::steady_clock::now();
    if (!m_simulated)
        return now;
    m_simulatedNow = std::max(m_simulatedNow, now);
    return m_simulatedNow;
}

std::chrono::milliseconds CameraTraceController::Latency() const
{
    const auto latency = m_source ? m_source->Latency() : std::nullopt;
    return latency.value_or(kWebcamLatency);
}

void CameraTraceController::SetState(State state)
{
    const bool changed = state != m_state;
    m_state = state;
    Pump();
    if (changed) {
        RefreshPicture();
        emit stateChanged();
    }
}

void CameraTraceController::Pump()
{
    if (!m_simulated || !m_source || m_paused || m_state == State::Waiting) {
        m_pump->stop();
        return;
    }
    if (Busy()) {
        if (!m_pump->isActive())
            m_pump->start(0ms);
        return;
    }
    // Nothing needs frames: no timer runs (a change of state makes the picture once).
    m_pump->stop();
}

bool CameraTraceController::Busy() const
{
    return m_state == State::Calibrating || m_state == State::Tracing;
}

void CameraTraceController::RefreshPicture()
{
    if (!m_simulated || !m_source || m_paused || Busy() || m_state == State::Waiting ||
        m_refreshing)
        return;
    // After the current event, so a change of state is complete before the frame is handled.
    m_refreshing = true;
    QTimer::singleShot(0ms, this, [this] {
        m_refreshing = false;
        if (m_simulated && m_source && !m_paused && !Busy() && m_state != State::Waiting)
            Step();
    });
}

void CameraTraceController::Step()
{
    if (!m_source)
        return;
    m_simulatedNow =
        std::max(m_simulatedNow + m_source->FrameInterval(), std::chrono::steady_clock::now());
    if (m_source->FrameAt(m_simulatedNow, m_frame))
        OnFrame(m_frame);
}

bool CameraTraceController::Calibrate()
{
    if (!m_source || m_paused || !m_tracer || !m_tracer->Setup() || m_state == State::Calibrating)
        return false;
    DropRun();
    DropCalibration();
    m_source->LockExposure();
    // The blink stops while the frames are taken; nothing is lit for the dark frame.
    m_blinkWasActive = m_blink && m_blink->isActive();
    if (m_blink)
        m_blink->stop();
    const LayoutSetup& setup = *m_tracer->Setup();
    const std::uint32_t polarity = setup.driverPolarity | setup.scanPolarity;
    const std::uint32_t rows = commandwords::LightingRows(setup.scanRows, m_tracer->RowAddress());
    m_channel.Send(
        commandwords::PointLighting(polarity, std::nullopt, rows, 0, m_tracer->HubAddress()));
    m_phase = Phase::Dark;
    m_phaseSince = Now();
    SetState(State::Calibrating);
    return true;
}

void CameraTraceController::OnFrame(const CameraFrame& frame)
{
    // While nothing needs frames, a live camera's picture is shown a few times a second only.
    if (!m_simulated && !Busy() && !m_picture.Empty() && frame.captured >= m_picture.captured &&
        frame.captured < m_picture.captured + kIdlePicturePeriod)
        return;
    // What the run located this frame as, when it measured it.
    const LocateResult* measured = nullptr;
    switch (m_state) {
    case State::Calibrating:
        OnCalibrationFrame(frame);
        break;
    case State::Tracing:
        OnTracingFrame(frame);
        measured = m_run ? m_run->FrameAnswer() : nullptr;
        break;
    case State::Waiting:
        return; // the stopped frame stays
    default:
        break;
    }
    if (m_state == State::Waiting)
        return;
    m_picture = frame;
    m_found.clear();
    if (m_locator && m_state != State::Calibrating) {
        // A frame the run measured is shown with the run's own answer; only the frames it
        // left aside are located here, for the picture.
        const LocateResult located = measured ? LocateResult{} : m_locator->Locate(frame);
        const LocateResult& shown = measured ? *measured : located;
        if (shown.status == LocateStatus::Located)
            m_found = shown.pixels;
    }
    emit pictureChanged();
}

void CameraTraceController::OnCalibrationFrame(const CameraFrame& frame)
{
    if (frame.captured < m_phaseSince + Latency())
        return;
    if (m_phase == Phase::Dark) {
        m_dark = frame;
        const LayoutSetup& setup = *m_tracer->Setup();
        const std::uint32_t rows =
            commandwords::LightingRows(setup.scanRows, m_tracer->RowAddress());
        m_channel.Send(commandwords::BeforeStep1(setup.driverPolarity | setup.scanPolarity, rows));
        m_phase = Phase::AllLit;
        m_phaseSince = Now();
        return;
    }
    m_allLit = frame;
    Restore();
    Fit();
}

void CameraTraceController::Fit()
{
    m_locator.reset();
    m_grid.reset();
    const LayoutSetup* setup = m_tracer ? m_tracer->Setup() : nullptr;
    if (!setup || m_allLit.Empty() || m_dark.Empty())
        return;
    const FinderResult found =
        ModuleFinder::Find(m_allLit, m_dark, setup->width, setup->height, m_orientation);
    m_failure = found.Found() ? FinderResult{} : found;
    m_failure.grid = {};
    if (!found.Found()) {
        m_warning = Warning::None;
        SetState(State::Failed);
        return;
    }
    m_grid = found.grid;
    m_locator = std::make_unique<LedLocator>(*m_grid, m_dark);
    m_warning = MeasureWarning(m_allLit, *m_grid);
    SetState(State::Calibrated);
    emit pictureChanged();
}

void CameraTraceController::Restore()
{
    // The module shows the traced position again and blinks as before.
    m_phase = Phase::None;
    if (m_tracer)
        m_tracer->Light(2);
    if (m_blink && m_blinkWasActive)
        m_blink->start();
}

bool CameraTraceController::Trace()
{
    if (!m_tracer || !m_locator || m_paused || m_state == State::Tracing ||
        m_state == State::Waiting)
        return false;
    CameraTracer::Scope scope = CameraTracer::Scope::FirstRow;
    if (m_tracer->AdvancedStarted())
        scope = CameraTracer::Scope::Advanced;
    else if (m_tracer->RowComplete() || !m_tracer->Starts().empty())
        scope = CameraTracer::Scope::RowStarts;
    m_run =
        std::make_unique<CameraTracer>(*m_tracer, *m_locator, Latency(), [this] { return Now(); });
    if (!m_run->Start(scope)) {
        m_run.reset();
        return false;
    }
    SetState(m_run->CurrentState() == CameraTracer::State::Done ? State::Done : State::Tracing);
    return true;
}

void CameraTraceController::OnTracingFrame(const CameraFrame& frame)
{
    const CameraTracer::Outcome outcome = m_run->OnFrame(frame);
    if (outcome == CameraTracer::Outcome::Clicked || outcome == CameraTracer::Outcome::Virtual)
        emit traced();
    switch (m_run->CurrentState()) {
    case CameraTracer::State::NeedsEngineer:
        m_picture = m_run->StopFrame();
        m_found = m_run->StopAnswer().pixels;
        SetState(State::Waiting);
        emit pictureChanged();
        break;
    case CameraTracer::State::Done:
        SetState(State::Done);
        break;
    default:
        break;
    }
}

void CameraTraceController::Stop()
{
    if (m_state == State::Calibrating) {
        Restore();
        DropCalibration();
        SetState(State::Idle);
        return;
    }
    if (m_state != State::Tracing && m_state != State::Waiting)
        return;
    m_run->Stop();
    SetState(State::Calibrated);
}

bool CameraTraceController::Resume()
{
    if (m_state != State::Waiting)
        return false;
    m_run->Resume();
    SetState(m_run->CurrentState() == CameraTracer::State::Done ? State::Done : State::Tracing);
    return true;
}

void CameraTraceController::SetOrientation(GridOrientation orientation)
{
    if (!orientation.Valid())
        return;
    m_orientation = orientation;
    if (m_state == State::Calibrated || m_state == State::Done || m_state == State::Failed)
        Fit();
}

std::uint32_t CameraTraceController::Clicks() const
{
    return m_run ? m_run->Clicks() : 0;
}

std::uint32_t CameraTraceController::Virtuals() const
{
    return m_run ? m_run->Virtuals() : 0;
}

void CameraTraceController::DropRun()
{
    if (m_run)
        m_run->Stop();
    m_run.reset();
}

void CameraTraceController::DropCalibration()
{
    m_phase = Phase::None;
    m_locator.reset();
    m_grid.reset();
    m_dark = {};
    m_allLit = {};
    m_failure = {};
    m_warning = Warning::None;
}

} // namespace md
