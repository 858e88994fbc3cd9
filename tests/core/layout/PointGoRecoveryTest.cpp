// Point-go against a device with a place of its own on a real pseudo-terminal: late answers,
// lost requests, a line that vanishes and comes back at the same path, and device numbers that
// do not fit the module. In every run the user confirms whatever the device really lights, and
// the recorded order must be the device's order, LED by LED.
#include "core/design/SocketDesign.h"
#include "core/layout/PointGo.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/layout/TracingHarness.h"
#include "core/posix/PosixSerialPort.h"
#include "core/posix/SystemClock.h"
#include "core/support/PointGoPtyDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

namespace md::test {
namespace {

using namespace std::chrono_literals;
using Fault = PointGoPtyDevice::Fault;

/// Message boxes answered by a function of how many came before.
class CallbackPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons buttons, const std::u16string&,
                     const std::u16string& text) override
    {
        asked.emplace_back(buttons, std::string(text.begin(), text.end()));
        return answer ? answer(asked.size()) : PromptAnswer::Ok;
    }
    std::size_t Count(PromptButtons buttons) const
    {
        std::size_t n = 0;
        for (const auto& [b, text] : asked)
            n += b == buttons ? 1 : 0;
        return n;
    }
    std::vector<std::pair<PromptButtons, std::string>> asked;
    std::function<PromptAnswer(std::size_t)> answer;
};

CellLed Led(std::uint16_t colour)
{
    CellLed led;
    led.colour = colour;
    led.group = 1;
    led.widthPx = 10;
    led.heightPx = 10;
    return led;
}

/// One LED of the module: a pixel and an LED of its cell.
struct Place
{
    std::int32_t pixel = 0;
    std::size_t led = 0;
    bool operator==(const Place&) const = default;
};

void PrintTo(const Place& place, std::ostream* out)
{
    *out << "pixel " << place.pixel << " LED " << place.led;
}

/// A row of pixels with `leds` LEDs each on one data line, wired from the right-hand pixel to
/// the left, the last LED of each pixel first; the user confirms what the device lights.
class PointGoRecovery : public ::testing::Test
{
protected:
    void Build(std::uint16_t pixels, std::uint16_t leds, bool indexed, std::uint16_t scanRows = 1)
    {
        m_pixels = pixels;
        m_leds = leds;
        const std::vector<CellLed> cell(leds, Led(0));
        tracing = std::make_unique<TracingHarness>(MakeSetup(pixels, 1, 1, 1));
        tracing->model.Construct(pixels, 1, {cell, cell, cell, cell});
        tracing->tracer->Create();
        socket.NewSocket(4, scanRows);
        const std::uint32_t codes[] = {16, 47, 63, 255};
        for (std::size_t i = 0; i < 4; ++i)
            socket.Pins()[i].code = codes[i];
        device = std::make_unique<PointGoPtyDevice>(
            m_folder, std::vector<std::uint16_t>{static_cast<std::uint16_t>(pixels * leds)},
            indexed, static_cast<std::uint8_t>(scanRows));
        pointGo = std::make_unique<PointGo>(
            *tracing->tracer, link,
            PointGo::Ports{
                prompter, texts, clock,
                [this](const std::vector<CellLed>&, const std::vector<std::size_t>& offered) {
                    for (std::size_t led : offered)
                        EXPECT_TRUE(Point(m_choice.pixel).LedVisible(static_cast<unsigned>(led)))
                            << "a recorded LED offered again";
                    return std::optional(m_choice.led);
                },
                [this](std::u16string& reason) -> std::unique_ptr<SerialPort> {
                    std::string error;
                    auto port = PosixSerialPort::Open(device->Path(), 115200, &error);
                    reason.assign(error.begin(), error.end());
                    opens += port ? 1 : 0;
                    return port;
                }});
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    Place Truth(std::size_t k) const
    {
        return {static_cast<std::int32_t>(m_pixels - 1 - k / m_leds), m_leds - 1 - k % m_leds};
    }
    const LedPoint& Point(std::int32_t pixel) const
    {
        return tracing->model.Points()[static_cast<std::size_t>(pixel)];
    }
    std::size_t RecordedCount() const
    {
        std::size_t n = 0;
        for (const ChannelRow& entry : tracing->tracer->Result())
            for (const ScanRow& row : entry.rows)
                n += row.points.size();
        return n;
    }
    /// The timer runs until point-go is ready for the next confirmation.
    bool WaitReady()
    {
        for (auto end = std::chrono::steady_clock::now() + 3s;
             std::chrono::steady_clock::now() < end;) {
            pointGo->Tick();
            if (!pointGo->Busy())
                return true;
            std::this_thread::sleep_for(2ms);
        }
        return false;
    }
    /// The user confirms the LED the device lights; false when nothing was recorded.
    bool ConfirmLit()
    {
        if (!WaitReady() || device->Lit() < 0)
            return false;
        m_choice = Truth(static_cast<std::size_t>(device->Lit()));
        tracing->model.SetCurrent(m_choice.pixel);
        const std::size_t before = RecordedCount();
        pointGo->Step();
        if (RecordedCount() != before + 1)
            return false;
        confirmed.push_back(m_choice);
        return true;
    }
    /// Confirms until point-go is finished or stops taking confirmations.
    void ConfirmAll()
    {
        while (!pointGo->Finished() && ConfirmLit()) {
        }
    }
    /// What point-go recorded, position by position: the pixel from the result, the LED the
    /// user confirmed there.
    std::vector<Place> Recorded() const
    {
        std::vector<Place> out;
        for (const ChannelRow& entry : tracing->tracer->Result())
            for (const ScanRow& row : entry.rows)
                for (const TracedPoint& point : row.points)
                    out.push_back({point.pixel, confirmed.at(out.size()).led});
        return out;
    }
    std::vector<Place> DeviceOrder() const
    {
        std::vector<Place> out;
        for (std::size_t k = 0; k < std::size_t{m_pixels} * m_leds; ++k)
            out.push_back(Truth(k));
        return out;
    }
    void ExpectEveryLedRecordedOnce() const
    {
        EXPECT_TRUE(pointGo->Finished());
        EXPECT_EQ(Recorded(), DeviceOrder());
        for (std::int32_t pixel = 0; pixel < m_pixels; ++pixel)
            for (unsigned led = 0; led < m_leds; ++led)
                EXPECT_FALSE(Point(pixel).LedVisible(led)) << pixel << "/" << led;
    }

    std::filesystem::path m_folder = [] {
        auto folder = std::filesystem::temp_directory_path() /
                      ("pointgo-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        return folder;
    }();
    std::unique_ptr<TracingHarness> tracing;
    SerialPointGoLink link{{2s, 200ms, 150ms}};
    CallbackPrompter prompter;
    MapTexts texts;
    SystemClock clock;
    SocketDesign socket;
    std::unique_ptr<PointGoPtyDevice> device;
    std::unique_ptr<PointGo> pointGo;
    std::vector<Place> confirmed;
    int opens = 0; ///< ports opened
    std::uint16_t m_pixels = 0;
    std::uint16_t m_leds = 1;
    Place m_choice;
};

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
    EXPECT_EQ(confirmed.front().led, 69U);
    std::set<std::size_t> leds;
    for (const Place& place : confirmed)
        leds.insert(place.led);
    EXPECT_EQ(leds.size(), 70U);
}

} // namespace
} // namespace md::test
