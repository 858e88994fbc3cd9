#pragma once

#include "core/layout/ChannelRow.h"
#include "core/layout/SerialFrames.h"
#include "core/platform/SerialPort.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

namespace md {

class SocketDesign;

/// The layout grid's serial line to a point-go test device: it sends the layout entry by entry,
/// announces the socket's pins in the handshake and learns the device's data lines, and asks
/// the device to light the next LED during point-go. It only uses a port it is given; a failed
/// handshake forgets the port.
class SerialPointGoLink
{
public:
    struct Timeouts
    {
        std::chrono::milliseconds reply{10000}; ///< the handshake reply
        std::chrono::milliseconds answer{500};  ///< every other read and every write
    };
    /// How a point-go advance stands.
    enum class Answer
    {
        Waiting,
        Ready,
        Failed
    };

    SerialPointGoLink() = default;
    explicit SerialPointGoLink(Timeouts timeouts) : m_timeouts(timeouts) {}

    void SetPort(std::unique_ptr<SerialPort> port);
    bool HasPort() const { return m_port != nullptr; }
    void ClosePort();
    const Timeouts& Time() const { return m_timeouts; }
    void SetTimeouts(Timeouts timeouts) { m_timeouts = timeouts; }

    /// Every entry of the layout result, each answered by one byte; an empty result sends
    /// nothing and succeeds.
    bool SendLayout(const std::vector<ChannelRow>& result);
    /// The handshake; with layoutPresent false an accepted reply also rebuilds the line table.
    bool Handshake(const SocketDesign* socket, const HandshakeWords& words, bool layoutPresent);

    /// Asks the device to light the next LED; false when the request could not be written.
    bool RequestAdvance();
    /// Takes the device's answer to the last advance without waiting.
    Answer PollAdvance();

    const DeviceLines& Lines() const { return m_lines; }
    bool HardwareSocketMode() const { return m_hardwareSocketMode != 0; }
    void SetHardwareSocketMode(bool on) { m_hardwareSocketMode = on ? 1 : 0; }
    std::uint8_t Selector() const { return m_selector; }
    std::uint8_t Flag() const { return m_flag; }
    void SetParameters(std::uint8_t selector, std::uint8_t flag)
    {
        m_selector = selector;
        m_flag = flag;
    }

private:
    bool SendLayoutLocked(const std::vector<ChannelRow>& result);

    Timeouts m_timeouts;
    std::unique_ptr<SerialPort> m_port;
    std::mutex m_lock;
    DeviceLines m_lines;
    std::uint8_t m_hardwareSocketMode = 0;
    std::uint8_t m_selector = 0;
    std::uint8_t m_flag = 0;
};

} // namespace md
