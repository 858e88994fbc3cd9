// PointGo's side of the test device: hardware start, the advance from LED to LED with its
// retries, and what the status bar says about the link.
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
constexpr const char16_t* kCheckSocketText = u"Please check socket design.";
constexpr const char16_t* kCheckLink = u"Please Check Link.";
constexpr std::size_t kMaxLineLeds = 0xFFFF;

std::u16string Number(std::size_t value)
{
    const std::string text = std::to_string(value);
    return {text.begin(), text.end()};
}

/// The text with %1, %2, ... replaced by the numbers in order.
std::u16string Fill(std::u16string text, std::initializer_list<std::size_t> numbers)
{
    char16_t marker = u'1';
    for (std::size_t number : numbers) {
        const std::u16string place = {u'%', marker++};
        for (auto at = text.find(place); at != std::u16string::npos; at = text.find(place))
            text.replace(at, place.size(), Number(number));
    }
    return text;
}

} // namespace

bool PointGo::EnsurePort(std::u16string& reason)
{
    if (m_link.HasPort())
        return true;
    if (!m_ports.openPort) {
        reason = u"No serial port is configured.";
        return false;
    }
    std::unique_ptr<SerialPort> port = m_ports.openPort(reason);
    if (!port)
        return false;
    m_link.SetPort(std::move(port));
    return true;
}

void PointGo::RunExchange(PointGoExchange& exchange)
{
    m_exchanging = true;
    if (m_runExchange)
        m_runExchange(exchange);
    else
        PointGoExchange::RunHere(exchange);
    exchange.Cancel(); // a runner that gave up early
    m_exchanging = false;
}

std::u16string PointGo::FailureText(const PointGoExchange& exchange) const
{
    const Texts& texts = m_ports.texts;
    switch (exchange.Why()) {
    case PointGoExchange::Failure::WriteFailed:
        return texts.TextOr("IDS_MD_POINTGO_WRITE_FAILED",
                            u"Nothing could be written to the serial line.");
    case PointGoExchange::Failure::NoAnswer:
        if (exchange.CurrentStage() == PointGoExchange::Stage::Entries)
            return Fill(texts.TextOr("IDS_MD_POINTGO_NO_ENTRY_ANSWER",
                                     u"The device did not answer layout entry %1 of %2 in time."),
                        {exchange.EntriesDone() + 1, exchange.EntryCount()});
        return texts.TextOr("IDS_MD_POINTGO_NO_REPLY", u"The device did not answer the handshake.");
    case PointGoExchange::Failure::LineGone:
        return texts.TextOr("IDS_MD_POINTGO_LINE_GONE",
                            u"The serial line is gone (was the adapter unplugged?). It is "
                            u"opened afresh on the next start.");
    case PointGoExchange::Failure::BadReply:
        return texts.TextOr("IDS_MD_POINTGO_BAD_REPLY",
                            u"The device refused the handshake or its reply cannot be used.");
    case PointGoExchange::Failure::None:
    case PointGoExchange::Failure::NoPort:
        break;
    }
    return {};
}

void PointGo::CheckLink(const std::u16string& reason)
{
    std::u16string text = kCheckLink;
    if (!reason.empty())
        text += u"\n\n" + reason;
    m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.TextOrKey(kPrompt), text);
}

bool PointGo::StartHardware(const SocketDesign* socket, const HandshakeWords& words)
{
    m_link.SetParameters(m_link.Selector(), 0);
    if (!socket || m_exchanging)
        return false;
    if (!socket->IsValid()) {
        m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.TextOrKey(kPrompt), kCheckSocketText);
        return false;
    }
    std::u16string reason;
    const auto handshake = serialframes::BuildHandshake(*socket, words);
    if (!handshake || !EnsurePort(reason)) {
        CheckLink(reason);
        return false;
    }
    m_link.SetParameters(m_link.Selector(), 0);
    std::vector<std::uint16_t> entries;
    for (const ChannelRow& entry : m_tracer.Result())
        entries.push_back(entry.index);
    PointGoExchange exchange(m_link, std::move(entries), m_link.Flag(), handshake);
    RunExchange(exchange);
    if (exchange.Current() != PointGoExchange::State::Done) {
        if (exchange.Current() == PointGoExchange::State::Failed)
            CheckLink(FailureText(exchange));
        Changed();
        return false;
    }
    m_scanRows = std::max<std::uint16_t>(socket->ScanRows(), 1);
    if (!AcceptLines())
        return false;
    Refresh();
    m_tracer.SetEditMode(kHardwareSocket);
    m_link.SetHardwareSocketMode(true);
    m_link.SetParameters(0, 0);
    Changed();
    return true;
}

