// The serial point-go link over a real pseudo-terminal with a device that answers at once:
// hardware start to an answered handshake, and one advance, against the round trip of a
// single byte on the same line (the baseline measured in the same run).
#include "BenchSupport.h"
#include "core/design/SocketDesign.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/posix/PosixSerialPort.h"

#include <atomic>
#include <cstdio>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace md;

/// The far end: answers a handshake with two lines, anything else with one byte.
class InstantDevice
{
public:
    InstantDevice()
    {
        termios raw{};
        ::cfmakeraw(&raw);
        char name[256] = {};
        ::openpty(&m_master, &m_slave, name, &raw, nullptr);
        m_path = name;
        m_thread = std::thread([this] { Run(); });
    }
    ~InstantDevice()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_master);
        ::close(m_slave);
    }
    const std::string& Path() const { return m_path; }

private:
    bool Read(std::uint8_t* bytes, std::size_t count)
    {
        std::size_t got = 0;
        while (got < count && !m_stop) {
            pollfd in{m_master, POLLIN, 0};
            if (::poll(&in, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(m_master, bytes + got, count - got);
            if (n > 0)
                got += static_cast<std::size_t>(n);
        }
        return got == count;
    }
    void Run()
    {
        std::uint8_t frame[pointgo::kHandshakeSize];
        while (!m_stop) {
            if (!Read(frame, 1))
                continue;
            if (frame[0] == pointgo::kHandshake) {
                Read(frame + 1, pointgo::kHandshakeSize - 1);
                std::uint8_t reply[pointgo::kReplySize] = {pointgo::kAccepted, 2, 0, 64, 0, 33};
                [[maybe_unused]] auto n = ::write(m_master, reply, sizeof reply);
            } else {
                const std::uint8_t answer = 1;
                [[maybe_unused]] auto n = ::write(m_master, &answer, 1);
            }
        }
    }

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct Line
{
    Line()
    {
        link.SetPort(PosixSerialPort::Open(device.Path(), 115200));
        socket.NewSocket(16, 4);
        const std::uint32_t codes[] = {16, 47, 63, 81};
        for (std::size_t i = 0; i < 4; ++i)
            socket.Pins()[i].code = codes[i];
    }
    InstantDevice device;
    SerialPointGoLink link;
    SocketDesign socket;
    std::unique_ptr<PosixSerialPort> raw = PosixSerialPort::Open(device.Path(), 115200);
};

Line& Shared()
{
    static Line line;
    return line;
}

void ByteRoundTrip()
{
    std::uint8_t byte = 0x55;
    Shared().raw->Write({&byte, 1}, std::chrono::milliseconds(500));
    Shared().raw->Read({&byte, 1}, std::chrono::milliseconds(500));
}

void HardwareStart()
{
    Line& line = Shared();
    if (!line.link.SendLayout({}) || !line.link.Handshake(&line.socket, {}, false))
        std::abort();
}

void Advance()
{
    Line& line = Shared();
    line.link.RequestAdvance();
    while (line.link.PollAdvance() == SerialPointGoLink::Answer::Waiting) {
    }
}

void BM_ByteRoundTrip(benchmark::State& state)
{
    for (auto _ : state)
        ByteRoundTrip();
}
BENCHMARK(BM_ByteRoundTrip);

void BM_HardwareStartToHandshake(benchmark::State& state)
{
    for (auto _ : state)
        HardwareStart();
}
BENCHMARK(BM_HardwareStartToHandshake);

void BM_PointGoAdvance(benchmark::State& state)
{
    for (auto _ : state)
        Advance();
}
BENCHMARK(BM_PointGoAdvance);

} // namespace

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] {
        const double byte = md::bench::SecondsPer(ByteRoundTrip, 2000);
        const double start = md::bench::SecondsPer(HardwareStart, 1000);
        const double advance = md::bench::SecondsPer(Advance, 2000);
        std::printf("one byte there and back: %.1f us\n", byte * 1e6);
        std::printf("hardware start to answered handshake: %.1f us (%.2f x one byte)\n",
                    start * 1e6, start / byte);
        std::printf("point-go advance answered: %.1f us (%.2f x one byte)\n", advance * 1e6,
                    advance / byte);
    });
}
