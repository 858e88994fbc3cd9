#include "core/document/DesignEdits.h"

#include "core/document/ModuleDesignDocument.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace md {

namespace {

/// An edit kept as the part it changed, before and after.
template <class Part>
class MementoCommand final : public UndoCommand
{
public:
    using Apply = std::function<void(const Part&)>;
    MementoCommand(Apply apply, Part before, Part after)
        : m_apply(std::move(apply)), m_before(std::move(before)), m_after(std::move(after))
    {}
    void Undo() override { m_apply(m_before); }
    void Redo() override { m_apply(m_after); }

private:
    Apply m_apply;
    Part m_before;
    Part m_after;
};

template <class Part>
std::unique_ptr<UndoCommand> Memento(typename MementoCommand<Part>::Apply apply, Part before,
                                     Part after)
{
    return std::make_unique<MementoCommand<Part>>(std::move(apply), std::move(before),
                                                  std::move(after));
}

/// The cell's content; the selection and the info texts are looking about, not edits.
struct CellPart
{
    std::uint16_t cellSize = 0;
    std::array<std::vector<CellLed>, CellDesign::kSlotCount> slots;
    std::vector<LightImage> images;
    LightImage background;

    static CellPart Of(const CellDesign& cell)
    {
        CellPart part{cell.CellSize(), {}, cell.Images(), cell.Background()};
        for (int i = 0; i < CellDesign::kSlotCount; ++i)
            part.slots[i] = cell.Slot(i + 1);
        return part;
    }
    bool SameContent(const CellPart& other) const
    {
        if (cellSize != other.cellSize || images != other.images || background != other.background)
            return false;
        for (int i = 0; i < CellDesign::kSlotCount; ++i) {
            if (slots[i].size() != other.slots[i].size())
                return false;
            for (std::size_t j = 0; j < slots[i].size(); ++j) {
                CellLed a = slots[i][j];
                CellLed b = other.slots[i][j];
                a.selected = b.selected = 0;
                a.showInfo = b.showInfo = 0;
                if (!(a == b))
                    return false;
            }
        }
        return true;
    }
};

bool SamePins(const std::vector<SocketPin>& a, const std::vector<SocketPin>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const SocketPin& p, const SocketPin& q) {
                          return p.index == q.index && p.left == q.left && p.top == q.top &&
                                 p.right == q.right && p.bottom == q.bottom && p.code == q.code;
                      });
}

using Markers = std::pair<BackgroundDesign::Point, BackgroundDesign::Point>;
using ConnectorTables = std::pair<ConnectorTable, ConnectorTable>;

/// A tracing step: undone by the tracer's own undo, done again through the tracer.
class TraceCommand final : public UndoCommand
{
public:
    TraceCommand(ModuleDesignDocument& document, PointTracer::Event event, std::size_t rowBefore)
        : m_document(document), m_event(event), m_rowBefore(rowBefore)
    {}
    void Undo() override
    {
        if (PointTracer* tracer = m_document.Tracer()) {
            tracer->Undo();
            UndoneElsewhere();
        }
    }
    /// One tracer undo took back one point: a virtual insert may need more, or fewer.
    void UndoneElsewhere() override
    {
        PointTracer* tracer = m_document.Tracer();
        if (!tracer)
            return;
        // The analysis a step ran stored a result: the one before is the same analysis of the
        // points before (or none).
        if (m_event.kind == PointTracer::Event::Kind::Click) {
            if (m_event.resultBefore)
                tracer->Analyse(false);
            else
                tracer->Result().clear();
        }
        tracer->SetLayoutPresent(m_event.presentBefore);
        // The click in the paint or erase marks mode changed the mark too.
        if (m_event.mark >= 0)
            tracer->SetMark(m_event.x, m_event.y, m_event.mark == 0);
        if (m_event.kind != PointTracer::Event::Kind::Virtual)
            return;
        if (tracer->AdvancedStarted()) {
            for (std::uint32_t i = 1; i < m_event.count; ++i)
                tracer->Undo();
            return;
        }
        // The tracer's undo drops every virtual point at the end of the first row; the ones
        // inserted before this step come back.
        if (tracer->FirstRow().size() < m_rowBefore)
            tracer->InsertVirtual(
                static_cast<std::uint32_t>(m_rowBefore - tracer->FirstRow().size()));
    }
    void Redo() override
    {
        PointTracer* tracer = m_document.Tracer();
        if (!tracer)
            return;
        switch (m_event.kind) {
        case PointTracer::Event::Kind::Click: {
            if (m_event.mark >= 0)
                tracer->SetMark(m_event.x, m_event.y, m_event.mark != 0);
            // Whatever mode the grid is in now: the mark is given above.
            const std::uint32_t mode = tracer->EditMode();
            tracer->SetEditMode(0);
            tracer->Click(m_event.x, m_event.y);
            tracer->SetEditMode(mode);
            break;
        }
        case PointTracer::Event::Kind::Virtual:
            tracer->InsertVirtual(m_event.count);
            break;
        case PointTracer::Event::Kind::Finish:
            tracer->Analyse(true);
            break;
        default:
            break;
        }
    }
    bool Tracing() const override { return true; }

private:
    ModuleDesignDocument& m_document;
    PointTracer::Event m_event;
    std::size_t m_rowBefore;
};

/// A pixel marked or unmarked by a click in the paint or erase marks mode that traced nothing.
class MarkCommand final : public UndoCommand
{
public:
    MarkCommand(ModuleDesignDocument& document, int x, int y, bool marked)
        : m_document(document), m_x(x), m_y(y), m_marked(marked)
    {}
    void Undo() override { Apply(!m_marked); }
    void Redo() override { Apply(m_marked); }

private:
    void Apply(bool marked)
    {
        if (PointTracer* tracer = m_document.Tracer())
            tracer->SetMark(m_x, m_y, marked);
    }

