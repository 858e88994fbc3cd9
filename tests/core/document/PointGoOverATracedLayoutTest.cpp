// Point-go over a layout traced to its end, on a design document and a test device on a real
// pseudo-terminal: point-go records into a result of its own while tracing leaves the layout
// alone, Finish takes the complete result for the layout and the module record, and a reset of
// point-go brings the traced layout back with every LED it hid.
#include "core/document/DesignCycleFixture.h"
#include "core/layout/LayoutCommands.h"
#include "core/layout/PointGo.h"
#include "core/posix/PosixSerialPort.h"
#include "core/support/PointGoPtyDevice.h"

#include <thread>

namespace md::test {
namespace {

class PointGoOverATracedLayout : public DesignCycleFixture
{
protected:
    static constexpr int kWidth = 16;
    static constexpr int kLeds = 128;

    /// The traced design of the cycle tests, its pixels each holding one LED; then point-go on
    /// its grid with a device that wires each group's rows as a serpentine from the top right.
    void SetUp() override
    {
        DesignCycleFixture::SetUp();
        CellLed led;
        led.widthPx = led.heightPx = 40;
        for (int slot = 1; slot <= 4; ++slot)
            document->Cell().Slot(slot) = {led};
        TracedDesign();
        traced = document->Tracer()->Result();
        ASSERT_EQ(traced.size(), 2U);
        for (const LedPoint& point : document->Layout().Points())
            tracedFlags.push_back(point.traced);
        const std::uint16_t rows = std::max<std::uint16_t>(document->Socket().ScanRows(), 1);
        const auto length = static_cast<std::uint16_t>(kLeds / 2 / rows);
        device =
            std::make_unique<PointGoPtyDevice>(m_root, std::vector<std::uint16_t>{length, length},
                                               true, static_cast<std::uint8_t>(rows));
        pointGo = std::make_unique<PointGo>(
            *document->Tracer(), document->PointGoLayout(), document->PointGoLink(),
            PointGo::Ports{prompter, texts, clock,
                           [](const std::vector<CellLed>&, const std::vector<std::size_t>&) {
                               return std::optional<std::size_t>{};
                           },
                           [this](std::u16string&) -> std::unique_ptr<SerialPort> {
                               return PosixSerialPort::Open(device->Path(), 115200);
                           }});
    }

    /// The pixel LED k of the device lights.
    std::int32_t Truth(int k) const
    {
        const int line = k / 64;
        const int row = k % 64 / kWidth;
        const int x = row % 2 == 0 ? kWidth - 1 - k % kWidth : k % kWidth;
        return document->Layout().IndexOf(x, line * 4 + row);
    }
    bool WaitReady()
    {
        for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
             std::chrono::steady_clock::now() < end;) {
            pointGo->Tick();
            if (!pointGo->Busy())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    /// The user confirms what the device lights until the end; false when a step records
    /// nothing.
    bool ConfirmAll()
    {
        while (!pointGo->Finished()) {
            if (!WaitReady() || device->Lit() < 0)
                return false;
            const std::size_t before = document->PointGoLayout().Cursor();
            document->Layout().SetCurrent(Truth(device->Lit()));
            pointGo->Step();
            if (document->PointGoLayout().Cursor() != before + 1)
                return false;
        }
        return true;
    }
    std::vector<std::int32_t> Recorded() const
    {
        std::vector<std::int32_t> pixels;
        for (const ChannelRow& entry : document->PointGoLayout().Entries())
            for (const ScanRow& row : entry.rows)
                for (const TracedPoint& point : row.points)
                    pixels.push_back(point.pixel);
        return pixels;
    }
    std::vector<std::int32_t> DeviceOrder() const
    {
        std::vector<std::int32_t> pixels;
        for (int k = 0; k < kLeds; ++k)
            pixels.push_back(Truth(k));
        return pixels;
    }

    std::vector<ChannelRow> traced;
    std::vector<std::uint8_t> tracedFlags;
    std::unique_ptr<PointGoPtyDevice> device;
    std::unique_ptr<PointGo> pointGo;
};

TEST_F(PointGoOverATracedLayout, PointGoFillsItsOwnResultAndFinishMakesItTheLayout)
{
    PointTracer& tracer = *document->Tracer();
    ASSERT_EQ(SaveAs("traced.MDR"), LayoutStepPresenter::kSaved);
    ASSERT_TRUE(pointGo->StartHardware(&document->Socket(), document->PointGoWords()));
    ASSERT_TRUE(tracer.PointGoSelected());
    EXPECT_FALSE(document->Modified()) << "connecting the device is no edit";
    EXPECT_EQ(document->PointGoLayout().Size(), std::size_t{kLeds});

    // Tracing waits: the context entries are greyed and refused with a message, undo of the
    // finished layout too, also through the design's undo history.
    LayoutCommands commands(tracer, texts);
    for (const LayoutMenuEntry& entry : commands.ContextMenu()) {
        if (entry.command == LayoutCommands::kStartStop ||
            entry.command == LayoutCommands::kEnableAdvanced) {
            EXPECT_FALSE(entry.enabled) << entry.command;
        }
    }
    for (int command :
         {LayoutCommands::kEnableAdvanced, LayoutCommands::kStartStop, LayoutCommands::kUndo}) {
        const std::size_t boxes = prompter.asked.size();
        commands.Execute(command);
        ASSERT_EQ(prompter.asked.size(), boxes + 1) << command;
        EXPECT_EQ(prompter.Last(), "IDS_MD_POINTGO_HOLDS_LAYOUT");
    }
    EXPECT_FALSE(document->Edits().Undo());
    EXPECT_FALSE(tracer.AdvancedEnabled());
    EXPECT_TRUE(tracer.LayoutDone());
    EXPECT_EQ(tracer.Result(), traced);

    // Finish before every LED is recorded says so and changes nothing.
    EXPECT_FALSE(step->Finish());
    EXPECT_EQ(prompter.Last(), "IDS_MD_FINISH_POINTGO_INCOMPLETE");

    pointGo->SelectMode(PointGo::kAllLeds);
    ASSERT_TRUE(ConfirmAll());
    EXPECT_EQ(Recorded(), DeviceOrder());
    EXPECT_EQ(tracer.Result(), traced) << "recording left the traced layout alone";
    EXPECT_TRUE(document->Modified()) << "recorded LEDs are unsaved work";

    ASSERT_TRUE(step->Finish());
    EXPECT_EQ(tracer.Result(), document->PointGoLayout().Entries());
    EXPECT_EQ(document->Setup().result, document->PointGoLayout().Entries());
    ASSERT_EQ(SaveAs("pointgo.MDR"), LayoutStepPresenter::kSaved);
    EXPECT_FALSE(document->Modified());

    // A reset of point-go gives its LEDs back and the traced layout returns.
    tracer.SetEditMode(PointGo::kMayReset);
    pointGo->Reset();
    EXPECT_FALSE(tracer.PointGoSelected());
    EXPECT_EQ(tracer.Result(), traced);
    EXPECT_EQ(document->Setup().result, traced);
    std::vector<std::uint8_t> flags;
    for (const LedPoint& point : document->Layout().Points()) {
        EXPECT_TRUE(point.LedVisible(0));
        flags.push_back(point.traced);
    }
    EXPECT_EQ(flags, tracedFlags) << "the pixels are traced as tracing left them";
}

} // namespace
} // namespace md::test
