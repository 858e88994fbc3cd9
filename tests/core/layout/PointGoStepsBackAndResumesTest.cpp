// Point-go's own result over a real pseudo-terminal: the last LED taken back, outputs that
// drive no LED skipped, and a reconnect in the middle of a run that goes on where it stopped.
// In each run the user confirms whatever the device really lights, and the recorded order must
// be the device's order, LED by LED.
#include "core/layout/PointGoRunHarness.h"

namespace md::test {
namespace {

using namespace std::chrono_literals;
using Fault = PointGoPtyDevice::Fault;

TEST_F(PointGoRecovery, StepBackHasTheDeviceLightTheLedAgainAndTheRunEndsInTheDevicesOrder)
{
    Build(3, 2, true);
    ASSERT_TRUE(StartAndConfirm(0));
    EXPECT_FALSE(pointGo->StepBack()) << "nothing recorded yet";
    for (int led = 0; led < 3; ++led)
        ASSERT_TRUE(ConfirmLit()) << led;
    const Place third = Truth(2);
    EXPECT_FALSE(Point(third.pixel).LedVisible(static_cast<unsigned>(third.led)));

    ASSERT_TRUE(pointGo->StepBack());
    EXPECT_EQ(result.Cursor(), 2U);
    EXPECT_TRUE(Point(third.pixel).LedVisible(static_cast<unsigned>(third.led)));
    EXPECT_TRUE(pointGo->Busy()) << "the device is asked to light it again";
    ASSERT_TRUE(WaitReady());
    EXPECT_EQ(device->Lit(), 2);
    // Twice back, across a pixel: the pixel's traced flag goes with its last LED.
    ASSERT_TRUE(pointGo->StepBack());
    ASSERT_TRUE(pointGo->StepBack());
    EXPECT_EQ(Point(Truth(0).pixel).traced, 0);
    EXPECT_FALSE(pointGo->RestartNeeded());

    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    EXPECT_EQ(device->Requests(), (std::vector<int>{0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 4, 5}));
}

TEST_F(PointGoRecovery, StepBackWithTheOneByteAdvanceAsksForARestartAtTheRecordedPosition)
{
    Build(3, 2, false);
    ASSERT_TRUE(StartAndConfirm(2));
    ASSERT_TRUE(pointGo->StepBack());
    EXPECT_EQ(result.Cursor(), 1U);
    EXPECT_TRUE(pointGo->RestartNeeded());
    EXPECT_FALSE(pointGo->Busy()) << "nothing is sent: the device cannot go back";
    EXPECT_NE(pointGo->StatusText().find(u"restart it from line 1, scan row 1, LED 2"),
              std::u16string::npos);
    EXPECT_EQ(device->Requests(), std::vector<int>(2, -1));
}

TEST_F(PointGoRecovery, OutputsThatDriveNoLedAreSkippedInPlace)
{
    Build(2, 2, true, 1, {1, 4}); // six outputs, the second and the fifth unconnected
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_FALSE(pointGo->Skip()) << "only in a point-go mode";
    pointGo->SelectMode(PointGo::kAllLeds);
    ASSERT_TRUE(ConfirmLit());
    ASSERT_TRUE(ConfirmLit()); // skipped
    EXPECT_FALSE(pointGo->Skip()) << "not before the device lights the next output";
    // A skip is taken back like an LED.
    ASSERT_TRUE(WaitReady());
    ASSERT_TRUE(pointGo->StepBack());
    EXPECT_EQ(result.Cursor(), 1U);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    const ScanRow& row = result.Entries()[0].rows[0];
    EXPECT_TRUE(row.points[1].IsVirtual());
    EXPECT_EQ(row.points[1].ordinal, 2);
    EXPECT_TRUE(row.points[4].IsVirtual());
    EXPECT_FALSE(row.points[5].IsVirtual());
    EXPECT_EQ(device->Requests(), (std::vector<int>{0, 1, 2, 1, 2, 3, 4, 5}));
}

TEST_F(PointGoRecovery, EchoesOfEarlierAdvancesComingDuringAReconnectAreNoPartOfItsAnswers)
{
    Build(3, 2, true);
    // The first requests for LEDs 2 and 4 go unanswered until a later connection: the one
    // echo comes just before the handshake reply, the other just before the probe's echo.
    device->SetFault(3, Fault::EchoBeforeReply);
    device->SetFault(8, Fault::EchoBeforeProbe);
    prompter.answer = [](std::size_t) { return PromptAnswer::Retry; };
    ASSERT_TRUE(StartAndConfirm(3));
    // Each reconnect goes on at the recorded position.
    ASSERT_TRUE(StartAndConfirm(2));
    EXPECT_EQ(result.Cursor(), 5U);
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(link.Advance(), SerialPointGoLink::AdvanceKind::Indexed);
    EXPECT_FALSE(pointGo->RestartNeeded());
    pointGo->SelectMode(PointGo::kAllLeds);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    EXPECT_EQ(prompter.Count(PromptButtons::RetryCancel), 2U);
    EXPECT_EQ(device->Requests(), (std::vector<int>{0, 1, 2, 2, 3, 0, 3, 4, 4, 5, 0, 5}));
}

TEST_F(PointGoRecovery, AReconnectToOtherLinesGivesTheHiddenLedsBack)
{
    Build(3, 2, true);
    ASSERT_TRUE(StartAndConfirm(2));
    device->SetLines({5});
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(result.Cursor(), 0U);
    EXPECT_EQ(result.Size(), 5U);
    for (std::int32_t pixel = 0; pixel < 3; ++pixel) {
        EXPECT_EQ(Point(pixel).hiddenLeds, 0U) << pixel;
        EXPECT_EQ(Point(pixel).traced, 0) << pixel;
    }
}

TEST_F(PointGoRecovery, AReconnectWithTheOneByteAdvanceKeepsTheRunAndSaysWhereToRestart)
{
    Build(3, 2, false);
    ASSERT_TRUE(StartAndConfirm(2));
    const std::size_t boxes = prompter.asked.size();
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(result.Cursor(), 2U);
    ASSERT_EQ(prompter.asked.size(), boxes + 1);
    EXPECT_NE(prompter.asked.back().second.find("cannot be sent to LED 3"), std::string::npos)
        << prompter.asked.back().second;
    EXPECT_TRUE(pointGo->RestartNeeded());
    EXPECT_NE(pointGo->StatusText().find(u"restart it from line 1, scan row 1, LED 3"),
              std::u16string::npos);
}

} // namespace
} // namespace md::test
