// The serial point-go link over a real pseudo-terminal. With a device that answers at once:
// hardware start to an answered handshake, one indexed advance answered and one one-byte
// advance, each against the round trip of a single byte on the same line (the baseline measured
// in the same run). Then how long the window is held: a heartbeat timer runs while the progress
// dialog steps an exchange, and the longest gap between its beats is the longest the
// user-interface thread was blocked; the same exchange run straight through is the baseline.
#include "BenchSupport.h"
#include "PointGoBenchSupport.h"
#include "core/design/SocketDesign.h"
#include "core/layout/PointGoExchange.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/posix/PosixSerialPort.h"
#include "gui/layout/PointGoProgressDlg.h"

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace md;
using namespace std::chrono_literals;

/// The far end: answers a handshake with two lines, echoes an indexed advance, answers anything
/// else with one byte; or, silent, reads everything and answers nothing.
class InstantDevice
{
public:
    explicit InstantDevice(bool silent = false) : m_silent(silent)
    {
        m_thread = std::thread([this] { Run(); });
    }
    ~InstantDevice()
    {
        m_stop = true;
        m_thread.join();
    }
    const std::string& Path() const { return m_pty.Path(); }

private:
    bool Read(std::uint8_t* bytes, std::size_t count)
    {
        std::size_t got = 0;
        while (got < count && !m_stop) {
            pollfd in{m_pty.Master(), POLLIN, 0};
            if (::poll(&in, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(m_pty.Master(), bytes + got, count - got);
            if (n > 0)
                got += static_cast<std::size_t>(n);
        }
        return got == count;
    }
    void Write(const std::uint8_t* bytes, std::size_t count)
    {
        if (!m_silent) [[maybe_unused]]
            auto n = ::write(m_pty.Master(), bytes, count);
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
                Write(reply, sizeof reply);
            } else if (frame[0] == pointgo::kLightLed || frame[0] == pointgo::kEntry) {
                Read(frame + 1, 2);
                const std::uint8_t answer = 1;
                if (frame[0] == pointgo::kLightLed)
                    Write(frame, 3);
                else
                    Write(&answer, 1);
            } else {
                const std::uint8_t answer = 1;
                Write(&answer, 1);
            }
        }
    }

