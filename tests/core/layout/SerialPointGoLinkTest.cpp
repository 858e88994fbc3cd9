#include "core/layout/SerialPointGoLink.h"
#include "core/design/SocketDesign.h"
#include "core/layout/PointGoExchange.h"
#include "core/layout/SerialFrames.h"
#include "core/support/PtyDevice.h"

#include <gtest/gtest.h>

namespace md::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

SocketDesign Socket(std::vector<std::uint32_t> codes, std::uint16_t scanRows = 4)
{
    SocketDesign socket;
    socket.NewSocket(static_cast<std::uint16_t>(codes.size()), scanRows);
    for (std::size_t i = 0; i < codes.size(); ++i)
        socket.Pins()[i].code = codes[i];
    return socket;
}

Bytes Reply(std::initializer_list<std::uint8_t> head)
{
    Bytes reply(head);
    reply.resize(pointgo::kReplySize, 0);
    return reply;
}

TEST(SerialFrames, PinCodesCarryPolarityAndSwapNibbles)
{
    const HandshakeWords none{};
    EXPECT_EQ(serialframes::PinCode(0x12, 4, none), 0x21);
    EXPECT_EQ(serialframes::PinCode(142, 4, none), 0x38);
    EXPECT_EQ(serialframes::PinCode(255, 4, none), 0x3F);
    EXPECT_EQ(serialframes::PinCode(15, 4, none), 0x00);
    EXPECT_EQ(serialframes::PinCode(15, 4, {0b10, 0, 1}), 0x10);
    EXPECT_EQ(serialframes::PinCode(47, 4, none), 0x02);
    EXPECT_EQ(serialframes::PinCode(47, 4, {0b100, 0, 1}), 0x12);
    EXPECT_EQ(serialframes::PinCode(63, 4, {0b1000, 0, 1}), 0x13);
    // Row pins only carry their polarity when the module scans.
    EXPECT_EQ(serialframes::PinCode(81, 4, {0, 0b10000, 1}), 0x15);
    EXPECT_EQ(serialframes::PinCode(81, 1, {0, 0b10000, 1}), 0x15); // 81 = 0x51 unchanged
    EXPECT_EQ(serialframes::PinCode(81, 4, none), 0x05);
    EXPECT_EQ(serialframes::PinCode(143, 4, {0, 0b100000, 1}), 0x18);
    EXPECT_EQ(serialframes::PinCode(143, 4, {0, 0b100000, 2}), 0xF8); // 143 = 0x8F unchanged
    EXPECT_EQ(serialframes::PinCode(143, 1, {0, 0, 1}), 0xF8);
}

TEST(SerialFrames, HandshakeNamesRowsPinsAndCodesInPinOrder)
{
    const auto frame = serialframes::BuildHandshake(Socket({16, 47, 63, 142}, 8), {});
    ASSERT_TRUE(frame);
    EXPECT_EQ((*frame)[0], 0xAA);
    EXPECT_EQ((*frame)[1], 8);
    EXPECT_EQ((*frame)[2], 4);
    EXPECT_EQ((*frame)[3], 0x01);
    EXPECT_EQ((*frame)[4], 0x02);
    EXPECT_EQ((*frame)[5], 0x03);
    EXPECT_EQ((*frame)[6], 0x38);
    for (std::size_t i = 7; i < frame->size(); ++i)
        EXPECT_EQ((*frame)[i], 0) << i;
    EXPECT_FALSE(serialframes::BuildHandshake(SocketDesign{}, {}));
}

