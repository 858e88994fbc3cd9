#include "core/layout/PointGo.h"

#include "core/design/SocketDesign.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/PointTracer.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompter.h"
#include "core/platform/SerialPort.h"
#include "core/platform/Texts.h"

#include <algorithm>

namespace md {

namespace {

constexpr const char* kPrompt = "ID_PROMPT";
constexpr const char16_t* kNoWorkArea = u"Please create a work area.";
constexpr const char16_t* kCheckSocketText = u"Please check socket design.";

} // namespace

PointGo::PointGo(PointTracer& tracer, PointGoResult& result, SerialPointGoLink& link, Ports ports)
    : m_tracer(tracer), m_model(tracer.Model()), m_result(result), m_link(link),
      m_ports(std::move(ports))
{
    // A grid shown again over the same tracing: point-go goes on as it was left (selected, its
    // result kept by the document); the device is asked for the LED at the cursor on the next
    // confirmation.
    FollowTracer();
}

void PointGo::FollowTracer()
{
    if (m_selected || !m_tracer.PointGoSelected())
        return;
    m_selected = true;
    m_busy = false;
    Changed();
}

bool PointGo::Command(int id, const CommandContext& context)
{
    switch (id) {
    case kMarkAllCommand:
    case kUnmarkAllCommand:
        MarkAll(id == kMarkAllCommand);
        return true;
    case kPaintMarks:
    case kEraseMarks:
        m_tracer.SetEditMode(id == kPaintMarks ? 2 : 3);
        Changed();
        return true;
    case kClearVirtual:
        ClearVirtualArrangement();
        return true;
    case kDecompose:
        DecomposePixels(context.decompose);
        return true;
    case kFirstLayerCommand:
    case kFirstLayerCommand + 1:
    case kFirstLayerCommand + 2:
        ColourLayer(static_cast<std::uint32_t>(id - kFirstLayerCommand));
        return true;
    case kHold:
        ToggleHold();
        return true;
    case kCheckSocket:
        CheckSocket(context.socket);
        return true;
    case kFirstModeCommand:
    case kFirstModeCommand + 1:
    case kFirstModeCommand + 2:
        SelectMode(kAllLeds + static_cast<std::uint32_t>(id - kFirstModeCommand));
        return true;
    case kReset:
        if (!m_selected)
            return true;
        AllowReset();
        if (!context.confirmReset || context.confirmReset())
            Reset();
        return true;
    case kHardwareStart:
        StartHardware(context.socket, context.words);
        return true;
    case kSkipCommand:
        Skip();
        return true;
    default:
        return false;
    }
}

void PointGo::Changed()
{
    if (m_onChanged)
        m_onChanged();
}

void PointGo::Message(std::string_view key)
{
    m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.TextOrKey(kPrompt),
                         m_ports.texts.TextOrKey(key));
}

void PointGo::MessageFixed(const char16_t* text)
{
    m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.TextOrKey(kPrompt), text);
}

bool PointGo::HasWorkArea() const
{
    return m_model.MarkedCount() > 0;
}

void PointGo::MarkAll(bool marked)
{
    m_tracer.SetEditMode(marked ? kMarkAll : kUnmarkAll);
    m_tracer.MarkAll(marked);
    Changed();
}

void PointGo::ClearVirtualArrangement()
{
    if (!HasWorkArea()) {
        MessageFixed(kNoWorkArea);
        return;
    }
    m_tracer.SetEditMode(kVirtualCleared);
    m_tracer.SetVirtualCodes({});
    m_model.RebuildVirtualDrawing({});
    Changed();
}

void PointGo::DecomposePixels(const DecompositionDialog& dialog)
{
    if (!HasWorkArea()) {
        MessageFixed(kNoWorkArea);
        return;
    }
    m_tracer.SetEditMode(kNormalView);
    const auto codes = dialog ? dialog(m_tracer.VirtualCodes()) : std::nullopt;
    if (!codes)
        return;
    m_tracer.SetVirtualCodes(*codes);
    m_model.RebuildVirtualDrawing(*codes);
    Changed();
}

void PointGo::ColourLayer(std::uint32_t colour)
{
    if (colour > 2)
        return;
    if (m_tracer.EditMode() == kFirstLayer + colour) {
        m_tracer.SetEditMode(kNormalView);
        m_model.RebuildVirtualDrawing(m_tracer.VirtualCodes());
    } else {
        m_tracer.SetEditMode(kFirstLayer + colour);
        m_model.ShowLayer(static_cast<std::int32_t>(colour));
    }
    Changed();
}

void PointGo::SelectMode(std::uint32_t mode)
{
    if (!m_selected) {
        Message("ID_NOT_SELECT_POINT_GO");
        return;
    }
    m_tracer.SetEditMode(mode);
    m_timerRunning = true;
    // Back after a failed advance: the device is asked again for the LED the cursor is at.
    if (!Finished() && !m_busy && !DeviceAtCursor())
        RequestCursorLed();
    Changed();
}

bool PointGo::ToggleHold()
{
    if (!m_selected || m_result.Empty() || m_result.Complete())
        return false;
    m_hold = !m_hold;
    Changed();
    return true;
}

