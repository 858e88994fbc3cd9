#include "core/layout/PointGoExchange.h"

#include "core/layout/SerialPointGoLink.h"

#include <algorithm>
#include <array>
#include <poll.h>
#include <thread>

namespace md {

namespace {

constexpr int kWriteTries = 5;
/// A frame is a few bytes: a write longer than this means the line is stuck, and the step
/// gives the window back and tries again on the next one.
constexpr std::chrono::milliseconds kWriteSlice{10};
/// Frames sent and answers taken in one step at most, so that a fast device cannot hold the
/// window either.
constexpr int kMovesPerStep = 64;

} // namespace

PointGoExchange::PointGoExchange(SerialPointGoLink& link, std::vector<std::uint16_t> entries,
                                 std::uint8_t flag,
                                 std::optional<serialframes::Handshake> handshake)
    : m_link(link), m_entries(std::move(entries)), m_flag(flag), m_handshake(handshake)
{}

std::vector<std::uint8_t> PointGoExchange::Frame() const
{
    switch (m_stage) {
    case Stage::Entries: {
        const auto frame = serialframes::EntryFrame(m_entries[m_entry], m_flag);
        return {frame.begin(), frame.end()};
    }
    case Stage::Handshake:
        return {m_handshake->begin(), m_handshake->end()};
    case Stage::Probe: {
        const auto frame = serialframes::LightLedFrame(0);
        return {frame.begin(), frame.end()};
    }
    }
    return {};
}

std::size_t PointGoExchange::Expected() const
{
    switch (m_stage) {
    case Stage::Entries:
        return 1;
    case Stage::Handshake:
        return pointgo::kReplySize;
    case Stage::Probe:
        return pointgo::kLightLedFrameSize;
    }
    return 1;
}

std::chrono::milliseconds PointGoExchange::Patience() const
{
    switch (m_stage) {
    case Stage::Handshake:
        return m_link.Time().reply;
    case Stage::Probe:
        return m_link.Time().probe;
    case Stage::Entries:
        break;
    }
    return m_link.Time().answer;
}

PointGoExchange::State PointGoExchange::Step()
{
    for (int moves = 0; m_state == State::Running && moves < kMovesPerStep; ++moves) {
        SerialPort* port = m_link.Port();
        if (!port)
            return Fail(Failure::NoPort);
        if (m_stage == Stage::Entries && m_entry >= m_entries.size()) {
            if (!m_handshake) {
                m_state = State::Done;
                break;
            }
            m_stage = Stage::Handshake;
        }
        if (!m_sent) {
            // What came before (a late echo of an advance) is no answer to this frame.
            if (m_stage != Stage::Probe)
                port->Purge();
            port->ClearErrors();
            if (!port->Write(Frame(), kWriteSlice)) {
                if (++m_writeTries >= kWriteTries)
                    return Fail(Failure::WriteFailed);
                break; // the next step tries again
            }
            port->ClearErrors();
            m_writeTries = 0;
            m_sent = true;
            m_sentAt = Clock::now();
            m_answer.clear();
        }
        std::array<std::uint8_t, pointgo::kReplySize> bytes{};
        const std::ptrdiff_t got =
            port->Read({bytes.data(), Expected() - m_answer.size()}, std::chrono::milliseconds(0));
        if (got < 0)
            return Fail(Failure::LineGone);
        m_answer.insert(m_answer.end(), bytes.begin(), bytes.begin() + got);
        while (PassOverStrayEcho()) {
        }
        if (m_answer.size() < Expected()) {
            if (Clock::now() - m_sentAt < Patience())
                break; // nothing more yet
            if (m_stage != Stage::Probe)
                return Fail(Failure::NoAnswer);
            // Silence: a device that knows only the one-byte advance.
            m_link.SetAdvance(SerialPointGoLink::AdvanceKind::OneByte);
            port->PurgeInput();
            m_state = State::Done;
            break;
        }
        Answered();
    }
    return m_state;
}

bool PointGoExchange::PassOverStrayEcho()
{
    // An advance answered late can echo after the input was cleared for the handshake, ahead
    // of its reply or of the probe's echo. A reply starts with kAccepted, so an echo at the
    // front of either answer is none of it.
    if (m_stage == Stage::Entries || m_answer.size() < pointgo::kLightLedFrameSize ||
        m_answer[0] != pointgo::kLightLed)
        return false;
    const auto probe = serialframes::LightLedFrame(0);
    if (m_stage == Stage::Probe && std::equal(probe.begin(), probe.end(), m_answer.begin()))
        return false;
    m_answer.erase(m_answer.begin(), m_answer.begin() + pointgo::kLightLedFrameSize);
    return true;
}

void PointGoExchange::Answered()
{
    m_sent = false;
    switch (m_stage) {
    case Stage::Entries:
        ++m_entry;
        return;
    case Stage::Handshake: {
        auto lines = serialframes::ParseReply(m_answer);
        if (!lines) {
            Fail(Failure::BadReply);
            return;
        }
        m_link.SetLines(std::move(*lines));
        m_stage = Stage::Probe;
        return;
    }
    case Stage::Probe: {
        const auto echo = serialframes::LightLedFrame(0);
        const bool indexed = std::equal(echo.begin(), echo.end(), m_answer.begin());
        m_link.SetAdvance(indexed ? SerialPointGoLink::AdvanceKind::Indexed
                                  : SerialPointGoLink::AdvanceKind::OneByte);
        if (!indexed && m_link.Port())
            m_link.Port()->PurgeInput();
        m_state = State::Done;
        return;
    }
    }
}

PointGoExchange::State PointGoExchange::Fail(Failure failure)
{
    m_failure = failure;
    m_state = State::Failed;
    m_link.ClosePort();
    return m_state;
}

void PointGoExchange::Cancel()
{
    if (m_state != State::Running)
        return;
    m_state = State::Cancelled;
    m_link.ClosePort();
}

std::size_t PointGoExchange::PartsDone() const
{
    if (m_state == State::Done)
        return PartCount();
    switch (m_stage) {
    case Stage::Entries:
        return m_entry;
    case Stage::Handshake:
        return m_entries.size();
    case Stage::Probe:
        return m_entries.size() + 1;
    }
    return 0;
}

std::size_t PointGoExchange::PartCount() const
{
    return m_entries.size() + (m_handshake ? 2 : 0);
}

int PointGoExchange::Descriptor() const
{
    const SerialPort* port = m_link.Port();
    return port ? port->Descriptor() : -1;
}

void PointGoExchange::RunHere(PointGoExchange& exchange)
{
    while (exchange.Step() == State::Running) {
        const int fd = exchange.Descriptor();
        if (fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        pollfd wait{fd, POLLIN, 0};
        ::poll(&wait, 1, 5);
    }
}

} // namespace md
