// The reference host's point-go test device, answered by the plug-in's own serial link over
// the pseudo-terminal the host makes.
#include "virtual/VirtualTestDevice.h"
#include "core/design/SocketDesign.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/posix/PosixSerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace md {
namespace {

using namespace std::chrono_literals;
using host::VirtualTestDevice;

struct DeviceFixture : ::testing::Test
{
    DeviceFixture()
    {
        device.onLit = [this](const VirtualTestDevice::Lit& led) {
            std::lock_guard lock(mutex);
            lit.push_back(led);
            changed.notify_all();
        };
        device.onLog = [this](const std::string& line) {
            std::lock_guard lock(mutex);
            log.push_back(line);
        };
        socket.NewSocket(4, 2);
        const std::uint32_t codes[] = {16, 47, 63, 81};
        for (std::size_t i = 0; i < 4; ++i)
            socket.Pins()[i].code = codes[i];
    }
    void SetUp() override
    {
        ASSERT_TRUE(device.Start());
        link.SetPort(PosixSerialPort::Open(device.Path(), 115200));
        ASSERT_TRUE(link.HasPort());
    }
    /// Waits until the device has lit count LEDs in all.
    bool LitCount(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 2s, [&] { return lit.size() >= count; });
    }

    VirtualTestDevice device{{3, 2, 2}}; // three lines of two pixels, two LEDs each
    SerialPointGoLink link;
    SocketDesign socket;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<VirtualTestDevice::Lit> lit;
    std::vector<std::string> log;
};

TEST_F(DeviceFixture, ANewDesignGetsTheModulesLinesAndTheFirstLedLights)
{
    ASSERT_TRUE(link.Handshake(&socket, {}, false));
    EXPECT_EQ(link.Lines().lengths, (std::vector<std::uint16_t>{4, 4, 4}));
    EXPECT_EQ(link.Lines().blockCount, 1U);
    ASSERT_TRUE(LitCount(1));
    EXPECT_EQ(lit[0].line, 0);
    EXPECT_EQ(lit[0].position, 1);
    EXPECT_EQ(lit[0].led, 0);
    std::lock_guard lock(mutex);
    ASSERT_EQ(log.size(), 2U);
    EXPECT_EQ(log[0].rfind("device <- AA 02 04 ", 0), 0U) << log[0];
    EXPECT_EQ(log[1].rfind("device -> A0 03 00 04 00 04 00 04 00", 0), 0U) << log[1];
}

TEST_F(DeviceFixture, ASentLayoutNamesTheLinesAndAdvancesWalkLedsPixelsAndRows)
{
    std::vector<ChannelRow> layout(2);
    layout[1].index = 1;
    ASSERT_TRUE(link.SendLayout(layout));
    ASSERT_TRUE(link.Handshake(&socket, {}, false));
    EXPECT_EQ(link.Lines().lengths.size(), 2U) << "one line per entry sent";

    // LED 2 of pixel 1, then pixel 2, then scan row 2.
    for (int step = 0; step < 4; ++step) {
        ASSERT_TRUE(link.RequestAdvance());
        auto answer = SerialPointGoLink::Answer::Waiting;
        for (int poll = 0; poll < 100 && answer == SerialPointGoLink::Answer::Waiting; ++poll) {
            std::this_thread::sleep_for(5ms);
            answer = link.PollAdvance();
        }
        ASSERT_EQ(answer, SerialPointGoLink::Answer::Ready) << step;
    }
    ASSERT_TRUE(LitCount(5));
    EXPECT_EQ(lit[1].led, 1);
    EXPECT_EQ(lit[2].position, 2);
    EXPECT_EQ(lit[2].led, 0);
    EXPECT_EQ(lit[4].scanRow, 1);
    EXPECT_EQ(lit[4].position, 1);
    EXPECT_EQ(device.ReportedLengths(), (std::vector<std::uint16_t>{4, 4}));
}

} // namespace
} // namespace md
