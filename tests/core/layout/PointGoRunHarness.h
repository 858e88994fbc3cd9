#pragma once

// A point-go run against a device with a place of its own on a real pseudo-terminal: the user
// confirms whatever the device lights (and skips an output that drives no LED), so the recorded
// order can be compared with the device's true order LED by LED.
#include "core/design/SocketDesign.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointGoResult.h"
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

inline CellLed Led(std::uint16_t colour)
{
    CellLed led;
    led.colour = colour;
    led.group = 1;
    led.widthPx = 10;
    led.heightPx = 10;
    return led;
}

/// One LED of the module: a pixel and an LED of its cell; no pixel for an output that drives
/// no LED.
struct Place
{
    std::int32_t pixel = 0;
    std::size_t led = 0;
    bool operator==(const Place&) const = default;
};

inline void PrintTo(const Place& place, std::ostream* out)
{
    *out << "pixel " << place.pixel << " LED " << place.led;
}

/// A row of pixels with `leds` LEDs each on one data line, wired from the right-hand pixel to
/// the left, the last LED of each pixel first, with the outputs named in gaps left unconnected;
/// the user confirms what the device lights and skips an output that lights nothing.
class PointGoRecovery : public ::testing::Test
{
protected:
    void Build(std::uint16_t pixels, std::uint16_t leds, bool indexed, std::uint16_t scanRows = 1,
               const std::set<std::size_t>& gaps = {})
    {
        m_pixels = pixels;
        m_leds = leds;
        m_truth.clear();
        for (std::size_t k = 0, led = 0; k < std::size_t{pixels} * leds + gaps.size(); ++k)
            if (gaps.count(k) != 0) {
                m_truth.push_back({-1, 0});
            } else {
                m_truth.push_back(
                    {static_cast<std::int32_t>(pixels - 1 - led / leds), leds - 1 - led % leds});
                ++led;
            }
        const std::vector<CellLed> cell(leds, Led(0));
        tracing = std::make_unique<TracingHarness>(MakeSetup(pixels, 1, 1, 1));
        tracing->model.Construct(pixels, 1, {cell, cell, cell, cell});
        tracing->tracer->Create();
        socket.NewSocket(4, scanRows);
        const std::uint32_t codes[] = {16, 47, 63, 255};
        for (std::size_t i = 0; i < 4; ++i)
            socket.Pins()[i].code = codes[i];
        device = std::make_unique<PointGoPtyDevice>(
            m_folder, std::vector<std::uint16_t>{static_cast<std::uint16_t>(m_truth.size())},
            indexed, static_cast<std::uint8_t>(scanRows));
        pointGo = std::make_unique<PointGo>(
            *tracing->tracer, result, link,
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

    Place Truth(std::size_t k) const { return m_truth.at(k); }
    const LedPoint& Point(std::int32_t pixel) const
    {
        return tracing->model.Points()[static_cast<std::size_t>(pixel)];
    }
    std::size_t RecordedCount() const { return result.Cursor(); }
    /// The timer runs until point-go is ready for the next confirmation.
    bool WaitReady()
    {
        for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
             std::chrono::steady_clock::now() < end;) {
            pointGo->Tick();
            if (!pointGo->Busy())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    /// The user confirms the LED the device lights; false when nothing was recorded.
    bool ConfirmLit()
    {
        if (!WaitReady() || device->Lit() < 0)
            return false;
        m_choice = Truth(static_cast<std::size_t>(device->Lit()));
        const std::size_t before = RecordedCount();
        if (m_choice.pixel < 0) {
            pointGo->Skip();
        } else {
            tracing->model.SetCurrent(m_choice.pixel);
            pointGo->Step();
        }
        return RecordedCount() == before + 1;
    }
    /// Connects, selects point-go over every LED, confirms the first count LEDs the device
    /// lights and waits until it lights the next one.
    ::testing::AssertionResult StartAndConfirm(std::size_t count)
    {
        if (!pointGo->StartHardware(&socket, {}))
            return ::testing::AssertionFailure()
                   << "hardware start refused: "
                   << (prompter.asked.empty() ? "" : prompter.asked.back().second);
        pointGo->SelectMode(PointGo::kAllLeds);
        for (std::size_t led = 0; led < count; ++led)
            if (!ConfirmLit())
                return ::testing::AssertionFailure() << "LED " << led << " was not recorded";
        if (!WaitReady())
            return ::testing::AssertionFailure() << "the device did not light the next LED";
        return ::testing::AssertionSuccess();
    }
    /// Confirms until point-go is finished or stops taking confirmations.
    void ConfirmAll()
    {
        while (!pointGo->Finished() && ConfirmLit()) {
        }
    }
    /// What point-go recorded, position by position: the pixel of the result's point (none for
    /// an empty position) and the LED it hid there.
    std::vector<Place> Recorded() const
    {
        std::vector<Place> out;
        const auto& positions = result.Positions();
        for (const ChannelRow& entry : result.Entries())
            for (const ScanRow& row : entry.rows)
                for (const TracedPoint& point : row.points) {
                    const auto& at = positions.at(out.size());
                    EXPECT_EQ(point.pixel, at.pixel);
                    EXPECT_EQ(point.IsVirtual(), at.pixel < 0);
                    out.push_back({point.pixel, at.pixel < 0 ? 0 : at.led});
                }
        return out;
    }
    const std::vector<Place>& DeviceOrder() const { return m_truth; }
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
    SerialPointGoLink link{
        {std::chrono::seconds(2), std::chrono::milliseconds(200), std::chrono::milliseconds(150)}};
    CallbackPrompter prompter;
    MapTexts texts;
    SystemClock clock;
    SocketDesign socket;
    std::unique_ptr<PointGoPtyDevice> device;
    PointGoResult result;
    std::unique_ptr<PointGo> pointGo;
    int opens = 0; ///< ports opened
    std::uint16_t m_pixels = 0;
    std::uint16_t m_leds = 1;
    std::vector<Place> m_truth;
    Place m_choice;
};

} // namespace md::test
