#pragma once

#include "core/layout/ChannelRow.h"
#include "core/layout/GridCell.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/LayoutSetup.h"
#include "core/layout/TracedPoint.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace md {

class CommandChannel;
class Prompter;
class StatusBarInfo;
class Texts;

/// Point tracing on the layout grid: the user clicks where the lit output position shows, the
/// tracer records it and lights the next one, and from the traced first scan row deduces the
/// whole module. Also the advanced mode in which every point is traced.
class PointTracer
{
public:
    enum class Key
    {
        Left,
        Right,
        Up,
        Down
    };

    /// A tracing step that changed the tracing (a click or arrow key that traced a point is a
    /// Click at the traced cell). Reset starts the tracing over. A click in the paint or erase
    /// marks mode that changed the pixel's mark carries the new mark; one that changed nothing
    /// else is a Mark.
    struct Event
    {
        enum class Kind
        {
            Click,
            Virtual,
            Finish,
            Undo,
            Reset,
            Mark
        };
        Kind kind = Kind::Click;
        int x = 0;
        int y = 0;
        std::uint32_t count = 0;
        /// The mark the step gave the pixel at (x, y), or -1 when it left the mark alone.
        int mark = -1;
        /// Whether a layout result stood, and was marked present, before the step (the analysis
        /// that runs on the way replaces both).
        bool presentBefore = false;
        bool resultBefore = false;
    };

    /// Edit modes from here on belong to the test device (refreshed, reset, hardware socket,
    /// point-go): clicks and keys move the current point without tracing.
    static constexpr std::uint32_t kFirstDeviceMode = 10;

    PointTracer(LayoutModel& model, CommandChannel& channel, const Texts& texts,
                Prompter& prompter);

    /// Hands over the module record. prepare marks every point and takes the virtual codes.
    void SetSetup(LayoutSetup* setup, bool prepare);
    LayoutSetup* Setup() const { return m_setup; }
    /// The window exists: fresh channel rows, ordinal 1, first position lit, timer running.
    void Create();
    /// Back to tracing the first row (start/stop and enable/disable of advanced tracing).
    void Reset();

    /// Traces the grid cell; 0 normal or header cell, -1 handled or ignored, -2 no pixel,
    /// -3 advanced tracing enabled but not started. click applies the mark edit modes.
    int Trace(GridCell cell, bool click);
    /// A left press on a pixel: focus goes there, then Trace.
    int Click(int x, int y);
    /// An arrow key: the focus moves one cell within the grid, then Trace.
    int MoveFocus(Key key);
    void Light(int mode);
    /// Deduces the layout; check = the final analysis (Finish).
    bool Analyse(bool check);
    void InsertVirtual(std::uint32_t count);
    int Undo();
    /// Marks or unmarks the pixel at (x, y), as a click in the paint or erase marks mode does
    /// (the undo history and the recovery record give marks back through here).
    void SetMark(int x, int y, bool marked);
    /// Marks or unmarks every pixel (point-go's mark all and unmark all): a Mark at (-1, -1).
    void MarkAll(bool marked);
    /// Told of every step that changed the tracing, after it (not of steps inside steps).
    void SetEventSink(std::function<void(const Event&)> sink) { m_sink = std::move(sink); }
    void Tick(StatusBarInfo* statusBar);
    /// Tracing normally blinks between the next position and the last traced one on every
    /// tick; held, the ticks keep the next position lit steadily (tracing by camera, which must
    /// see one LED at a time). Off by default.
    void SetHoldLit(bool hold) { m_holdLit = hold; }
    bool HoldLit() const { return m_holdLit; }

    /// The key of the status text the status bar shows for the current state.
    std::string_view StatusKey() const;

    // Advanced tracing and the addresses of the HUB address dialog.
    bool AdvancedEnabled() const { return m_advancedEnabled; }
    bool AdvancedStarted() const { return m_advancedStarted; }
    void SetAdvancedEnabled(bool enabled) { m_advancedEnabled = enabled; }
    void SetAdvancedStarted(bool started) { m_advancedStarted = started; }
    std::uint32_t ScanRowLength() const { return m_scanRowLength; }
    void SetScanRowLength(std::uint32_t length) { m_scanRowLength = length; }
    std::uint32_t TracedCount() const { return m_tracedCount; }
    std::uint32_t Stride() const { return m_stride; }
    std::uint32_t AdvancedTotal() const;
    const std::vector<TracedPoint>& AdvancedRecords() const { return m_records; }
    std::uint32_t& RowAddress() { return m_rowAddress; }
    std::uint32_t& HubAddress() { return m_hubAddress; }
    std::uint32_t EditMode() const { return m_editMode; }
    void SetEditMode(std::uint32_t mode) { m_editMode = mode; }

