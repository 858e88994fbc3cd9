#pragma once

#include "core/platform/SerialPort.h"

#include <memory>
#include <optional>
#include <string>

namespace md {

/// A serial device (or the slave end of a pseudo-terminal) in raw 8N1 mode, non-blocking
/// underneath so that every transfer keeps to its time-out. A line that hangs up (an adapter
/// unplugged, the far end of a pseudo-terminal closed) fails every later transfer at once: the
/// port is then dropped and the device path opened afresh.
class PosixSerialPort final : public SerialPort
{
public:
    /// Opens and configures the device; nothing, with the reason in error, when it cannot be
    /// opened or is not a terminal, or the baud rate is not one termios knows.
    static std::unique_ptr<PosixSerialPort> Open(const std::string& device, int baud,
                                                 std::string* error = nullptr);
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
};

} // namespace md
