#include "core/layout/PointTracer.h"

#include "core/controller/CommandChannel.h"
#include "core/controller/CommandWords.h"
#include "core/layout/LayoutDeduction.h"
#include "core/layout/StatusBarInfo.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"

#include <algorithm>

namespace md {

namespace {

constexpr const char* kPrompt = "IDS_MODULE_FIRSETDLG_PROMPT";
constexpr const char* kFinished = "IDS_MODULE_STEP5DLG_LAYOUT_EPFINISHED";
constexpr const char* kError = "IDS_MODULE_STEP4DLG_ERROR";
constexpr const char* kNotSupported = "IDS_MODULE_STEP5DLG_LAYOUT_NOSUPPORTEP";

} // namespace

PointTracer::PointTracer(LayoutModel& model, CommandChannel& channel, const Texts& texts,
                         Prompter& prompter)
    : m_model(model), m_channel(channel), m_texts(texts), m_prompter(prompter),
      m_width(model.Width()), m_height(model.Height())
{}

void PointTracer::SetSetup(LayoutSetup* setup, bool prepare)
{
    const bool first = m_setup == nullptr;
    m_setup = setup;
    if (setup == nullptr)
        return;
    if (first) {
        m_stride = 0;
        m_tracedCount = 0;
        m_advancedRows.assign(std::max<std::uint16_t>(setup->dataGroups, 1), {});
    }
    if (!prepare)
        return;
    m_model.MarkAll(true);
    m_virtualCodes = setup->virtualCode;
    if (setup->sameColourSwap != 0)
        deduction::MapVirtualPixels(m_result, setup->channelColours, setup->virtualCode);
    m_layoutPresent = true;
}

void PointTracer::Create()
{
    m_width = m_model.Width();
    m_height = m_model.Height();
    m_model.SetCurrent(m_model.Points().empty() ? -1 : 0);
    m_model.MarkAll(true);
    if (!m_layoutPresent)
        m_result.clear();
    ResetChannelRows();
    m_ordinal = 1;
    Light(0);
    m_timerRunning = true;
}

void PointTracer::ResetChannelRows()
{
    m_channelRows.clear();
    if (m_setup == nullptr)
        return;
    for (std::size_t i = 0; i < m_setup->channelColours.size(); ++i) {
        ChannelRow entry;
        entry.rowLength = m_setup->rowLength;
        entry.index = static_cast<std::uint16_t>(i);
        entry.pointsPerGroup = m_setup->pointsPerGroup;
        entry.rows.resize(1);
        m_channelRows.push_back(std::move(entry));
    }
}

void PointTracer::Reset()
{
    const LayoutModel::ChangeScope change(m_model);
    ReopenFinished();
    m_stride = (m_setup ? m_setup->scanRows : 0U) * m_scanRowLength;
    m_tracedCount = 0;
    // The groups follow the setup as it stands now: a design opened from its file and then given
    // the wizard's record traces as many groups as the record says.
    m_advancedRows.assign(m_setup ? std::max<std::uint16_t>(m_setup->dataGroups, 1) : 1, {});
    m_records.clear();
    m_model.ClearTracing();
    m_lastTraced = -1;
    m_result.clear();
    m_ordinal = 1;
    m_firstRow.clear();
    m_starts.clear();
    m_history.clear();
    m_supported = false;
    // The channel rows start over too, so that the next row is traced from position 1.
    ResetChannelRows();
    if (m_stepDepth == 0 && m_sink)
        m_sink(Event{Event::Kind::Reset});
}

bool PointTracer::RowComplete() const
{
    return m_setup != nullptr && m_ordinal - 1U == m_setup->rowLength;
}

std::uint32_t PointTracer::AdvancedTotal() const
{
    return static_cast<std::uint32_t>(m_advancedRows.size()) * m_stride;
}

std::uint32_t PointTracer::ColourCode(std::uint16_t kind) const
{
    if (m_setup == nullptr || kind > 2 || !m_setup->HasVirtualPixelCodes())
        return 0;
    return m_setup->virtualCode[kind];
}

TracedPoint PointTracer::PointFor(std::int32_t index, std::uint16_t kind) const
{
    const LedPoint& pixel = m_model.Points()[static_cast<std::size_t>(index)];
    TracedPoint point;
    point.x = pixel.x;
    point.y = pixel.y;
    point.kind = kind;
    point.colourCode = ColourCode(kind);
    point.cellVariant = pixel.cellVariant;
    point.pixel = index;
    return point;
}

void PointTracer::RecordHistory(std::int32_t index, GridCell cell)
{
    LedPoint& pixel = m_model.Points()[static_cast<std::size_t>(index)];
    if (pixel.label != 0)
        return;
    m_history.push_back(cell);
    pixel.label = static_cast<std::uint32_t>(m_history.size());
}

void PointTracer::ClearLastHistory()
{
    if (m_history.empty())
        return;
    const GridCell cell = m_history.back();
    m_history.pop_back();
    if (LedPoint* pixel = m_model.Find(LayoutModel::Key(cell.column - 1, cell.row - 1)))
        pixel->label = 0;
}

void PointTracer::Finished()
{
    m_prompter.Ask(PromptButtons::Ok, m_texts.Text(kPrompt), m_texts.Text(kFinished));
}

int PointTracer::ClickStep(int x, int y)
{
    m_focus = {y + 1, x + 1};
    return Trace(m_focus, true);
}

int PointTracer::MoveFocusStep(Key key)
{
    const int rows = static_cast<int>(m_model.Height());
    const int columns = static_cast<int>(m_model.Width());
    GridCell cell = m_focus;
    if (cell.row < 1 || cell.column < 1) {
        cell = {1, 1};
    } else {
        switch (key) {
        case Key::Left:
            cell.column = std::max(1, cell.column - 1);
            break;
        case Key::Right:
            cell.column = std::min(columns, cell.column + 1);
            break;
        case Key::Up:
            cell.row = std::max(1, cell.row - 1);
            break;
        case Key::Down:
            cell.row = std::min(rows, cell.row + 1);
            break;
        }
    }
    m_focus = cell;
    return Trace(cell, false);
}

int PointTracer::TraceStep(GridCell cell, bool click)
{
    const LayoutModel::ChangeScope change(m_model);
    if (cell.row < 1 || cell.row >= static_cast<int>(m_model.Height()) + 1 || cell.column < 1 ||
        cell.column >= static_cast<int>(m_model.Width()) + 1)
        return 0;
    const std::int32_t index = m_model.IndexOf(cell.column - 1, cell.row - 1);
    if (index < 0)
        return -2;
    if (m_advancedEnabled && !m_advancedStarted)
        return -3;
    m_model.SetCurrent(index);
    if (click && (m_editMode == 2 || m_editMode == 3))
        MarkStep(index, m_editMode == 2);
    // With the test device in charge (hardware socket mode, point-go, or point-go selected at
    // all) the grid only moves the current point; the device's LEDs are recorded by point-go.
    if (m_setup == nullptr || m_editMode >= kFirstDeviceMode || m_pointGoSelected)
        return -1;
    if (m_layoutDone != 0) {
        Finished();
        return -1;
    }
    if (m_advancedStarted)
        return TraceAdvanced(index, cell);
    if (RowComplete())
        return TraceStart(index, cell);
    return TraceNormal(index, cell);
}

int PointTracer::TraceNormal(std::int32_t index, GridCell cell)
{
    LedPoint& pixel = m_model.Points()[static_cast<std::size_t>(index)];
    if (pixel.traced)
        return -1;
    RecordHistory(index, cell);
    ++m_ordinal;
    Light(0);
    m_lastTraced = index;
    for (std::size_t i = 0; i < m_channelRows.size(); ++i) {
        ChannelRow& entry = m_channelRows[i];
        TracedPoint point = PointFor(index, m_setup->channelColours[i]);
        point.channelIndex = entry.index;
        point.ordinal = static_cast<std::uint16_t>(entry.rows[0].points.size() + 1);
        entry.rows[0].points.push_back(point);
        if (i == 0)
            m_firstRow.push_back(point);
    }
    pixel.traced = 1;
    if (RowComplete())
        m_supported = AnalyseStep(false);
    return -1;
}

int PointTracer::TraceStart(std::int32_t index, GridCell cell)
{
    LedPoint& pixel = m_model.Points()[static_cast<std::size_t>(index)];
    if (pixel.traced)
        return -1;
    m_supported = AnalyseStep(false);
    if (!m_supported) {
        m_prompter.Ask(PromptButtons::Ok, m_texts.Text(kError), m_texts.Text(kNotSupported));
        return -1;
    }
    if (static_cast<int>(m_starts.size()) >= int{m_setup->scanRows} - 1) {
        Finished();
        return -1;
    }
    RecordHistory(index, cell);
    pixel.traced = 1;
    const std::uint16_t kind = m_setup->channelColours.empty() ? 0 : m_setup->channelColours[0];
    m_starts.push_back(PointFor(index, kind));
    Light(0);
    m_lastTraced = index;
    return -1;
}

int PointTracer::TraceAdvanced(std::int32_t index, GridCell cell)
{
    LedPoint& pixel = m_model.Points()[static_cast<std::size_t>(index)];
    if (!pixel.marked)
        return -1;
    if (m_tracedCount == AdvancedTotal()) {
        Finished();
        return -1;
    }
    if (!pixel.traced) {
        ++m_tracedCount;
        Light(0);
        m_lastTraced = index;
        TracedPoint record = PointFor(index, 0);
        record.colourCode = 0;
        m_records.push_back(record);
        pixel.traced = 1;
        RecordHistory(index, cell);
        if (m_tracedCount == AdvancedTotal())
            Finished();
    }
    return -1;
}

void PointTracer::Light(int mode)
{
    if (m_setup == nullptr)
        return;
    const std::uint32_t rows = commandwords::LightingRows(m_setup->scanRows, m_rowAddress);
    const std::uint32_t polarity = m_setup->driverPolarity | m_setup->scanPolarity;
    std::optional<std::uint32_t> g;
    std::uint32_t position = 0;
    std::uint32_t group = m_hubAddress;
    if (m_advancedStarted) {
        const std::uint32_t length = m_scanRowLength;
        const std::uint32_t inRow = length ? m_tracedCount % length : m_tracedCount;
        position = mode == 3 ? inRow : inRow + 1;
        const std::uint32_t row = length && m_stride ? (m_tracedCount % m_stride) / length : 0;
        if (group == 0)
            group = m_stride ? m_tracedCount / m_stride : 0;
        if (m_rowAddress != 0)
            g = m_rowAddress & 0xFF;
        else if (m_tracedCount != 0)
            g = row;
    } else {
        std::int64_t next = m_ordinal;
        // Virtual points inserted so far occupy output positions ahead of the next real one.
        if (!m_channelRows.empty() && !m_firstRow.empty())
            next += std::ssize(m_firstRow) - std::ssize(m_channelRows[0].rows[0].points);
        if (RowComplete())
            next = 1;
        if (m_rowAddress != 0) {
            g = m_rowAddress & 0xFF;
        } else if (RowComplete()) {
            const auto located = static_cast<std::uint32_t>(m_starts.size());
            g = located + (static_cast<int>(located) < int{m_setup->scanRows} - 1 ? 1 : 0);
        }
        if (mode == 3)
            --next;
        position = static_cast<std::uint32_t>(next);
    }
    m_channel.Send(commandwords::PointLighting(polarity, g, rows, position, group));
}

std::string_view PointTracer::StatusKey() const
{
    constexpr std::string_view tracing = "IDS_MODULE_EPSTATUS_BAR_EP_ING";
    constexpr std::string_view finish = "IDS_MODULE_EPSTATUS_BAR_EP_FINISH";
    constexpr std::string_view unsupported = "IDS_MODULE_EPSTATUS_BAR_EP_NOSUPPORT";
    if (m_advancedStarted)
        return m_tracedCount == AdvancedTotal() ? finish : tracing;
    if (!RowComplete())
        return tracing;
    const int further = int{m_setup->scanRows} - 1;
    if (m_setup->scanRows == 1)
        return m_supported ? finish : unsupported;
    if (m_starts.empty())
        return m_supported ? "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH" : unsupported;
    if (static_cast<int>(m_starts.size()) < further)
        return "IDS_MODULE_EPSTATUS_BAR_EP_SCANROW_POS";
    return m_supported ? "IDS_MODULE_EPSTATUS_BAR_EP_MODE2_FINISH" : unsupported;
}

void PointTracer::Tick(StatusBarInfo* statusBar)
{
    if (m_layoutDone != 0 || m_setup == nullptr)
        return;
    std::uint32_t group = 0;
    std::uint32_t row = 0;
    std::uint32_t position = 0;
    if (m_advancedStarted) {
        const std::uint32_t count = m_tracedCount;
        const std::uint32_t length = m_scanRowLength;
        group = count == 0 || m_stride == 0 ? 1 : count / m_stride + 1;
        row =
            count == 0 || m_stride == 0 || length == 0 ? 1 : ((count - 1) % m_stride) / length + 1;
        position = count == 0 || length == 0 ? 0 : count % length;
        if (position == 0 && count != 0)
            position = length;
    } else {
        row = static_cast<std::uint32_t>(m_starts.size()) + 1;
        position = m_ordinal - 1U;
        if (RowComplete() && !m_starts.empty())
            position = 1;
    }
    if (statusBar) {
        statusBar->SetCurrentCell(m_focus.row + 1, m_focus.column + 1);
        statusBar->SetGroup(static_cast<std::uint16_t>(group));
        statusBar->SetRow(row);
        statusBar->SetRowPosition(position);
        statusBar->SetStatusText(m_texts.Text(StatusKey()));
    }
    Light(m_holdLit || m_ticks % 2 == 0 ? 2 : 3);
    ++m_ticks;
}

bool PointTracer::VirtualPointDialogValues(std::uint32_t& position, std::uint32_t& count) const
{
    if (m_advancedStarted) {
        position = m_tracedCount;
        count = m_tracedCount - static_cast<std::uint32_t>(m_history.size());
        return true;
    }
    if (!m_advancedEnabled && m_starts.empty()) {
        position = static_cast<std::uint32_t>(m_firstRow.size());
        count = static_cast<std::uint32_t>(
            std::count_if(m_firstRow.begin(), m_firstRow.end(),
                          [](const TracedPoint& p) { return p.IsVirtual(); }));
        return true;
    }
    return false;
}

} // namespace md
