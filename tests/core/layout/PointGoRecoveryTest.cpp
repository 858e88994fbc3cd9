// Point-go against a device with a place of its own on a real pseudo-terminal: late answers,
// lost requests, a line that vanishes and comes back at the same path, and device numbers that
// do not fit the module. In every run the user confirms whatever the device really lights, and
// the recorded order must be the device's order, LED by LED.
#include "core/layout/PointGoRunHarness.h"

namespace md::test {
namespace {

using namespace std::chrono_literals;
using Fault = PointGoPtyDevice::Fault;

TEST_F(PointGoRecovery, ASilentProbeMeansTheOneByteAdvanceAndTheStatusBarSaysSo)
{
    Build(3, 2, false);
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(link.Advance(), SerialPointGoLink::AdvanceKind::OneByte);
    EXPECT_NE(pointGo->StatusText().find(u"one-byte advance"), std::u16string::npos);
    pointGo->SelectMode(PointGo::kAllLeds);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    EXPECT_EQ(device->Requests(), std::vector<int>(5, -1));
}

TEST_F(PointGoRecovery, RetryAfterALateAnswerLightsTheSameLedAgain)
{
    Build(3, 2, true);
    device->SetFault(3, Fault::Late); // the request for LED 2 (the probe is the first)
    prompter.answer = [](std::size_t) { return PromptAnswer::Retry; };
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(link.Advance(), SerialPointGoLink::AdvanceKind::Indexed);
    EXPECT_NE(pointGo->StatusText().find(u"indexed advance"), std::u16string::npos);
    pointGo->SelectMode(PointGo::kAllLeds);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    EXPECT_EQ(prompter.Count(PromptButtons::RetryCancel), 1U);
    // The probe for LED 0, then each LED by number; LED 2 twice, the device lighting it again.
    EXPECT_EQ(device->Requests(), (std::vector<int>{0, 1, 2, 2, 3, 4, 5}));
    EXPECT_NE(prompter.asked.back().second.find("ID_POINT_GO_FINISHED"), std::string::npos);
}

TEST_F(PointGoRecovery, CancelAfterALostAdvanceAsksForTheRecordedPositionAgain)
{
    Build(3, 2, true);
    device->SetFault(3, Fault::Lost); // LED 2 is never asked for as far as the device knows
    prompter.answer = [](std::size_t) { return PromptAnswer::Cancel; };
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    pointGo->SelectMode(PointGo::kAllLeds);
    ASSERT_TRUE(ConfirmLit());
    ASSERT_TRUE(ConfirmLit());
    EXPECT_FALSE(ConfirmLit()) << "Cancel leaves point-go";
    EXPECT_EQ(prompter.Count(PromptButtons::RetryCancel), 1U);
    EXPECT_FALSE(pointGo->InPointGoMode());
    // Cancel asked the device once more for the LED the cursor is at; its echo is taken.
    for (int tick = 0; tick < 500 && pointGo->LitLed() != 2U; ++tick) {
        std::this_thread::sleep_for(2ms);
        pointGo->Tick();
    }
    EXPECT_EQ(pointGo->LitLed().value_or(99), 2U);
    EXPECT_EQ(device->Lit(), 2);

    pointGo->SelectMode(PointGo::kAllLeds);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    EXPECT_EQ(device->Requests(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(PointGoRecovery, ALineThatVanishesIsOpenedAfreshAtTheSamePathAndTheRunGoesOn)
{
    Build(3, 2, true);
    device->SetFault(5, Fault::Vanish); // unplugged as LED 4 is asked for
    // The first Retry finds no device; the adapter is back by the second.
    prompter.answer = [this](std::size_t n) {
        if (n == 2)
            device->ComeBack();
        return PromptAnswer::Retry;
    };
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    pointGo->SelectMode(PointGo::kAllLeds);
    const auto start = std::chrono::steady_clock::now();
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "a hang-up is seen at once";
    EXPECT_EQ(prompter.Count(PromptButtons::RetryCancel), 2U);
    EXPECT_EQ(opens, 2) << "opened at start and again after the replug";
    EXPECT_EQ(device->Requests(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(PointGoRecovery, AFailedStartForgetsThePortAndTheNextStartOpensTheDeviceAfresh)
{
    Build(2, 1, true);
    device->SetFault(1, Fault::Vanish); // gone as the probe comes
    ASSERT_FALSE(pointGo->StartHardware(&socket, {}));
    EXPECT_FALSE(link.HasPort());
    EXPECT_NE(prompter.asked.back().second.find("Please Check Link."), std::string::npos);
    EXPECT_NE(prompter.asked.back().second.find("gone"), std::string::npos);

    device->ComeBack();
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_EQ(opens, 2);
    pointGo->SelectMode(PointGo::kAllLeds);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
}

TEST_F(PointGoRecovery, DeviceLinesThatDoNotFitTheModuleAreRefusedWithBothCounts)
{
    Build(3, 2, true);
    device->SetLines({6, 6}); // two lines; the module has one data group of one colour
    ASSERT_FALSE(pointGo->StartHardware(&socket, {}));
    const std::string& text = prompter.asked.back().second;
    EXPECT_NE(text.find("reports 2 data lines"), std::string::npos) << text;
    EXPECT_NE(text.find("has 1"), std::string::npos) << text;
    EXPECT_FALSE(pointGo->Selected());
    EXPECT_TRUE(tracing->tracer->Result().empty());

    // The right device afterwards: the refusal left nothing behind.
    device->SetLines({6});
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    pointGo->SelectMode(PointGo::kAllLeds);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    // With the layout kept, a new start still reads the device's lines.
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    EXPECT_NE(pointGo->StatusText().find(u": 1 lines, 6 LEDs"), std::u16string::npos);
}

TEST_F(PointGoRecovery, ALineOfMoreLedsThanSixteenBitsHoldIsRefusedNotCut)
{
    Build(2, 1, true, 2);
    device->SetLines({40000}); // two scan rows of 40000: 80000 LEDs on the line
    ASSERT_FALSE(pointGo->StartHardware(&socket, {}));
    const std::string& text = prompter.asked.back().second;
    EXPECT_NE(text.find("80000"), std::string::npos) << text;
    EXPECT_FALSE(pointGo->Selected());
}

TEST_F(PointGoRecovery, CellsOfMoreThanSixtyFourLedsRecordEachLedOnce)
{
    Build(1, 70, true);
    ASSERT_TRUE(pointGo->StartHardware(&socket, {}));
    pointGo->SelectMode(PointGo::kAllLeds);
    ConfirmAll();
    ExpectEveryLedRecordedOnce();
    // LEDs 69 down to 0 were recorded; the chooser checked each offer left them out.
    const std::vector<Place> recorded = Recorded();
    EXPECT_EQ(recorded.front().led, 69U);
    std::set<std::size_t> leds;
    for (const Place& place : recorded)
        leds.insert(place.led);
    EXPECT_EQ(leds.size(), 70U);
}

} // namespace
} // namespace md::test
