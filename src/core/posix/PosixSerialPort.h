#pragma once

#include "core/platform/SerialPort.h"

#include <memory>
#include <optional>
#include <string>

namespace md {

/// A serial device (or the slave end of a pseudo-terminal) in raw 8N1 mode, non-blocking
/// underneath so that every transfer keeps to its time-out. A line that hangs up (an adapter
/// unplugged, the far end of a pseudo-terminal closed) fails every later transfer at once: the
/// port is then dropped and the device path opened afresh. An open port is held exclusively:
/// TIOCEXCL keeps other opens out (root excepted) and an advisory lock on the device marks it in
/// use for every program that asks, root included.
class PosixSerialPort final : public SerialPort
{
public:
    /// Whether a device path can be opened as a serial line now.
    enum class Availability
    {
        Absent, ///< missing, no terminal, or refused for another reason
        Free,
        Busy ///< another open port (in this or another program) holds it
    };

    /// Opens and configures the device; nothing, with the reason in error, when it cannot be
    /// opened or is not a terminal, or the baud rate is not one termios knows. busy is set when
    /// the reason is that another port holds the device.
    static std::unique_ptr<PosixSerialPort>
    Open(const std::string& device, int baud, std::string* error = nullptr, bool* busy = nullptr);
    /// Looks whether the device would open, without configuring or keeping it.
    static Availability Probe(const std::string& device);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
    std::ptrdiff_t Read(std::span<std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
    void Purge() override;
    void PurgeInput() override;
    void ClearErrors() override;
    int Descriptor() const override { return m_fd; }

private:
    explicit PosixSerialPort(int descriptor) : m_fd(descriptor) {}

    int m_fd = -1;
    bool m_exclusive = false;
};

} // namespace md
