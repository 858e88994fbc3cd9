// The reference host's point-go test device, answered by the plug-in's own serial link over
// the pseudo-terminal the host makes.
#include "virtual/VirtualTestDevice.h"
#include "core/design/SocketDesign.h"
#include "core/layout/PointGoExchange.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/posix/PosixSerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
    /// Layout entries (indices), then the handshake and the probe.
    bool Connect(std::vector<std::uint16_t> entries = {})
    {
        PointGoExchange exchange(link, std::move(entries), 0,
                                 serialframes::BuildHandshake(socket, {}));
        PointGoExchange::RunHere(exchange);
        return exchange.Current() == PointGoExchange::State::Done;
    }
    /// Asks for LED k and waits for the answer.
    bool Light(std::size_t k)
    {
        if (!link.RequestLed(k))
            return false;
        auto answer = SerialPointGoLink::Answer::Waiting;
        for (int poll = 0; poll < 200 && answer == SerialPointGoLink::Answer::Waiting; ++poll) {
            std::this_thread::sleep_for(5ms);
            answer = link.PollAdvance();
        }
        return answer == SerialPointGoLink::Answer::Ready;
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

TEST_F(DeviceFixture, ANewDesignGetsTheModulesLinesTheIndexedAdvanceAndTheFirstLedLights)
{
    ASSERT_TRUE(Connect());
    EXPECT_EQ(link.Lines().lengths, (std::vector<std::uint16_t>{4, 4, 4}));
    EXPECT_EQ(link.Lines().blockCount, 1U);
    EXPECT_EQ(link.Advance(), SerialPointGoLink::AdvanceKind::Indexed);
    ASSERT_TRUE(LitCount(2)); // the handshake, then the probe for LED 0
    EXPECT_EQ(lit[0].line, 0);
    EXPECT_EQ(lit[0].position, 1);
    EXPECT_EQ(lit[0].led, 0);
    std::lock_guard lock(mutex);
    ASSERT_EQ(log.size(), 4U);
    EXPECT_EQ(log[0].rfind("device <- AA 02 04 ", 0), 0U) << log[0];
    EXPECT_EQ(log[1].rfind("device -> A0 03 00 04 00 04 00 04 00", 0), 0U) << log[1];
    EXPECT_EQ(log[2], "device <- AE 00 00");
    EXPECT_EQ(log[3], "device -> AE 00 00");
}

TEST_F(DeviceFixture, ASentLayoutNamesTheLinesAndBothAdvancesWalkLedsPixelsAndRows)
{
    ASSERT_TRUE(Connect({0, 1}));
    EXPECT_EQ(link.Lines().lengths.size(), 2U) << "one line per entry sent";

    // One byte at a time: LED 2 of pixel 1, then pixel 2.
    link.SetAdvance(SerialPointGoLink::AdvanceKind::OneByte);
    ASSERT_TRUE(Light(1));
    ASSERT_TRUE(Light(2));
    // By number: scan row 2 of line 1 (LED 4 in the device's order), the same again, and
    // line 2's last LED.
    link.SetAdvance(SerialPointGoLink::AdvanceKind::Indexed);
    ASSERT_TRUE(Light(4));
    ASSERT_TRUE(Light(4));
    ASSERT_TRUE(Light(15));
    EXPECT_FALSE(Light(16)) << "an LED the module does not have gets no answer";
    ASSERT_TRUE(LitCount(7));
    EXPECT_EQ(lit[2].led, 1);
    EXPECT_EQ(lit[3].position, 2);
    EXPECT_EQ(lit[3].led, 0);
    EXPECT_EQ(lit[4].scanRow, 1);
    EXPECT_EQ(lit[4].position, 1);
    EXPECT_EQ(lit[5].scanRow, lit[4].scanRow);
    EXPECT_EQ(lit[5].position, lit[4].position);
    EXPECT_EQ(lit[6].line, 1);
    EXPECT_EQ(lit[6].scanRow, 1);
    EXPECT_EQ(lit[6].position, 2);
    EXPECT_EQ(lit[6].led, 1);
    EXPECT_EQ(device.ReportedLengths(), (std::vector<std::uint16_t>{4, 4}));
}

TEST_F(DeviceFixture, AScriptedDeviceAnswersLateThenVanishesAndComesBackAtTheSamePath)
{
    for (const char* bad : {"late", "slow:3", "vanish:0", "late:2:x", "late:2,vanish"})
        EXPECT_FALSE(device.Script(bad)) << bad;
    // The probe is request 1: LED 2 is answered late, and the line hangs up at LED 3's request.
    ASSERT_TRUE(device.Script("late:3:300,vanish:4:400"));
    const std::string path = device.Path();
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    ASSERT_TRUE(Connect());
    ASSERT_TRUE(Light(1));

    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(Light(2));
    EXPECT_GE(std::chrono::steady_clock::now() - asked, 280ms);

    ASSERT_TRUE(link.RequestLed(3));
    auto answer = SerialPointGoLink::Answer::Waiting;
    const auto sent = std::chrono::steady_clock::now();
    while (answer == SerialPointGoLink::Answer::Waiting &&
           std::chrono::steady_clock::now() - sent < 1s)
        answer = link.PollAdvance();
    EXPECT_EQ(answer, SerialPointGoLink::Answer::Failed) << "the hang-up is seen";
    EXPECT_LT(std::chrono::steady_clock::now() - sent, 450ms) << "before the 500 ms time-out";
    EXPECT_FALSE(link.HasPort());
    EXPECT_TRUE(device.Gone());

    // Back at the same path on a fresh line, where it was: LED 3 is asked for again.
    for (int wait = 0; wait < 400 && device.Gone(); ++wait)
        std::this_thread::sleep_for(5ms);
    ASSERT_FALSE(device.Gone());
    EXPECT_EQ(device.Path(), path);
    link.SetPort(PosixSerialPort::Open(path, 115200));
    ASSERT_TRUE(link.HasPort());
    ASSERT_TRUE(Light(3));
    EXPECT_EQ(device.Requests(), 5);
    ASSERT_TRUE(LitCount(5)); // the handshake, then LEDs 0 to 3 once each
    std::lock_guard lock(mutex);
    EXPECT_EQ(lit.back().line, 0);
    EXPECT_EQ(lit.back().position, 2);
    EXPECT_EQ(lit.back().led, 1);
}

TEST(VirtualTestDevice, LinksLeftByHostsThatEndedWithoutTidyingUpAreRemovedAtStart)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const auto temp = std::filesystem::temp_directory_path();
    const auto stale = temp / ("md-test-device-" + std::to_string(child) + "-1");
    const auto alive = temp / ("md-test-device-" + std::to_string(::getpid()) + "-1");
    std::filesystem::create_directories(stale);
    std::filesystem::create_directories(alive);
    {
        VirtualTestDevice device{{}};
        ASSERT_TRUE(device.Start());
        EXPECT_TRUE(std::filesystem::is_symlink(device.Path()));
    }
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(alive)) << "a running host's link stays";
    std::filesystem::remove_all(alive);
}

} // namespace
} // namespace md