    // Tracing state.
    std::uint16_t Ordinal() const { return m_ordinal; }
    bool RowComplete() const;
    const std::vector<ChannelRow>& ChannelRows() const { return m_channelRows; }
    const std::vector<TracedPoint>& FirstRow() const { return m_firstRow; }
    const std::vector<TracedPoint>& Starts() const { return m_starts; }
    const std::vector<GridCell>& History() const { return m_history; }
    std::int32_t LastTraced() const { return m_lastTraced; }
    void SetLastTraced(std::int32_t index) { m_lastTraced = index; }
    bool Supported() const { return m_supported; }
    bool LayoutDone() const { return m_layoutDone != 0; }
    bool LayoutPresent() const { return m_layoutPresent; }
    void SetLayoutPresent(bool present) { m_layoutPresent = present; }
    bool TimerRunning() const { return m_timerRunning; }
    const std::vector<ChannelRow>& Result() const { return m_result; }
    std::vector<ChannelRow>& Result() { return m_result; }
    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    GridCell Focus() const { return m_focus; }
    void SetFocus(GridCell cell) { m_focus = cell; }
    const std::array<std::uint32_t, 3>& VirtualCodes() const { return m_virtualCodes; }
    void SetVirtualCodes(const std::array<std::uint32_t, 3>& codes) { m_virtualCodes = codes; }
    /// (position, count) for the insert-virtual-points dialog, or false when it is not offered.
    bool VirtualPointDialogValues(std::uint32_t& position, std::uint32_t& count) const;
    LayoutModel& Model() { return m_model; }

    /// Point-go holds the layout while it is selected: tracing steps and the commands that
    /// would change the layout result (undo, reset, virtual points, the final analysis) are
    /// refused, and clicks only move the current point.
    void SetPointGoSelected(bool selected) { m_pointGoSelected = selected; }
    bool PointGoSelected() const { return m_pointGoSelected; }
    /// While point-go is selected: says that tracing cannot change the layout now; true then.
    bool RefusedForPointGo() const;
    /// Point-go's complete result becomes the layout result (and the record's), in place of
    /// what tracing had; the previous one is kept for ReleaseAdopted.
    void AdoptResult(std::vector<ChannelRow> result);
    /// The layout result from before the adoption comes back.
    void ReleaseAdopted();
    bool Adopted() const { return m_adopted.has_value(); }

private:
    /// What a tracing step can change, to tell a step that did something from one that did not.
    struct Progress
    {
        std::size_t history = 0, firstRow = 0, starts = 0, records = 0;
        std::uint32_t traced = 0, done = 0, marks = 0;
        std::uint16_t ordinal = 0;
        bool operator==(const Progress&) const = default;
    };
    Progress CurrentProgress() const;
    /// Runs a step and reports it to the sink when it is the outermost one and changed the
    /// tracing (a reset is always reported); the event is made after the step.
    template <class Step, class MakeEvent>
    auto Reported(Step step, MakeEvent makeEvent);
    int TraceStep(GridCell cell, bool click);
    int ClickStep(int x, int y);
    int MoveFocusStep(Key key);
    bool AnalyseStep(bool check);
    void InsertVirtualStep(std::uint32_t count);
    int UndoStep();
    /// Gives the pixel the mark; counts a change.
    void MarkStep(std::int32_t index, bool marked);
    int TraceNormal(std::int32_t index, GridCell cell);
    int TraceStart(std::int32_t index, GridCell cell);
    int TraceAdvanced(std::int32_t index, GridCell cell);
    bool AnalyseAdvanced(bool check);
    void StoreResult(std::vector<ChannelRow> result, bool check);
    void RecordHistory(std::int32_t index, GridCell cell);
    void ClearLastHistory();
    void ResetChannelRows();
    void Finished();
    /// Takes a finished layout back to the state before its final analysis.
    void ReopenFinished();
    TracedPoint PointFor(std::int32_t index, std::uint16_t kind) const;
    std::uint32_t ColourCode(std::uint16_t kind) const;

    LayoutModel& m_model;
    CommandChannel& m_channel;
    const Texts& m_texts;
    Prompter& m_prompter;
    LayoutSetup* m_setup = nullptr;

    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::array<std::uint32_t, 3> m_virtualCodes{};
    std::vector<ChannelRow> m_channelRows;
    std::vector<TracedPoint> m_firstRow;
    std::vector<TracedPoint> m_starts;
    std::vector<GridCell> m_history;
    std::uint16_t m_ordinal = 1;
    std::int32_t m_lastTraced = -1;
    GridCell m_focus{1, 1};
    bool m_supported = false;
    std::uint32_t m_layoutDone = 0;
    /// The record and the module size as they were before the final analysis, for its undo.
    struct BeforeFinish
    {
        LayoutSetup setup;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    };
    BeforeFinish m_beforeFinish;
    bool m_layoutPresent = false;
    bool m_timerRunning = false;
    unsigned m_ticks = 0;
    bool m_holdLit = false;
    std::vector<ChannelRow> m_result;

    bool m_advancedEnabled = false;
    bool m_advancedStarted = false;
    std::uint32_t m_scanRowLength = 0;
    std::uint32_t m_stride = 0;
    std::uint32_t m_tracedCount = 0;
    std::vector<std::vector<TracedPoint>> m_advancedRows;
    std::vector<TracedPoint> m_records;

    std::function<void(const Event&)> m_sink;
    int m_stepDepth = 0;
    std::uint32_t m_markChanges = 0; ///< marks changed so far, to tell a step that marked
    bool m_lastMark = false;         ///< the mark the last change gave

    bool m_pointGoSelected = false;
    /// The layout result as it was before point-go's was adopted.
    struct Adoption
    {
        std::vector<ChannelRow> result;
        std::vector<ChannelRow> recordResult;
        bool present = false;
    };
    std::optional<Adoption> m_adopted;

    std::uint32_t m_editMode = 0;
    std::uint32_t m_rowAddress = 0;
    std::uint32_t m_hubAddress = 0;
};

} // namespace md