bool PointGo::CheckSocket(const SocketDesign* socket)
{
    if (!m_selected)
        return false;
    if (socket && socket->IsValid())
        return true;
    MessageFixed(kCheckSocketText);
    return false;
}

void PointGo::AllowReset()
{
    if (m_selected)
        m_tracer.SetEditMode(kMayReset);
}

bool PointGo::InPointGoMode() const
{
    const std::uint32_t mode = m_tracer.EditMode();
    return mode >= kAllLeds && mode <= kGroup2;
}

bool PointGo::Finished() const
{
    return m_selected && m_result.Complete();
}

std::size_t PointGo::EntryCursor() const
{
    const auto place = m_result.PlaceOf(m_result.Cursor());
    return place ? place->entry : m_result.Entries().size();
}

std::size_t PointGo::LineCursor() const
{
    const auto place = m_result.PlaceOf(m_result.Cursor());
    return place ? place->line : 0;
}

bool PointGo::MayRecord()
{
    if (m_busy) {
        Message("ID_HARDWARE_POINT_GOING");
        return false;
    }
    if (Finished()) {
        Message("ID_POINT_GO_FINISHED");
        m_timerRunning = false;
        return false;
    }
    if (!DeviceAtCursor()) {
        // The device has not said it lights this LED (an advance was given up): ask again.
        RequestCursorLed();
        Message("ID_HARDWARE_POINT_GOING");
        return false;
    }
    return true;
}

void PointGo::Step()
{
    const std::int32_t current = m_model.Current();
    if (current < 0 || !InPointGoMode() || m_hold || !MayRecord())
        return;
    m_selectedLed = 0;
    LedPoint& point = m_model.Points()[static_cast<std::size_t>(current)];
    if (!point.marked) {
        m_busy = false;
        return;
    }
    const std::vector<CellLed>& leds = m_model.ShapesOf(point);
    std::vector<std::size_t> candidates;
    const std::uint32_t mode = m_tracer.EditMode();
    for (std::size_t i = 0; i < leds.size(); ++i) {
        if (!point.LedVisible(static_cast<unsigned>(i)))
            continue; // already recorded
        if (mode == kAllLeds || (mode == kGroup1 && leds[i].group == 1) ||
            (mode == kGroup2 && leds[i].group == 2))
            candidates.push_back(i);
    }
    std::optional<std::size_t> chosen;
    if (candidates.size() == 1)
        chosen = candidates.front();
    else if (candidates.size() > 1 && m_ports.chooseLed)
        chosen = m_ports.chooseLed(leds, candidates);
    if (!chosen || std::find(candidates.begin(), candidates.end(), *chosen) == candidates.end()) {
        m_busy = false;
        return;
    }
    m_selectedLed = static_cast<std::uint32_t>(*chosen + 1);
    Record();
}

void PointGo::Record()
{
    m_timerRunning = false;
    const std::int32_t current = m_model.Current();
    // A point is recorded only for the LED the device has said it lights; the result checks
    // that its cursor, the pixel and the LED are in range.
    if (current < 0 || m_selectedLed == 0 || !DeviceAtCursor() ||
        !m_result.Record(m_model, current, m_selectedLed - 1))
        return;
    m_tracer.SetLastTraced(current);
    m_selectedLed = 0;
    Advance();
}

bool PointGo::Skip()
{
    if (!m_selected || !InPointGoMode() || m_hold || !MayRecord() || !m_result.Skip())
        return false;
    m_model.NotifyChanged();
    Advance();
    return true;
}

void PointGo::Advance()
{
    m_restartNeeded = false;
    if (m_result.Complete()) {
        m_busy = false;
        Changed();
        Message("ID_POINT_GO_FINISHED");
        return;
    }
    RequestCursorLed();
    Changed();
}

bool PointGo::StepBack()
{
    if (!m_selected || m_exchanging)
        return false;
    // The layout made of the complete result is no longer complete.
    m_tracer.ReleaseAdopted();
    if (!m_result.StepBack(m_model))
        return false;
    m_selectedLed = 0;
    const auto& positions = m_result.Positions();
    m_tracer.SetLastTraced(positions.empty() ? -1 : positions.back().pixel);
    if (m_link.Advance() == SerialPointGoLink::AdvanceKind::Indexed) {
        // The device lights the LED taken back again.
        m_restartNeeded = false;
        RequestCursorLed();
    } else {
        // "The next one" cannot go back: the device is taken to be restarted by the user from
        // the recorded position, and the status bar says so.
        m_restartNeeded = true;
        m_awaiting = false;
        m_busy = false;
        m_lit = CursorLed();
    }
    Changed();
    return true;
}

void PointGo::Reset()
{
    if (m_tracer.EditMode() != kMayReset)
        return;
    m_tracer.ReleaseAdopted();
    m_result.Drop(m_model);
    m_tracer.SetPointGoSelected(false);
    m_busy = false;
    m_selected = false;
    m_awaiting = false;
    m_hold = false;
    m_restartNeeded = false;
    m_lit.reset();
    m_tracer.SetLastTraced(-1);
    m_timerRunning = false;
    Changed();
}

} // namespace md