    ModuleDesignDocument& m_document;
    int m_x;
    int m_y;
    bool m_marked;
};

} // namespace

DesignEdits::DesignEdits(ModuleDesignDocument& document) : m_document(document) {}

bool DesignEdits::Undo()
{
    const PointTracer* tracer = m_document.Tracer();
    if (tracer && tracer->PointGoSelected() && m_stack.Top() && m_stack.Top()->Tracing())
        return false;
    return m_stack.Undo();
}

bool DesignEdits::Redo()
{
    const PointTracer* tracer = m_document.Tracer();
    if (tracer && tracer->PointGoSelected() && m_stack.Next() && m_stack.Next()->Tracing())
        return false;
    return m_stack.Redo();
}

bool DesignEdits::Socket(const std::function<bool()>& edit)
{
    std::vector<SocketPin> before = m_document.Socket().Pins();
    const bool result = edit();
    std::vector<SocketPin> after = m_document.Socket().Pins();
    if (!SamePins(before, after)) {
        m_stack.Push(Memento<std::vector<SocketPin>>(
            [this](const std::vector<SocketPin>& pins) {
                m_document.Socket().Pins() = pins;
                m_document.Socket().Changes().Raise();
            },
            std::move(before), std::move(after)));
    }
    return result;
}

bool DesignEdits::Cell(const std::function<bool()>& edit)
{
    CellPart before = CellPart::Of(m_document.Cell());
    const bool result = edit();
    CellPart after = CellPart::Of(m_document.Cell());
    if (!before.SameContent(after)) {
        m_stack.Push(Memento<CellPart>(
            [this](const CellPart& part) {
                CellDesign& cell = m_document.Cell();
                cell.SetCellSize(part.cellSize);
                cell.Restore(part.images, part.background, part.slots);
            },
            std::move(before), std::move(after)));
    }
    return result;
}

void DesignEdits::Connectors(const std::function<void()>& edit)
{
    const auto tables = [this] {
        return ConnectorTables{m_document.Connectors(), m_document.Setup().connectors};
    };
    ConnectorTables before = tables();
    edit();
    ConnectorTables after = tables();
    if (before == after)
        return;
    m_document.Touch();
    m_stack.Push(Memento<ConnectorTables>(
        [this](const ConnectorTables& part) {
            m_document.Setup().connectors = part.second;
            m_document.SetConnectors(part.first);
        },
        std::move(before), std::move(after)));
}

void DesignEdits::Marks(const std::function<void()>& edit)
{
    using MarkSet = std::vector<std::uint8_t>;
    const auto marks = [this] {
        MarkSet set;
        for (const LedPoint& point : m_document.Layout().Points())
            set.push_back(point.marked != 0 ? 1 : 0);
        return set;
    };
    MarkSet before = marks();
    edit();
    MarkSet after = marks();
    if (before == after)
        return;
    m_stack.Push(Memento<MarkSet>(
        [this](const MarkSet& set) {
            PointTracer* tracer = m_document.Tracer();
            const std::vector<LedPoint>& points = m_document.Layout().Points();
            if (!tracer || points.size() != set.size())
                return;
            // All marks as most pixels have them, then the others one by one.
            const auto on = static_cast<std::size_t>(std::count(set.begin(), set.end(), 1));
            const bool most = on * 2 > set.size();
            tracer->MarkAll(most);
            for (std::size_t i = 0; i < set.size(); ++i)
                if ((set[i] != 0) != most)
                    tracer->SetMark(points[i].x, points[i].y, !most);
        },
        std::move(before), std::move(after)));
}

void DesignEdits::MarkersPressed()
{
    const BackgroundDesign& background = m_document.Background();
    m_dragStart = Markers{background.Point1(), background.Point2()};
}

void DesignEdits::MarkersReleased()
{
    if (!m_dragStart)
        return;
    const BackgroundDesign& background = m_document.Background();
    Markers after{background.Point1(), background.Point2()};
    Markers before = *std::exchange(m_dragStart, std::nullopt);
    if (before == after)
        return;
    m_stack.Push(Memento<Markers>(
        [this](const Markers& points) {
            m_document.Background().SetPoints(points.first, points.second);
        },
        before, after));
}

void DesignEdits::OnTracing(const PointTracer::Event& event)
{
    if (m_stack.Replaying())
        return;
    using Kind = PointTracer::Event::Kind;
    switch (event.kind) {
    case Kind::Reset:
        // What was traced before the tracing started over cannot be stepped through again.
        m_stack.Clear();
        return;
    case Kind::Undo:
        // An undo straight on the tracer (the repeat button) takes back the last tracing step.
        if (m_stack.Top() && m_stack.Top()->Tracing())
            m_stack.Undone();
        else
            m_stack.Clear();
        return;
    case Kind::Mark:
        if (event.x < 0)
            return; // the whole grid: kept by Marks
        m_stack.Push(std::make_unique<MarkCommand>(m_document, event.x, event.y, event.mark != 0));
        return;
    default:
        break;
    }
    PointTracer* tracer = m_document.Tracer();
    std::size_t rowBefore = tracer ? tracer->FirstRow().size() : 0;
    if (event.kind == Kind::Virtual && rowBefore >= event.count)
        rowBefore -= event.count;
    m_stack.Push(std::make_unique<TraceCommand>(m_document, event, rowBefore));
}

} // namespace md
