#include "core/layout/PointGo.h"
#include "core/design/SocketDesign.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/layout/TracingHarness.h"
#include "core/platform/Clock.h"
#include "core/support/PtyDevice.h"

#include <gtest/gtest.h>

namespace md::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class ManualClock final : public Clock
{
public:
    std::uint32_t TickCount() const override { return now; }
    std::uint32_t now = 1000;
};

CellLed Led(std::uint16_t colour, std::uint16_t group)
{
    CellLed led;
    led.colour = colour;
    led.group = group;
    led.widthPx = 20;
    led.heightPx = 20;
    return led;
}

Bytes Reply(std::initializer_list<std::uint8_t> head)
{
    Bytes reply(head);
    reply.resize(pointgo::kReplySize, 0);
    return reply;
}

/// A 2 x 1 module whose pixels each hold the given LEDs, traced by point-go over a pty with a
/// device that knows only the one-byte advance.
struct PointGoHarness : ::testing::Test
{
    explicit PointGoHarness(std::vector<CellLed> cell = {Led(0, 1)}, std::uint16_t groups = 1)
        : tracing(MakeSetup(2, 1, 1, groups)), link(SerialPointGoLink::Timeouts{500ms, 300ms, 50ms})
    {
        tracing.model.Construct(2, 1, {cell, cell, cell, cell});
        tracing.tracer->Create();
        socket.NewSocket(4, 1);
        const std::uint32_t codes[] = {16, 47, 63, 255};
        for (int i = 0; i < 4; ++i)
            socket.Pins()[static_cast<std::size_t>(i)].code = codes[i];
        pointGo = std::make_unique<PointGo>(
            *tracing.tracer, result, link,
            PointGo::Ports{prompter, tracing.texts, clock,
                           [this](const std::vector<CellLed>&, const std::vector<std::size_t>& c) {
                               offered.push_back(c);
                               return choice;
                           },
                           [this](std::u16string& reason) -> std::unique_ptr<SerialPort> {
                               if (!portAvailable) {
                                   reason = u"/dev/ttyTEST: no such device";
                                   return nullptr;
                               }
                               return device.OpenPort();
                           }});
        pointGo->SetChangedHandler([this] { ++changes; });
    }

    /// Hardware start against a device that reports the given reply and leaves the probe for
    /// the indexed advance unanswered.
    bool Start(Bytes reply)
    {
        device.Play({{pointgo::kHandshakeSize, std::move(reply)}, {3, {}}});
        const bool started = pointGo->StartHardware(&socket, {});
        device.Join();
        return started;
    }
    void At(std::int32_t pixel) { tracing.model.SetCurrent(pixel); }
    /// The device answers the pending advance and the timer takes it.
    void DeviceLitNext()
    {
        device.Play({{1, {0x00}}});
        device.Join();
        std::this_thread::sleep_for(10ms);
        pointGo->Tick();
    }
    const std::vector<ChannelRow>& Result() const { return result.Entries(); }

    TracingHarness tracing;
    PtyDevice device;
    SerialPointGoLink link;
    ScriptedPrompter prompter;
    ManualClock clock;
    SocketDesign socket;
    std::optional<std::size_t> choice;
    std::vector<std::vector<std::size_t>> offered;
    bool portAvailable = true;
    int changes = 0;
    PointGoResult result;
    std::unique_ptr<PointGo> pointGo;
};

TEST_F(PointGoHarness, NothingBeforeTheDeviceHasAnswered)
{
    pointGo->SelectMode(PointGo::kAllLeds);
    EXPECT_EQ(prompter.Last(), "ID_NOT_SELECT_POINT_GO");
    EXPECT_EQ(prompter.LastCaption(), "ID_PROMPT");
    EXPECT_FALSE(pointGo->InPointGoMode());
    EXPECT_FALSE(pointGo->ToggleHold());
    At(0);
    pointGo->Step();
    EXPECT_EQ(prompter.asked.size(), 1U);
}