bool PointGo::AcceptLines()
{
    const Texts& texts = m_ports.texts;
    const auto& lengths = m_link.Lines().lengths;
    if (const LayoutSetup* setup = m_tracer.Setup()) {
        // A kept layout names its data lines itself (a design read from a file has no wizard
        // record to count them from); without one, the module's groups and colours count.
        const std::size_t expected =
            !m_tracer.Result().empty()
                ? m_tracer.Result().size()
                : std::size_t{std::max<std::uint16_t>(setup->dataGroups, 1)} *
                      std::max<std::size_t>(setup->channelColours.size(), 1);
        if (lengths.size() != expected) {
            m_ports.prompter.Ask(
                PromptButtons::Ok, texts.TextOrKey(kPrompt),
                Fill(texts.TextOr("IDS_MD_POINTGO_LINE_COUNT",
                                  u"The device reports %1 data lines, but the module has %2 "
                                  u"(data groups × colour channels)."),
                     {lengths.size(), expected}));
            return false;
        }
    }
    std::size_t total = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const std::size_t leds = std::size_t{lengths[i]} * m_scanRows;
        if (leds > kMaxLineLeds) {
            m_ports.prompter.Ask(
                PromptButtons::Ok, texts.TextOrKey(kPrompt),
                Fill(texts.TextOr("IDS_MD_POINTGO_LINE_TOO_LONG",
                                  u"Data line %1 of the device holds %2 LEDs (%3 per scan row × "
                                  u"%4 scan rows), more than the 65535 a data line can hold."),
                     {i + 1, leds, lengths[i], m_scanRows}));
            return false;
        }
        total += leds;
    }
    // The indexed advance names LEDs in 16 bits.
    if (total > pointgo::kMaxIndexedLeds)
        m_link.SetAdvance(SerialPointGoLink::AdvanceKind::OneByte);
    return true;
}

void PointGo::Refresh()
{
    const std::uint32_t mode = m_tracer.EditMode();
    if (mode >= kFirstLayer && mode < kFirstLayer + 3) {
        m_model.RebuildVirtualDrawing(m_tracer.VirtualCodes());
        m_tracer.SetEditMode(kRefreshed);
    }
    m_selected = true;
    m_tracer.SetPointGoSelected(true);
    // The device lights the first LED once it has answered.
    m_busy = false;
    m_awaiting = false;
    m_restartNeeded = false;
    m_asked = 0;
    m_lit = 0;
    if (KeepOrBuildResult()) {
        if (m_link.Advance() == SerialPointGoLink::AdvanceKind::Indexed) {
            // A reconnect in the middle of a run: the device is sent to the recorded position.
            RequestCursorLed();
        } else {
            // The one-byte advance starts at the first LED again and cannot be sent elsewhere.
            m_restartNeeded = true;
            m_lit = CursorLed();
            m_ports.prompter.Ask(
                PromptButtons::Ok, m_ports.texts.TextOrKey(kPrompt),
                Fill(m_ports.texts.TextOr(
                         "IDS_MD_POINTGO_RESUME_ONE_BYTE",
                         u"The device knows only the one-byte advance: it starts again at its "
                         u"first LED and cannot be sent to LED %1, where point-go stopped. "
                         u"Restart the device from that LED, or reset point-go to start over."),
                     {CursorLed() + 1}));
        }
    }
    Changed();
}

bool PointGo::KeepOrBuildResult()
{
    const auto& lengths = m_link.Lines().lengths;
    if (!m_result.Fits(lengths, m_scanRows)) {
        // Other lines than the result was built for: it goes, with what it hid on the grid.
        m_tracer.ReleaseAdopted();
        m_result.Build(m_model, lengths, m_scanRows);
        return false;
    }
    return m_result.Cursor() > 0 && !m_result.Complete();
}

std::size_t PointGo::CursorLed() const
{
    return m_result.Cursor();
}

bool PointGo::DeviceAtCursor() const
{
    return m_lit && *m_lit == CursorLed();
}

void PointGo::RequestCursorLed()
{
    m_busy = true;
    m_timerRunning = true;
    m_lit.reset();
    m_asked = CursorLed();
    std::u16string reason;
    if (!EnsurePort(reason) || !m_link.RequestLed(m_asked)) {
        m_awaiting = false;
        SendFailed();
        return;
    }
    m_awaiting = true;
    m_sentAt = m_ports.clock.TickCount();
}

void PointGo::Tick()
{
    if (m_exchanging || m_lit || !m_link.Requested())
        return;
    switch (m_link.PollAdvance()) {
    case SerialPointGoLink::Answer::Ready:
        m_lit = m_asked;
        m_awaiting = false;
        m_busy = false;
        Changed();
        return;
    case SerialPointGoLink::Answer::Failed:
        // The line is gone (the port is forgotten): Retry opens it afresh.
        if (m_awaiting) {
            m_awaiting = false;
            SendFailed();
        }
        return;
    case SerialPointGoLink::Answer::Waiting:
        break;
    }
    const auto waited = std::chrono::milliseconds(m_ports.clock.TickCount() - m_sentAt);
    if (m_awaiting && waited >= m_link.Time().answer) {
        m_awaiting = false;
        SendFailed();
    }
}