TEST(SerialFrames, ReplyGivesLinesAndBlocksAndRefusesWhatCannotBe)
{
    const auto lines = serialframes::ParseReply(Reply({0xA0, 2, 0x00, 0x40, 0x00, 0x21}));
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->lengths, (std::vector<std::uint16_t>{64, 33}));
    EXPECT_EQ(lines->blockCount, 2U);

    Bytes most = Reply({0xA0, 23});
    for (std::size_t i = 0; i < 23; ++i)
        most[3 + 2 * i] = static_cast<std::uint8_t>(i + 1);
    most[2 + 2 * 22] = 0x01; // line 23: 256 + 23
    const auto full = serialframes::ParseReply(most);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->lengths.size(), 23U);
    EXPECT_EQ(full->lengths.back(), 279);
    EXPECT_EQ(full->blockCount, 9U);

    most[1] = 24;
    EXPECT_FALSE(serialframes::ParseReply(most)) << "only 23 lengths fit";
    EXPECT_FALSE(serialframes::ParseReply(Reply({0xA0, 0})));
    EXPECT_FALSE(serialframes::ParseReply(Reply({0xA0, 2, 0, 5, 0, 0}))) << "a line of length 0";
    EXPECT_FALSE(serialframes::ParseReply(Reply({0xA1, 1, 0, 5})));
    const Bytes shortReply{0xA0, 1, 0, 5};
    EXPECT_FALSE(serialframes::ParseReply(shortReply));
}

struct LinkOverPty : ::testing::Test
{
    LinkOverPty() : link(SerialPointGoLink::Timeouts{300ms, 150ms, 100ms})
    {
        link.SetPort(device.OpenPort());
    }
    /// Steps an exchange as the progress dialog does; the longest step in longestStep.
    PointGoExchange::State Run(PointGoExchange& exchange)
    {
        using Clock = std::chrono::steady_clock;
        for (;;) {
            const auto start = Clock::now();
            const auto state = exchange.Step();
            longestStep = std::max(longestStep, Clock::now() - start);
            if (state != PointGoExchange::State::Running)
                return state;
            std::this_thread::sleep_for(1ms);
        }
    }
    PointGoExchange Connect(std::vector<std::uint16_t> entries = {})
    {
        return PointGoExchange(link, std::move(entries), link.Flag(),
                               serialframes::BuildHandshake(socket, {}));
    }

    PtyDevice device;
    SerialPointGoLink link;
    SocketDesign socket = Socket({16, 47, 63, 0x12});
    std::chrono::steady_clock::duration longestStep{};
};

TEST_F(LinkOverPty, AProbeAnsweredWithAnythingButItsEchoSelectsTheOneByteAdvance)
{
    link.SetAdvance(SerialPointGoLink::AdvanceKind::Indexed);
    device.Play({{pointgo::kHandshakeSize, Reply({0xA0, 1, 0x00, 0x10})}, {3, {0x01, 0x01, 0x01}}});
    auto exchange = Connect();
    ASSERT_EQ(Run(exchange), PointGoExchange::State::Done);
    EXPECT_EQ(link.Advance(), SerialPointGoLink::AdvanceKind::OneByte);
    EXPECT_TRUE(link.HasPort());
}

TEST_F(LinkOverPty, ASilentDeviceNeverHoldsAStepAndItsPortIsForgotten)
{
    const auto start = std::chrono::steady_clock::now();
    auto exchange = Connect();
    EXPECT_EQ(Run(exchange), PointGoExchange::State::Failed);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 290ms) << "the reply time-out counts";
    EXPECT_LT(waited, 2s);
    EXPECT_LT(longestStep, 20ms) << "no step waits for the device";
    EXPECT_EQ(exchange.Why(), PointGoExchange::Failure::NoAnswer);
    EXPECT_EQ(exchange.CurrentStage(), PointGoExchange::Stage::Handshake);
    EXPECT_FALSE(link.HasPort());
    auto again = Connect();
    EXPECT_EQ(again.Step(), PointGoExchange::State::Failed) << "no port: fails at once";
    EXPECT_EQ(again.Why(), PointGoExchange::Failure::NoPort);
}

// Which replies are refused is checked on the frames; a refused one and a short one here.
TEST_F(LinkOverPty, ARefusedOrShortReplyForgetsThePort)
{
    const std::vector<Bytes> replies = {Reply({0x55, 2, 0, 64, 0, 33}), {0xA0, 2, 0, 64, 0, 33}};
    for (const Bytes& reply : replies) {
        link.SetPort(device.OpenPort());
        device.Play({{pointgo::kHandshakeSize, reply}});
        auto exchange = Connect();
        EXPECT_EQ(Run(exchange), PointGoExchange::State::Failed) << reply.size();
        EXPECT_FALSE(link.HasPort());
        device.Join();
    }
}

