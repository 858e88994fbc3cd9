// A serial line that hangs up (an adapter unplugged, the far end of a pseudo-terminal closed)
// ends every transfer at once instead of being polled until the time-out.
#include "core/posix/PosixSerialPort.h"
#include "core/support/PtyDevice.h"

#include <gtest/gtest.h>

#include <ctime>

namespace md::test {
namespace {

using namespace std::chrono_literals;

std::chrono::nanoseconds ThreadCpuTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

TEST(SerialHangUp, AReadOnAHungUpLineFailsAtOnceWithoutSpinning)
{
    PtyDevice device;
    auto port = device.OpenPort();
    ASSERT_TRUE(port);
    device.Send({0x41});
    std::uint8_t first = 0;
    ASSERT_EQ(port->Read({&first, 1}, 500ms), 1) << "a live line reads";

    device.HangUp();
    std::uint8_t bytes[4] = {};
    const auto wall = std::chrono::steady_clock::now();
    const auto cpu = ThreadCpuTime();
    EXPECT_EQ(port->Read(bytes, 2s), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - wall, 100ms);
    EXPECT_LT(ThreadCpuTime() - cpu, 20ms);
    EXPECT_EQ(port->Read(bytes, 0ms), -1) << "and stays failed";
    EXPECT_FALSE(port->Write(bytes, 100ms));
}

TEST(SerialHangUp, ASilentLiveLineWaitsForItsTimeOutAsleep)
{
    PtyDevice device;
    auto port = device.OpenPort();
    ASSERT_TRUE(port);
    std::uint8_t bytes[2] = {};
    const auto wall = std::chrono::steady_clock::now();
    const auto cpu = ThreadCpuTime();
    EXPECT_EQ(port->Read(bytes, 150ms), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - wall, 145ms);
    EXPECT_LT(ThreadCpuTime() - cpu, 20ms);
    // Bytes that come in parts are gathered until the buffer is full.
    device.Play({{0, {0x01}}, {0, {0x02}}});
    EXPECT_EQ(port->Read(bytes, 1s), 2);
    EXPECT_EQ(bytes[1], 0x02);
    EXPECT_GE(port->Descriptor(), 0);
}

} // namespace
} // namespace md::test