TEST_F(PointGoHarness, AnInvalidSocketIsRefusedBeforeAnythingIsSent)
{
    socket.Pins()[3].code = 47; // a second 47
    EXPECT_FALSE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(prompter.Last(), "Please check socket design.");
    EXPECT_FALSE(link.HasPort()) << "the port is not even opened";
    device.Play({{1, {}}}, 100ms);
    EXPECT_TRUE(device.Received().empty());
}

TEST_F(PointGoHarness, APortThatCannotBeOpenedSaysWhichAndWhy)
{
    portAvailable = false;
    EXPECT_FALSE(pointGo->StartHardware(&socket, {}));
    ASSERT_EQ(prompter.asked.size(), 1U);
    EXPECT_EQ(prompter.Last(), "Please Check Link.\n\n/dev/ttyTEST: no such device");
    EXPECT_FALSE(pointGo->Selected());
}

TEST_F(PointGoHarness, ASilentDeviceGivesCheckLink)
{
    device.Play({{pointgo::kHandshakeSize, {}}});
    EXPECT_FALSE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(prompter.Last(), "Please Check Link.\n\nIDS_MD_POINTGO_NO_REPLY");
    EXPECT_FALSE(link.HasPort());
    EXPECT_NE(tracing.tracer->EditMode(), PointGo::kHardwareSocket);
}

/// Two data groups of one colour: the device reports two lines.
struct TwoLineModule : PointGoHarness
{
    TwoLineModule() : PointGoHarness({Led(0, 1)}, 2) {}
};

TEST_F(TwoLineModule, EveryLedIsRecordedLineByLineUntilFinished)
{
    // Two lines: the first one LED long, the second one.
    ASSERT_TRUE(Start(Reply({0xA0, 2, 0, 1, 0, 1})));
    EXPECT_EQ(tracing.tracer->EditMode(), PointGo::kHardwareSocket);
    EXPECT_TRUE(link.HardwareSocketMode());
    EXPECT_TRUE(pointGo->Selected());
    ASSERT_EQ(Result().size(), 2U);
    EXPECT_EQ(Result()[1].rowLength, 1);
    EXPECT_NE(pointGo->StatusText().find(u": 2 IDS_MD_POINT_GO_LINES, 2 IDS_MD_POINT_GO_POINTS, "
                                         u"IDS_MD_POINTGO_ADVANCE_ONE_BYTE"),
              std::u16string::npos);

    pointGo->SelectMode(PointGo::kAllLeds);
    At(1);
    pointGo->Step();
    ASSERT_EQ(Result()[0].rows[0].points.size(), 1U);
    const TracedPoint& first = Result()[0].rows[0].points[0];
    EXPECT_EQ(first.x, 1);
    EXPECT_EQ(first.ordinal, 1);
    EXPECT_EQ(first.channelIndex, 0);
    EXPECT_FALSE(tracing.model.Points()[1].LedVisible(0)) << "a recorded LED is hidden";
    EXPECT_TRUE(pointGo->Busy());
    EXPECT_EQ(pointGo->EntryCursor(), 1U);

    pointGo->Step();
    EXPECT_EQ(prompter.Last(), "ID_HARDWARE_POINT_GOING");
    DeviceLitNext();
    EXPECT_FALSE(pointGo->Busy());

    At(0);
    pointGo->Step();
    EXPECT_EQ(prompter.Last(), "ID_POINT_GO_FINISHED");
    EXPECT_TRUE(pointGo->Finished());
    EXPECT_TRUE(tracing.tracer->Result().empty()) << "the layout result waits for Finish";
    EXPECT_EQ(Result()[1].rows[0].points[0].x, 0);
    const std::size_t boxes = prompter.asked.size();
    pointGo->Step();
    EXPECT_EQ(prompter.asked.size(), boxes + 1);
    EXPECT_EQ(prompter.Last(), "ID_POINT_GO_FINISHED");
    EXPECT_FALSE(pointGo->TimerRunning());
    // Handshake, probe, one advance; nothing after the last LED.
    EXPECT_EQ(device.Received().size(), pointgo::kHandshakeSize + 3 + 1);
}

