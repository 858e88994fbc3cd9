#include "vision/CameraTracer.h"

#include "core/layout/PointTracer.h"

namespace md {

namespace {

/// Frames measured on one position before the run hands it to the engineer: a confirmed
/// answer needs two, an unclear first frame is measured once more.
constexpr int kMaxFrames = 4;

} // namespace

CameraTracer::CameraTracer(PointTracer& tracer, const LedLocator& locator,
                           std::chrono::milliseconds latency, Clock now)
    : m_tracer(tracer), m_locator(locator), m_latency(latency), m_now(std::move(now))
{}

CameraTracer::~CameraTracer()
{
    if (m_state != State::Idle)
        m_tracer.SetHoldLit(false);
}

bool CameraTracer::Start(Scope scope)
{
    const std::uint32_t mode = m_tracer.EditMode();
    const bool marking = mode == 2 || mode == 3;
    if (m_tracer.Setup() == nullptr || marking || mode >= PointTracer::kFirstDeviceMode ||
        m_tracer.PointGoSelected() || m_tracer.LayoutDone())
        return false;
    if (m_tracer.AdvancedEnabled() != (scope == Scope::Advanced) ||
        (scope == Scope::Advanced && !m_tracer.AdvancedStarted()))
        return false;
    m_scope = scope;
    m_tracer.SetHoldLit(true);
    m_state = Finished() ? State::Done : State::Watching;
    if (m_state == State::Watching)
        LightNext();
    return true;
}

void CameraTracer::Stop()
{
    m_tracer.SetHoldLit(false);
    m_state = State::Idle;
    m_last.reset();
}

void CameraTracer::Resume()
{
    if (m_state != State::NeedsEngineer)
        return;
    m_state = Finished() ? State::Done : State::Watching;
    if (m_state == State::Watching)
        LightNext();
}

void CameraTracer::LightNext()
{
    m_tracer.Light(2);
    m_litAt = m_now();
    m_progressAtLit = Progress();
    m_last.reset();
    m_unsure = 0;
    m_measured = 0;
}

bool CameraTracer::Finished() const
{
    if (m_tracer.LayoutDone())
        return true;
    switch (m_scope) {
    case Scope::Advanced:
        return m_tracer.TracedCount() >= m_tracer.AdvancedTotal();
    case Scope::FirstRow:
        return m_tracer.RowComplete();
    case Scope::RowStarts: {
        const int further = int{m_tracer.Setup()->scanRows} - 1;
        return m_tracer.RowComplete() && static_cast<int>(m_tracer.Starts().size()) >= further;
    }
    }
    return false;
}

std::uint64_t CameraTracer::Progress() const
{
    return m_tracer.History().size() + m_tracer.FirstRow().size() + m_tracer.Starts().size() +
           m_tracer.TracedCount() + (m_tracer.LayoutDone() ? 1U : 0U);
}

CameraTracer::Answer CameraTracer::Classify(const LocateResult& result)
{
    if (result.status == LocateStatus::NoneLit)
        return {true, true};
    if (result.status == LocateStatus::Located && result.pixels.size() == 1)
        return {true, false, result.pixels[0].x, result.pixels[0].y};
    return {}; // review, or several pixels where one is lit: not for a machine to decide
}

CameraTracer::Outcome CameraTracer::OnFrame(const CameraFrame& frame)
{
    m_frameAnswer.reset();
    if (m_state != State::Watching || frame.Empty())
        return Outcome::Ignored;
    if (Progress() != m_progressAtLit) {
        // The engineer clicked or undid meanwhile: another position is lit from now on.
        if (Finished()) {
            m_state = State::Done;
            m_tracer.SetHoldLit(false);
        } else {
            LightNext();
        }
        return Outcome::Ignored;
    }
    if (frame.captured < m_litAt + m_latency)
        return Outcome::Ignored;
    const LocateResult& result = m_frameAnswer.emplace(m_locator.Locate(frame));
    const Answer answer = Classify(result);
    ++m_measured;
    if (answer.sure && m_last && *m_last == answer)
        return Act(answer, frame, result);
    if (!answer.sure)
        ++m_unsure;
    m_last = answer;
    if (m_unsure >= 2 || m_measured >= kMaxFrames)
        return StopHere(frame, result);
    return Outcome::Measured;
}

CameraTracer::Outcome CameraTracer::Act(const Answer& answer, const CameraFrame& frame,
                                        const LocateResult& result)
{
    const std::uint64_t before = Progress();
    if (answer.none) {
        std::uint32_t position = 0;
        std::uint32_t count = 0;
        // Only where the engineer could insert one by hand (the first row, advanced tracing).
        if (!m_tracer.VirtualPointDialogValues(position, count))
            return StopHere(frame, result);
        m_tracer.InsertVirtual(1);
    } else {
        m_tracer.Click(answer.x, answer.y);
    }
    if (Progress() == before)
        return StopHere(frame, result); // the tracer refused (a pixel traced already)
    answer.none ? ++m_virtuals : ++m_clicks;
    if (Finished()) {
        m_state = State::Done;
        m_tracer.SetHoldLit(false);
    } else {
        LightNext();
    }
    return answer.none ? Outcome::Virtual : Outcome::Clicked;
}

CameraTracer::Outcome CameraTracer::StopHere(const CameraFrame& frame, const LocateResult& result)
{
    m_state = State::NeedsEngineer;
    m_stopFrame = frame;
    m_stopAnswer = result;
    m_last.reset();
    return Outcome::Stopped;
}

} // namespace md
