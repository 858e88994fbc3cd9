#pragma once

#include "core/layout/SerialFrames.h"
#include "core/platform/SerialPort.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace md {

/// The layout grid's serial line to a point-go test device: the port it was given, what the
/// device reported in its handshake, which advance this connection uses, and the request for
/// the next LED during point-go. Nothing here waits: the layout send and the handshake run as a
/// PointGoExchange, advances are polled. Every failure of the line forgets the port, so the
/// next hardware start (or a retry) opens the device path afresh.
class SerialPointGoLink
{
public:
    struct Timeouts
    {
        std::chrono::milliseconds reply{10000}; ///< the handshake reply
        std::chrono::milliseconds answer{500};  ///< every other answer and every write
        std::chrono::milliseconds probe{pointgo::kProbeWaitMs}; ///< the echo of the probe
    };
    /// How a request for an LED stands.
    enum class Answer
    {
        Waiting,
        Ready,
        Failed
    };
    /// How this connection asks the device for the next LED.
    enum class AdvanceKind
    {
        OneByte, ///< 0xAD: "the next one"; repeating it moves the device on again
        Indexed  ///< 0xAE k: "LED k"; repeating it lights the same LED
    };

    SerialPointGoLink() = default;
    explicit SerialPointGoLink(Timeouts timeouts) : m_timeouts(timeouts) {}

    /// A port to use from now on; a request pending on the old one is dropped.
    void SetPort(std::unique_ptr<SerialPort> port);
    bool HasPort() const { return m_port != nullptr; }
    SerialPort* Port() const { return m_port.get(); }
    void ClosePort();
    const Timeouts& Time() const { return m_timeouts; }
    void SetTimeouts(Timeouts timeouts) { m_timeouts = timeouts; }

    const DeviceLines& Lines() const { return m_lines; }
    void SetLines(DeviceLines lines) { m_lines = std::move(lines); }
    AdvanceKind Advance() const { return m_advance; }
    void SetAdvance(AdvanceKind kind) { m_advance = kind; }

    /// Asks the device to light LED k (counted from 0 in its order); the one-byte advance asks
    /// for "the next one" and k only says which LED that should be. What was received and not
    /// read is dropped first, so a late answer to an earlier request is never taken for this
    /// one. False when there is no port or the request could not be written (the port is then
    /// forgotten).
    bool RequestLed(std::size_t k);
    /// Takes the answer to the last request without waiting: with the indexed advance only the
    /// echo of the requested k counts. Failed when nothing was requested or the line is gone
    /// (the port is then forgotten).
    Answer PollAdvance();
    /// The LED last requested and not answered yet.
    std::optional<std::size_t> Requested() const { return m_requested; }

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
    Timeouts m_timeouts;
    std::unique_ptr<SerialPort> m_port;
    DeviceLines m_lines;
    AdvanceKind m_advance = AdvanceKind::OneByte;
    std::optional<std::size_t> m_requested;
    std::vector<std::uint8_t> m_pending; ///< bytes of an echo not complete yet
    std::uint8_t m_hardwareSocketMode = 0;
    std::uint8_t m_selector = 0;
    std::uint8_t m_flag = 0;
};

} // namespace md