TEST_F(PointGoHarness, AnUnmarkedPixelOrAHeldRunRecordsNothing)
{
    ASSERT_TRUE(Start(Reply({0xA0, 1, 0, 2})));
    pointGo->SelectMode(PointGo::kAllLeds);
    tracing.model.Points()[0].marked = 0;
    At(0);
    pointGo->Step();
    EXPECT_TRUE(Result()[0].rows[0].points.empty());
    EXPECT_FALSE(pointGo->Busy());

    ASSERT_TRUE(pointGo->ToggleHold());
    At(1);
    pointGo->Step();
    EXPECT_TRUE(Result()[0].rows[0].points.empty());
    ASSERT_TRUE(pointGo->ToggleHold());
    pointGo->Step();
    EXPECT_EQ(Result()[0].rows[0].points.size(), 1U);
}

struct TwoGroupCell : PointGoHarness
{
    TwoGroupCell() : PointGoHarness({Led(0, 1), Led(1, 1), Led(2, 2)}) {}
};

TEST_F(TwoGroupCell, SeveralCandidatesAskForAChoice)
{
    ASSERT_TRUE(Start(Reply({0xA0, 1, 0, 6})));
    pointGo->SelectMode(PointGo::kGroup1);
    At(0);
    pointGo->Step(); // the user closes the list without a choice
    ASSERT_EQ(offered.size(), 1U);
    EXPECT_EQ(offered[0], (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(Result()[0].rows[0].points.empty());
    EXPECT_FALSE(pointGo->Busy());

    choice = 1;
    pointGo->Step();
    EXPECT_EQ(Result()[0].rows[0].points.size(), 1U);
    EXPECT_FALSE(tracing.model.Points()[0].LedVisible(1));
    EXPECT_TRUE(tracing.model.Points()[0].LedVisible(0));
    DeviceLitNext();

    // Group 1 has one LED left: no list. Group 2 has its own.
    pointGo->Step();
    EXPECT_EQ(offered.size(), 2U);
    DeviceLitNext();
    pointGo->SelectMode(PointGo::kGroup2);
    pointGo->Step();
    EXPECT_EQ(offered.size(), 2U);
    EXPECT_EQ(Result()[0].rows[0].points.size(), 3U);
    EXPECT_FALSE(tracing.model.Points()[0].LedVisible(2));
}

TEST_F(TwoGroupCell, ResetBringsEveryLedBackOnlyWhenAllowed)
{
    ASSERT_TRUE(Start(Reply({0xA0, 1, 0, 6})));
    pointGo->SelectMode(PointGo::kGroup2);
    At(0);
    pointGo->Step();
    DeviceLitNext();
    At(1);
    pointGo->Step();
    pointGo->Reset();
    EXPECT_EQ(Result()[0].rows[0].points.size(), 2U) << "reset needs its mode first";

    pointGo->AllowReset();
    pointGo->Reset();
    EXPECT_TRUE(Result().empty());
    EXPECT_FALSE(pointGo->Selected());
    for (const LedPoint& point : tracing.model.Points()) {
        EXPECT_EQ(point.traced, 0);
        for (unsigned led = 0; led < 3; ++led)
            EXPECT_TRUE(point.LedVisible(led));
    }
    pointGo->SelectMode(PointGo::kAllLeds);
    EXPECT_EQ(prompter.Last(), "ID_NOT_SELECT_POINT_GO");
}

TEST_F(PointGoHarness, AnUnansweredAdvanceOffersRetryAndCancel)
{
    ASSERT_TRUE(Start(Reply({0xA0, 1, 0, 2})));
    pointGo->SelectMode(PointGo::kAllLeds);
    At(0);
    pointGo->Step();
    pointGo->Tick();
    EXPECT_TRUE(prompter.asked.empty()) << "still inside the time-out";
    clock.now += 400;
    prompter.answers = {PromptAnswer::Retry};
    pointGo->Tick();
    ASSERT_EQ(prompter.asked.size(), 1U);
    EXPECT_EQ(prompter.asked[0].first, PromptButtons::RetryCancel);
    EXPECT_EQ(prompter.Last(), "ID_SERIAL_PORT_DATA_SEND_FAILUE");
    EXPECT_TRUE(pointGo->Busy());

    clock.now += 400;
    prompter.answers = {PromptAnswer::Cancel};
    pointGo->Tick();
    EXPECT_FALSE(pointGo->Busy());
    EXPECT_FALSE(pointGo->InPointGoMode());
    // Handshake, probe, the advance and its retry.
    device.Play({{2, {}}}, 200ms);
    EXPECT_EQ(device.Received().size(), pointgo::kHandshakeSize + 3 + 2);
}

TEST_F(TwoLineModule, AClickInHardwareSocketModeSendsTheLayoutOnce)
{
    ASSERT_TRUE(Start(Reply({0xA0, 2, 0, 1, 0, 1})));
    // The layout result goes to the device, one frame per entry (point-go's own result is no
    // layout until Finish takes it).
    tracing.tracer->Result().resize(2);
    tracing.tracer->Result()[1].index = 1;
    device.Play({{3, {0x01}}, {3, {0x01}}});
    EXPECT_TRUE(pointGo->ClickInHardwareMode());
    EXPECT_EQ(device.Received().size(), pointgo::kHandshakeSize + 3 + 6);
    EXPECT_FALSE(link.HardwareSocketMode());
    EXPECT_FALSE(pointGo->ClickInHardwareMode()) << "the next click traces again";
}

TEST_F(PointGoHarness, WorkAreaCommandsNeedMarkedPixels)
{
    pointGo->MarkAll(false);
    EXPECT_EQ(tracing.tracer->EditMode(), PointGo::kUnmarkAll);
    EXPECT_EQ(tracing.model.MarkedCount(), 0U);
    pointGo->ClearVirtualArrangement();
    EXPECT_EQ(prompter.Last(), "Please create a work area.");
    EXPECT_EQ(tracing.tracer->EditMode(), PointGo::kUnmarkAll);
    bool opened = false;
    pointGo->DecomposePixels([&](auto codes) {
        opened = true;
        return std::optional(codes);
    });
    EXPECT_FALSE(opened);

    pointGo->MarkAll(true);
    EXPECT_EQ(tracing.model.MarkedCount(), 2U);
    pointGo->DecomposePixels([](auto) {
        return std::optional(std::array<std::uint32_t, 3>{1, 2, 3});
    });
    EXPECT_EQ(tracing.tracer->VirtualCodes(), (std::array<std::uint32_t, 3>{1, 2, 3}));
    pointGo->ClearVirtualArrangement();
    EXPECT_EQ(tracing.tracer->EditMode(), PointGo::kVirtualCleared);
    EXPECT_EQ(tracing.tracer->VirtualCodes(), (std::array<std::uint32_t, 3>{}));
}

TEST_F(PointGoHarness, AColourLayerTogglesBackToTheNormalView)
{
    pointGo->ColourLayer(1);
    EXPECT_EQ(tracing.tracer->EditMode(), 7U);
    EXPECT_EQ(tracing.model.Layer(), 1);
    pointGo->ColourLayer(2);
    EXPECT_EQ(tracing.model.Layer(), 2);
    pointGo->ColourLayer(2);
    EXPECT_EQ(tracing.tracer->EditMode(), PointGo::kNormalView);
    EXPECT_EQ(tracing.model.Layer(), -1);
    // A handshake in a layer view leaves it.
    pointGo->ColourLayer(0);
    ASSERT_TRUE(Start(Reply({0xA0, 1, 0, 2})));
    EXPECT_EQ(tracing.model.Layer(), -1);
}

} // namespace
} // namespace md::test