void PointGo::SendFailed()
{
    const PromptAnswer answer =
        m_ports.prompter.Ask(PromptButtons::RetryCancel, m_ports.texts.TextOrKey(kPrompt),
                             m_ports.texts.TextOrKey("ID_SERIAL_PORT_DATA_SEND_FAILUE"));
    if (answer == PromptAnswer::Retry) {
        RequestCursorLed();
        return;
    }
    // Cancel leaves point-go; the user can pick it again once the device is back.
    m_awaiting = false;
    m_busy = false;
    m_timerRunning = false;
    if (m_link.Advance() == SerialPointGoLink::AdvanceKind::Indexed) {
        // The device may have lit the next LED or not: it is asked once more for the one the
        // cursor is at, and its echo is taken whenever it comes.
        m_asked = CursorLed();
        m_link.RequestLed(m_asked);
    } else {
        // "The next one" cannot be asked for twice: the device is taken to be where the cursor
        // is.
        m_lit = CursorLed();
    }
    m_tracer.SetEditMode(kRefreshed);
    Changed();
}

bool PointGo::ClickInHardwareMode()
{
    if (m_tracer.EditMode() != kHardwareSocket || !m_link.HardwareSocketMode() || m_exchanging)
        return false;
    m_link.SetHardwareSocketMode(false);
    std::u16string reason;
    if (!EnsurePort(reason)) {
        CheckLink(reason);
    } else {
        std::vector<std::uint16_t> entries;
        for (const ChannelRow& entry : m_tracer.Result())
            entries.push_back(entry.index);
        PointGoExchange exchange(m_link, std::move(entries), m_link.Flag(), std::nullopt);
        RunExchange(exchange);
        if (exchange.Current() == PointGoExchange::State::Failed)
            CheckLink(FailureText(exchange));
    }
    Changed();
    return true;
}

std::optional<PointGo::Expected> PointGo::Next() const
{
    const auto place = m_result.PlaceOf(m_result.Cursor());
    if (!m_selected || !place)
        return std::nullopt;
    return Expected{place->entry + 1, place->line + 1, place->position + 1,
                    m_result.Entries()[place->entry].rowLength};
}

std::u16string PointGo::StatusText() const
{
    const Texts& texts = m_ports.texts;
    if (!m_selected)
        return m_link.HasPort()
                   ? texts.TextOr("IDS_MD_POINT_GO_LINK_OPEN", u"Test device: port open")
                   : std::u16string();
    const auto& lengths = m_link.Lines().lengths;
    std::size_t points = 0;
    for (std::uint16_t length : lengths)
        points += length;
    const bool indexed = m_link.Advance() == SerialPointGoLink::AdvanceKind::Indexed;
    std::u16string text =
        texts.TextOr("IDS_MD_POINT_GO_LINK_UP", u"Test device linked") + u": " +
        Number(lengths.size()) + u" " + texts.TextOr("IDS_MD_POINT_GO_LINES", u"lines") + u", " +
        Number(points) + u" " + texts.TextOr("IDS_MD_POINT_GO_POINTS", u"LEDs per scan row") +
        u", " +
        (indexed ? texts.TextOr("IDS_MD_POINTGO_ADVANCE_INDEXED", u"indexed advance")
                 : texts.TextOr("IDS_MD_POINTGO_ADVANCE_ONE_BYTE", u"one-byte advance"));
    if (m_hold)
        return text + u"; " + texts.TextOr("IDS_MD_POINT_GO_HELD", u"held");
    if (const auto next = Next(); next && m_restartNeeded)
        return text + u"; " +
               Fill(texts.TextOr("IDS_MD_POINTGO_RESTART_DEVICE",
                                 u"one-byte advance: the device cannot go back; restart it from "
                                 u"line %1, scan row %2, LED %3"),
                    {next->entry, next->line, next->position});
    if (const auto next = Next())
        text +=
            u"; " + texts.TextOr("IDS_MD_POINT_GO_NEXT", u"next") + u": " +
            texts.TextOr("IDS_MD_POINT_GO_LINE", u"line") + u" " + Number(next->entry) + u", " +
            texts.TextOr("IDS_MD_POINT_GO_ROW", u"scan row") + u" " + Number(next->line) + u", " +
            texts.TextOr("IDS_MD_POINT_GO_LED", u"LED") + u" " + Number(next->position) + u"/" +
            Number(next->length) +
            (m_busy
                 ? u" (" + texts.TextOr("IDS_MD_POINT_GO_WAITING", u"waiting for the device") + u")"
                 : std::u16string());
    else
        text += u"; " + texts.TextOrKey("ID_POINT_GO_FINISHED");
    return text;
}

} // namespace md
