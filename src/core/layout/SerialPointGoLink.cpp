#include "core/layout/SerialPointGoLink.h"

#include <algorithm>
#include <array>

namespace md {

void SerialPointGoLink::SetPort(std::unique_ptr<SerialPort> port)
{
    m_port = std::move(port);
    m_requested.reset();
    m_pending.clear();
}

void SerialPointGoLink::ClosePort()
{
    m_port.reset();
}

bool SerialPointGoLink::RequestLed(std::size_t k)
{
    m_requested = k;
    m_pending.clear();
    if (!m_port)
        return false;
    m_port->PurgeInput();
    m_port->ClearErrors();
    bool written = false;
    if (m_advance == AdvanceKind::Indexed) {
        const auto frame = serialframes::LightLedFrame(k);
        written = m_port->Write(frame, m_timeouts.answer);
    } else {
        const std::uint8_t advance = pointgo::kAdvance;
        written = m_port->Write({&advance, 1}, m_timeouts.answer);
    }
    if (!written)
        m_port.reset();
    return written;
}

SerialPointGoLink::Answer SerialPointGoLink::PollAdvance()
{
    if (!m_port || !m_requested)
        return Answer::Failed;
    std::array<std::uint8_t, 32> bytes{};
    const std::ptrdiff_t got = m_port->Read(bytes, std::chrono::milliseconds(0));
    if (got < 0) {
        m_port.reset();
        return Answer::Failed;
    }
    if (got == 0)
        return Answer::Waiting;
    if (m_advance == AdvanceKind::OneByte) {
        m_requested.reset();
        return Answer::Ready;
    }
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.begin() + got);
    // Echoes of other LEDs (a request answered after it was given up) are passed over.
    const auto wanted = serialframes::LightLedFrame(*m_requested);
    const auto match =
        std::search(m_pending.begin(), m_pending.end(), wanted.begin(), wanted.end());
    if (match != m_pending.end()) {
        m_pending.clear();
        m_requested.reset();
        return Answer::Ready;
    }
    if (m_pending.size() >= wanted.size())
        m_pending.erase(m_pending.begin(), m_pending.end() - (wanted.size() - 1));
    return Answer::Waiting;
}

} // namespace md
