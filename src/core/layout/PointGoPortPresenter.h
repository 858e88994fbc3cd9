#pragma once

#include "core/layout/PointGoExchange.h"
#include "core/layout/PointGoPort.h"
#include "core/layout/SerialFrames.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/posix/SerialDevices.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace md {

class Texts;

/// The logic of the test device port dialog: the serial devices present and the one the host
/// offers, the rates, the choice kept in the per-user profile, and "Test link", which runs the
/// handshake on a line of its own as a PointGoExchange that the view steps from its timer, so
/// the window never waits for the device.
class PointGoPortPresenter
{
public:
    /// A port the list offers, with what is known about it.
    struct Entry
    {
        std::string path;
        std::u16string note; ///< empty, or "in use", "the host's test device", "not found"
        bool busy = false;
    };
    struct Ports
    {
        const Texts& texts;
        /// The serial devices present now.
        std::function<std::vector<SerialDevice>()> scan;
        /// Opens the line to test; nothing, with the reason, when it cannot.
        std::function<std::unique_ptr<SerialPort>(const PointGoPortChoice&, std::u16string&)> open;
        /// Lets go of the design's own connection to the test device, so that the next hardware
        /// start opens the new choice.
        std::function<void()> releaseLink;
        /// The descriptor of the design's own connection, -1 when it has none. "Test link"
        /// leaves that connection alone: a line it holds is not tested.
        std::function<int()> designLine;
    };
    enum class Outcome
    {
        None,
        Running,
        Answered,
        Failed
    };

    /// current: the port and rate in use now; hostPort: what the host's configuration offers
    /// (empty when nothing); handshake: the design's, or none for an empty socket.
    PointGoPortPresenter(Ports ports, PointGoProfile profile, PointGoPortChoice current,
                         std::string hostPort, std::optional<serialframes::Handshake> handshake);
    ~PointGoPortPresenter();

    /// Looks for the devices again; the choice stays.
    void Rescan();
    const std::vector<Entry>& Devices() const { return m_devices; }

    const std::string& Port() const { return m_port; }
    void SetPort(std::string port) { m_port = std::move(port); }
    int Baud() const { return m_baud; }
    void SetBaud(int baud) { m_baud = baud; }

    /// Opens the chosen port and starts the handshake; false when it could not start (the
    /// outcome says why).
    bool StartTest();
    /// Takes what the device has sent and sends what is due, without waiting; false once the
    /// test is over.
    bool Step();
    /// Stops a running test; the line is let go.
    void StopTest();
    bool Testing() const { return m_exchange != nullptr; }
    /// What a waiting view can poll for readability; -1 when there is nothing to watch.
    int Descriptor() const;
    /// Patience for the handshake reply and the other answers of a test (for tests).
    void SetTimeouts(SerialPointGoLink::Timeouts timeouts) { m_link.SetTimeouts(timeouts); }

    Outcome Result() const { return m_outcome; }
    /// The outcome in words, for the line beside the button.
    const std::u16string& OutcomeText() const { return m_outcomeText; }

    /// Keeps the choice in the profile; false, with the reason in the outcome, when no port is
    /// named, the rate is not offered, or the profile cannot be written.
    bool Accept();

private:
    std::u16string Text(const char* key, const char16_t* fallback) const;
    void Finish();
    void Fail(std::u16string text);

    Ports m_ports;
    PointGoProfile m_profile;
    PointGoPortChoice m_current;
    std::string m_hostPort;
    std::optional<serialframes::Handshake> m_handshake;
    std::vector<Entry> m_devices;
    std::string m_port;
    int m_baud = pointgo::kDefaultBaud;
    SerialPointGoLink m_link;
    std::unique_ptr<PointGoExchange> m_exchange;
    Outcome m_outcome = Outcome::None;
    std::u16string m_outcomeText;
};

} // namespace md