TEST_F(LinkOverPty, LayoutEntriesGoOneFrameEachWithTheFlagBeforeTheHandshake)
{
    link.SetParameters(4, 7);
    device.Play({{3, {0x01}},
                 {3, {0x02}},
                 {3, {0x03}},
                 {pointgo::kHandshakeSize, Reply({0xA0, 1, 0, 1})},
                 {3, {0xAE, 0, 0}}});
    auto exchange = Connect({0, 1, 0x105});
    EXPECT_EQ(exchange.PartCount(), 5U);
    ASSERT_EQ(Run(exchange), PointGoExchange::State::Done);
    const Bytes sent = device.Received();
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 9),
              (Bytes{0xAC, 0x00, 7, 0xAC, 0x01, 7, 0xAC, 0x05, 7}));
    EXPECT_EQ(sent[9], 0xAA);
}

TEST_F(LinkOverPty, AnEmptyLayoutAloneSendsNothing)
{
    PointGoExchange exchange(link, {}, 0, std::nullopt);
    EXPECT_EQ(exchange.Step(), PointGoExchange::State::Done);
    device.Play({{1, {}}}, 100ms);
    EXPECT_TRUE(device.Received().empty());
}

TEST_F(LinkOverPty, ADeviceThatStopsAcknowledgingEndsTheSendAndThePort)
{
    device.Play({{3, {0x01}}, {3, {}}});
    PointGoExchange exchange(link, {0, 1, 2}, 0, std::nullopt);
    EXPECT_EQ(Run(exchange), PointGoExchange::State::Failed);
    EXPECT_EQ(exchange.EntriesDone(), 1U);
    EXPECT_EQ(device.Received().size(), 6U) << "the third entry is not sent";
    EXPECT_FALSE(link.HasPort()) << "a failed send forgets the port";
}

TEST_F(LinkOverPty, AOneByteAdvanceTakesAnyByteButNotOneThatCameBeforeTheRequest)
{
    EXPECT_EQ(link.PollAdvance(), SerialPointGoLink::Answer::Failed) << "nothing requested";
    device.Send({0x01}); // a late answer to an earlier request
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(link.RequestLed(1));
    EXPECT_EQ(link.PollAdvance(), SerialPointGoLink::Answer::Waiting) << "dropped by the purge";
    device.Play({{1, {0x00}}});
    device.Join();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(link.PollAdvance(), SerialPointGoLink::Answer::Ready);
    EXPECT_EQ(device.Received(), (Bytes{0xAD}));
    link.ClosePort();
    EXPECT_FALSE(link.RequestLed(2));
    EXPECT_EQ(link.PollAdvance(), SerialPointGoLink::Answer::Failed);
}

TEST_F(LinkOverPty, AnIndexedAdvanceNamesTheLedAndTakesOnlyItsEcho)
{
    link.SetAdvance(SerialPointGoLink::AdvanceKind::Indexed);
    ASSERT_TRUE(link.RequestLed(0x1234));
    // An echo of another LED (answered after it was given up) in bytes split apart.
    device.Play({{3, {0xAE, 0x33}}});
    device.Join();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(link.PollAdvance(), SerialPointGoLink::Answer::Waiting);
    device.Send({0x12, 0xAE, 0x34});
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(link.PollAdvance(), SerialPointGoLink::Answer::Waiting);
    device.Send({0x12});
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(link.PollAdvance(), SerialPointGoLink::Answer::Ready);
    EXPECT_EQ(device.Received(), (Bytes{0xAE, 0x34, 0x12}));
}

TEST(PosixSerialPort, NamesWhatIsWrongWithADevice)
{
    std::string error;
    EXPECT_FALSE(PosixSerialPort::Open("/dev/nonexistent-tty", 115200, &error));
    EXPECT_NE(error.find("/dev/nonexistent-tty"), std::string::npos);
    EXPECT_FALSE(PosixSerialPort::Open("/dev/null", 115200, &error));
    EXPECT_NE(error.find("not a serial line"), std::string::npos);
    PtyDevice device;
    EXPECT_FALSE(PosixSerialPort::Open(device.Path(), 12345, &error));
    EXPECT_NE(error.find("baud"), std::string::npos);
}

} // namespace
} // namespace md::test
