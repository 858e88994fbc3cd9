#include "core/layout/SerialPointGoLink.h"

#include "core/design/SocketDesign.h"

namespace md {

namespace {

constexpr int kWriteTries = 5;

} // namespace

void SerialPointGoLink::SetPort(std::unique_ptr<SerialPort> port)
{
    std::lock_guard lock(m_lock);
    m_port = std::move(port);
}

void SerialPointGoLink::ClosePort()
{
    std::lock_guard lock(m_lock);
    m_port.reset();
}

bool SerialPointGoLink::SendLayout(const std::vector<ChannelRow>& result)
{
    std::lock_guard lock(m_lock);
    return SendLayoutLocked(result);
}

bool SerialPointGoLink::SendLayoutLocked(const std::vector<ChannelRow>& result)
{
    if (!m_port)
        return false;
    for (const ChannelRow& entry : result) {
        const auto frame = serialframes::EntryFrame(entry.index, m_flag);
        m_port->Purge();
        m_port->ClearErrors();
        bool written = false;
        for (int attempt = 0; attempt < kWriteTries && !written; ++attempt)
            written = m_port->Write(frame, m_timeouts.answer);
        if (!written)
            return false;
        m_port->ClearErrors();
        std::uint8_t answer = 0;
        if (m_port->Read({&answer, 1}, m_timeouts.answer) < 1)
            return false;
    }
    return true;
}

bool SerialPointGoLink::Handshake(const SocketDesign* socket, const HandshakeWords& words,
                                  bool layoutPresent)
{
    std::lock_guard lock(m_lock);
    if (!m_port || !socket)
        return false;
    const auto frame = serialframes::BuildHandshake(*socket, words);
    if (!frame)
        return false;
    m_port->ClearErrors();
    if (!m_port->Write(*frame, m_timeouts.answer)) {
        m_port.reset();
        return false;
    }
    m_port->ClearErrors();
    serialframes::Reply reply{};
    const std::ptrdiff_t got = m_port->Read(reply, m_timeouts.reply);
    if (got < static_cast<std::ptrdiff_t>(reply.size()) || reply[0] != pointgo::kAccepted) {
        m_port.reset();
        return false;
    }
    if (!layoutPresent) {
        auto lines = serialframes::ParseReply(reply);
        if (!lines)
            return false;
        m_lines = std::move(*lines);
    }
    return true;
}

bool SerialPointGoLink::RequestAdvance()
{
    std::lock_guard lock(m_lock);
    if (!m_port)
        return false;
    m_port->ClearErrors();
    const std::uint8_t advance = pointgo::kAdvance;
    return m_port->Write({&advance, 1}, m_timeouts.answer);
}

SerialPointGoLink::Answer SerialPointGoLink::PollAdvance()
{
    std::lock_guard lock(m_lock);
    if (!m_port)
        return Answer::Failed;
    std::uint8_t answer = 0;
    const std::ptrdiff_t got = m_port->Read({&answer, 1}, std::chrono::milliseconds(0));
    if (got < 0)
        return Answer::Failed;
    return got == 1 ? Answer::Ready : Answer::Waiting;
}

} // namespace md
