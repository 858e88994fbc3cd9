#include "core/posix/PosixSerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace md {

namespace {

using Clock = std::chrono::steady_clock;

std::optional<speed_t> SpeedOf(int baud)
{
    switch (baud) {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 921600:
        return B921600;
    default:
        return std::nullopt;
    }
}

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

/// Milliseconds left until the deadline, never negative.
int Remaining(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

int OpenLine(const std::string& device)
{
    return ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

/// Takes the advisory lock that marks the device in use; false when another holds it.
bool Lock(int fd)
{
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0 || errno != EWOULDBLOCK;
}

} // namespace

std::unique_ptr<PosixSerialPort> PosixSerialPort::Open(const std::string& device, int baud,
                                                       std::string* error, bool* busy)
{
    if (busy)
        *busy = false;
    const std::optional<speed_t> speed = SpeedOf(baud);
    if (!speed) {
        SetError(error, "unsupported baud rate " + std::to_string(baud));
        return nullptr;
    }
    const int fd = OpenLine(device);
    if (fd < 0) {
        // EBUSY: another program opened the line exclusively.
        if (busy)
            *busy = errno == EBUSY;
        SetError(error, device + ": " + std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<PosixSerialPort> port(new PosixSerialPort(fd));
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        SetError(error, device + ": not a serial line (" + std::strerror(errno) + ")");
        return nullptr;
    }
    if (!Lock(fd)) {
        if (busy)
            *busy = true;
        SetError(error, device + ": in use by another program");
        return nullptr;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CSIZE | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, *speed);
    ::cfsetospeed(&settings, *speed);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        SetError(error, device + ": cannot set 8N1 at " + std::to_string(baud) + " baud (" +
                            std::strerror(errno) + ")");
        return nullptr;
    }
    ::ioctl(fd, TIOCEXCL);
    port->m_exclusive = true;
    return port;
}

PosixSerialPort::Availability PosixSerialPort::Probe(const std::string& device)
{
    const int fd = OpenLine(device);
    if (fd < 0)
        return errno == EBUSY ? Availability::Busy : Availability::Absent;
    termios settings{};
    serial_struct uart{};
    // A serial node without a UART behind it opens on some systems; its port type says so.
    const bool noUart = ::ioctl(fd, TIOCGSERIAL, &uart) == 0 && uart.type == PORT_UNKNOWN;
    Availability availability = Availability::Absent;
    if (::tcgetattr(fd, &settings) == 0 && !noUart)
        availability = Lock(fd) ? Availability::Free : Availability::Busy;
    ::close(fd); // also lets the lock go
    return availability;
}

PosixSerialPort::~PosixSerialPort()
{
    if (m_fd < 0)
        return;
    // A pseudo-terminal whose other end stays open keeps the exclusive flag after this close:
    // clear it so that the next open (of a user without root rights) is not refused.
    if (m_exclusive)
        ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
}

bool PosixSerialPort::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return false;
        pollfd wait{m_fd, POLLOUT, 0};
        const int left = Remaining(deadline);
        if (left == 0 || ::poll(&wait, 1, left) <= 0 ||
            (wait.revents & (POLLHUP | POLLERR | POLLNVAL)))
            return false;
    }
    return true;
}

std::ptrdiff_t PosixSerialPort::Read(std::span<std::uint8_t> bytes,
                                     std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    std::size_t done = 0;
    while (done < bytes.size()) {
        // poll first: on this raw, non-blocking line read() gives 0 both when nothing has come
        // yet and when the line has hung up. A hang-up shows as POLLHUP or POLLERR, often
        // together with POLLIN, so it counts whatever else is set (else the loop would spin
        // until the deadline); bytes that came before it are still taken.
        pollfd wait{m_fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, Remaining(deadline));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (ready == 0)
            break; // the time-out has passed
        const bool gone = (wait.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if (wait.revents & POLLIN) {
            const ssize_t got = ::read(m_fd, bytes.data() + done, bytes.size() - done);
            if (got > 0) {
                done += static_cast<std::size_t>(got);
                continue;
            }
            if (got < 0 && !gone && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                continue;
        }
        // Hung up, failed, or readable with nothing to read: the line is gone.
        return done > 0 ? static_cast<std::ptrdiff_t>(done) : -1;
    }
    return static_cast<std::ptrdiff_t>(done);
}

void PosixSerialPort::Purge()
{
    ::tcflush(m_fd, TCIOFLUSH);
}

void PosixSerialPort::PurgeInput()
{
    ::tcflush(m_fd, TCIFLUSH);
}

void PosixSerialPort::ClearErrors()
{
    // A termios line has no latched error state: a failed transfer leaves nothing to clear.
}

} // namespace md
