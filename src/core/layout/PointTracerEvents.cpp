// The tracing steps as the user takes them, each told to the event sink once it changed the
// tracing: the design's undo history and its recovery record follow the tracing from here.
#include "core/layout/PointTracer.h"

#include <algorithm>

namespace md {

PointTracer::Progress PointTracer::CurrentProgress() const
{
    return {m_history.size(), m_firstRow.size(), m_starts.size(), m_records.size(),
            m_tracedCount,    m_layoutDone,      m_markChanges,   m_ordinal};
}

void PointTracer::MarkStep(std::int32_t index, bool marked)
{
    LedPoint& pixel = m_model.Points()[static_cast<std::size_t>(index)];
    if ((pixel.marked != 0) == marked)
        return;
    const LayoutModel::ChangeScope change(m_model);
    pixel.marked = marked ? 1 : 0;
    ++m_markChanges;
    m_lastMark = marked;
}

template <class Step, class MakeEvent>
auto PointTracer::Reported(Step step, MakeEvent makeEvent)
{
    if (m_stepDepth > 0 || !m_sink)
        return step();
    const Progress before = CurrentProgress();
    const bool present = m_layoutPresent;
    const bool hadResult = !m_result.empty();
    ++m_stepDepth;
    const auto result = step();
    --m_stepDepth;
    Progress after = CurrentProgress();
    if (!(after == before)) {
        Event event = makeEvent();
        event.presentBefore = present;
        event.resultBefore = hadResult;
        if (after.marks != before.marks) {
            event.mark = m_lastMark ? 1 : 0;
            after.marks = before.marks;
            if (after == before)
                event.kind = Event::Kind::Mark; // the mark changed, the tracing did not
        }
        m_sink(event);
    }
    return result;
}

int PointTracer::Trace(GridCell cell, bool click)
{
    return Reported([&] { return TraceStep(cell, click); },
                    [&] {
                        return Event{Event::Kind::Click, cell.column - 1, cell.row - 1};
                    });
}

int PointTracer::Click(int x, int y)
{
    return Reported([&] { return ClickStep(x, y); },
                    [&] {
                        return Event{Event::Kind::Click, x, y};
                    });
}

int PointTracer::MoveFocus(Key key)
{
    // Replayed as a click on the cell the focus moved to, so it does not depend on the focus.
    return Reported([&] { return MoveFocusStep(key); },
                    [&] {
                        return Event{Event::Kind::Click, m_focus.column - 1, m_focus.row - 1};
                    });
}

bool PointTracer::Analyse(bool check)
{
    return Reported([&] { return AnalyseStep(check); }, [] { return Event{Event::Kind::Finish}; });
}

void PointTracer::InsertVirtual(std::uint32_t count)
{
    if (RefusedForPointGo())
        return;
    const std::size_t before = m_firstRow.size() + m_records.size();
    Reported(
        [&] {
            InsertVirtualStep(count);
            return 0;
        },
        [&] {
            const std::size_t inserted = m_firstRow.size() + m_records.size() - before;
            return Event{Event::Kind::Virtual, 0, 0, static_cast<std::uint32_t>(inserted)};
        });
}

int PointTracer::Undo()
{
    if (RefusedForPointGo())
        return -1;
    return Reported([&] { return UndoStep(); }, [] { return Event{Event::Kind::Undo}; });
}

void PointTracer::SetMark(int x, int y, bool marked)
{
    const std::int32_t index = m_model.IndexOf(x, y);
    if (index < 0)
        return;
    Reported(
        [&] {
            MarkStep(index, marked);
            return 0;
        },
        [&] {
            return Event{Event::Kind::Mark, x, y};
        });
}

void PointTracer::MarkAll(bool marked)
{
    Reported(
        [&] {
            const auto& points = m_model.Points();
            if (std::any_of(points.begin(), points.end(),
                            [&](const LedPoint& p) { return (p.marked != 0) != marked; })) {
                m_model.MarkAll(marked);
                ++m_markChanges;
                m_lastMark = marked;
            }
            return 0;
        },
        [] {
            return Event{Event::Kind::Mark, -1, -1};
        });
}

} // namespace md