    bool m_silent = false;
    bench::RawPty m_pty;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

SocketDesign Socket()
{
    SocketDesign socket;
    socket.NewSocket(16, 4);
    const std::uint32_t codes[] = {16, 47, 63, 81};
    for (std::size_t i = 0; i < 4; ++i)
        socket.Pins()[i].code = codes[i];
    return socket;
}

struct Line
{
    Line() { link.SetPort(PosixSerialPort::Open(device.Path(), 115200)); }
    InstantDevice device;
    SerialPointGoLink link;
    SocketDesign socket = Socket();
};

Line& Shared()
{
    static Line line;
    return line;
}

void ByteRoundTrip()
{
    // The link's own port: the line is held exclusively, as a test device's is in use.
    SerialPort* port = Shared().link.Port();
    std::uint8_t byte = 0x55;
    port->Write({&byte, 1}, 500ms);
    port->Read({&byte, 1}, 500ms);
}

void HardwareStart()
{
    Line& line = Shared();
    PointGoExchange exchange(line.link, {}, 0, serialframes::BuildHandshake(line.socket, {}));
    PointGoExchange::RunHere(exchange);
    if (exchange.Current() != PointGoExchange::State::Done)
        std::abort();
}

void Advance(SerialPointGoLink::AdvanceKind kind)
{
    Line& line = Shared();
    line.link.SetAdvance(kind);
    static std::size_t k = 0;
    line.link.RequestLed(++k & 0x7FFF);
    while (line.link.PollAdvance() == SerialPointGoLink::Answer::Waiting) {
    }
}

void IndexedAdvance()
{
    Advance(SerialPointGoLink::AdvanceKind::Indexed);
}

void OneByteAdvance()
{
    Advance(SerialPointGoLink::AdvanceKind::OneByte);
}

// Floors: a trip through a pseudo-terminal to another thread and back takes two system calls
// on each side and a wake-up, never less than a microsecond; a hardware start is two of them.
constexpr double kTripFloorNs = 1000;

void BM_ByteRoundTrip(benchmark::State& state)
{
    for (auto _ : state)
        ByteRoundTrip();
    bench::TimePerItem(state, "time_per_round_trip", 1, kTripFloorNs);
}
BENCHMARK(BM_ByteRoundTrip)->UseRealTime();

void BM_HardwareStartToHandshake(benchmark::State& state)
{
    for (auto _ : state)
        HardwareStart();
    bench::TimePerItem(state, "time_per_start", 1, 2 * kTripFloorNs);
}
BENCHMARK(BM_HardwareStartToHandshake)->UseRealTime();

void BM_IndexedAdvance(benchmark::State& state)
{
    for (auto _ : state)
        IndexedAdvance();
    bench::TimePerItem(state, "time_per_advance", 1, kTripFloorNs);
}
BENCHMARK(BM_IndexedAdvance)->UseRealTime();

void BM_OneByteAdvance(benchmark::State& state)
{
    for (auto _ : state)
        OneByteAdvance();
    bench::TimePerItem(state, "time_per_advance", 1, kTripFloorNs);
}
BENCHMARK(BM_OneByteAdvance)->UseRealTime();

struct Held
{
    double longestMs = 0;
    double totalMs = 0;
};

/// Runs the exchange behind the progress dialog with a 1 ms heartbeat beside it.
Held BehindTheDialog(PointGoExchange& exchange)
{
    bench::Heartbeat heartbeat;
    bench::NoTexts texts;
    PointGoProgressDlg dialog(exchange, texts);
    dialog.Run();
    return {heartbeat.LongestMs(), heartbeat.ElapsedMs()};
}

/// A 255 x 255 module traced with one data line per column: 255 layout entries.
std::vector<std::uint16_t> Entries255()
{
    std::vector<std::uint16_t> entries(255);
    for (std::uint16_t i = 0; i < 255; ++i)
        entries[i] = i;
    return entries;
}

void PrintHeld()
{
    const SocketDesign socket = Socket();
    // A silent device: the handshake reply given up after 1.5 s (10 s in use).
    {
        InstantDevice silent(true);
        SerialPointGoLink link({1500ms, 500ms, 500ms});
        link.SetPort(PosixSerialPort::Open(silent.Path(), 115200));
        PointGoExchange exchange(link, {}, 0, serialframes::BuildHandshake(socket, {}));
        const Held held = BehindTheDialog(exchange);
        std::printf("connect to a silent device (1.5 s reply time-out): window held at most "
                    "%.2f ms (run straight through: %.0f ms)\n",
                    held.longestMs, held.totalMs);
    }
    // The layout send of a 255 x 255 module, then the handshake and the probe.
    {
        InstantDevice device;
        SerialPointGoLink link;
        link.SetPort(PosixSerialPort::Open(device.Path(), 115200));
        PointGoExchange straight(link, Entries255(), 0, serialframes::BuildHandshake(socket, {}));
        QElapsedTimer clock;
        clock.start();
        PointGoExchange::RunHere(straight);
        const double blocking = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        PointGoExchange exchange(link, Entries255(), 0, serialframes::BuildHandshake(socket, {}));
        const Held held = BehindTheDialog(exchange);
        std::printf("layout send of 255 x 255 (255 entries) + handshake: window held at most "
                    "%.2f ms of %.1f ms (run straight through: %.1f ms)\n",
                    held.longestMs, held.totalMs, blocking);
    }
}

/// Median seconds of each function, timed call by call in interleaved rounds, so that a busy
/// moment of a shared machine falls on all of them alike.
std::vector<double> InterleavedMedians(const std::vector<void (*)()>& functions, int rounds)
{
    std::vector<std::vector<double>> times(functions.size());
    for (int round = 0; round < rounds; ++round)
        for (std::size_t i = 0; i < functions.size(); ++i)
            times[i].push_back(bench::SecondsPer(functions[i], 1));
    std::vector<double> medians;
    for (auto& list : times) {
        std::nth_element(list.begin(), list.begin() + list.size() / 2, list.end());
        medians.push_back(list[list.size() / 2]);
    }
    return medians;
}

} // namespace

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] {
        const auto medians = InterleavedMedians(
            {ByteRoundTrip, HardwareStart, IndexedAdvance, OneByteAdvance}, 1000);
        const double byte = medians[0];
        std::printf("one byte there and back: %.1f us (median of interleaved rounds)\n",
                    byte * 1e6);
        std::printf("hardware start to answered handshake and probe: %.1f us (%.2f x one byte)\n",
                    medians[1] * 1e6, medians[1] / byte);
        std::printf("indexed advance answered: %.1f us (%.2f x one byte)\n", medians[2] * 1e6,
                    medians[2] / byte);
        std::printf("one-byte advance answered: %.1f us (%.2f x one byte)\n", medians[3] * 1e6,
                    medians[3] / byte);
        PrintHeld();
    });
}
