// Point-go through the real layout step offscreen: the test device on a pseudo-terminal, the
// LED choice on the LED picker, Space while the device is busy, and a reset that brings every
// LED back.
#include "core/document/ModuleDesignDocument.h"
#include "core/layout/LayoutCommands.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointTracer.h"
#include "core/support/PtyDevice.h"
#include "gui/design/ParallelLEDSelectedCtrl.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/wizard/ModuleLayoutDlg.h"
#include "md/OwnIds.h"
#include "support/ModalDriver.h"

#include "support/HandedOverRecord.h"
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace md {
namespace {

using Bytes = std::vector<std::uint8_t>;

ModuleRecord Record()
{
    return md::test::HandedOverRecord(2, 1, 1, 1);
}

CellLed Led(std::uint16_t colour, std::uint16_t group, std::uint16_t x)
{
    CellLed led;
    led.colour = colour;
    led.group = group;
    led.x = x;
    led.y = 100;
    led.widthPx = 40;
    led.heightPx = 40;
    return led;
}

/// Picks the LED named number (counted from 1) on the LED picker as soon as it opens, and
/// tells which LEDs it offered.
void ChooseFromList(const QString& number, QStringList* offered)
{
    test::ModalDriver::Expect([number, offered](QWidget* modal) {
        auto* window = qobject_cast<ParallelLEDSelectedCtrl*>(modal);
        ASSERT_NE(window, nullptr) << "no LED picker";
        const ParallelLedPicker& picker = window->Picker();
        for (std::size_t i = 0; i < picker.Leds().size(); ++i)
            if (picker.ShowsAt(i))
                *offered << QString::number(i + 1);
        const ParallelLedPicker::Box box = picker.BoxAt(number.toUInt() - 1);
        QTest::mouseClick(window, Qt::LeftButton, {},
                          QPoint(box.x + box.width / 2, box.y + box.height / 2));
    });
}

class PointGoThroughGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::copy(fs::path(MD_PROGRAM_DIR) / "Modules",
                 fs::path(m_folder.path().toStdString()) / "Modules", fs::copy_options::recursive);
        m_document =
            std::make_unique<ModuleDesignDocument>(ProgramFolder(m_folder.path().toStdString()));
        m_panel = std::make_unique<ModuleDesignPanelDlg>(*m_document);
        m_panel->resize(700, 400);
        m_panel->show();
        const ModuleRecord record = Record();
        ASSERT_EQ(m_panel->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
        // Every pixel: two red LEDs in parallel group 1, two blue ones in group 2 (the LEDs of
        // a parallel group share their colour).
        for (int slot = 1; slot <= 4; ++slot)
            m_document->Cell().Slot(slot) = {Led(0, 1, 10), Led(0, 1, 70), Led(2, 2, 130),
                                             Led(2, 2, 190)};
        m_step = m_panel->LayoutDlg();
        ASSERT_TRUE(m_step->Command(ModuleLayoutDlg::kNewLayout));
        ASSERT_NE(m_step->Grid(), nullptr);
        SocketDesign& socket = m_document->Socket();
        socket.NewSocket(4, 1);
        const std::uint32_t codes[] = {16, 47, 63, 255};
        for (std::size_t i = 0; i < 4; ++i)
            socket.Pins()[i].code = codes[i];
        m_document->PointGoLink().SetPort(m_device.OpenPort());
    }

    QTableView* Grid() const { return m_step->Grid()->Grid(); }
    PointGo& Run() const { return *m_step->PointGoRun(); }
    const std::vector<ChannelRow>& Result() const { return m_document->PointGoLayout().Entries(); }
    void Space() { QTest::keyClick(Grid(), Qt::Key_Space); }
    void Click(int x)
    {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                          Grid()->visualRect(Grid()->model()->index(0, x)).center());
    }
    /// The device lights the next LED; the grid's timer takes the answer.
    bool DeviceAnswers()
    {
        m_device.Play({{1, {0x01}}});
        m_device.Join();
        return QTest::qWaitFor([this] { return !Run().Busy(); }, 2000);
    }

    /// Hardware start against a device with one data line of `leds` LEDs that leaves the probe
    /// for the indexed advance unanswered.
    bool StartDevice(std::uint8_t leds)
    {
        Bytes reply(48, 0);
        reply[0] = 0xA0;
        reply[1] = 1;
        reply[3] = leds;
        m_device.Play({{43, reply}, {3, {}}});
        const bool started = m_step->Command(PointGo::kHardwareStart);
        m_device.Join();
        return started && Run().Selected();
    }
    /// Whether the grid's context menu offers the command enabled.
    bool MenuEntryEnabled(int command)
    {
        bool enabled = true;
        bool found = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions())
                if (action->objectName() == QString::number(command)) {
                    found = true;
                    enabled = action->isEnabled();
                }
            menu->close();
        });
        QTest::mouseClick(Grid()->viewport(), Qt::RightButton, {},
                          Grid()->visualRect(Grid()->model()->index(0, 0)).center());
        EXPECT_TRUE(found) << command;
        return enabled;
    }
    std::size_t Recorded() const { return m_document->PointGoLayout().Cursor(); }

    QTemporaryDir m_folder;
    test::PtyDevice m_device;
    std::unique_ptr<ModuleDesignDocument> m_document;
    std::unique_ptr<ModuleDesignPanelDlg> m_panel;
    ModuleLayoutDlg* m_step = nullptr;
};

TEST_F(PointGoThroughGridTest, TheDeviceLedsAreConfirmedWithSpaceClicksAndChoices)
{
    // Before the device answered, point-go only says so.
    QString shown;
    test::ModalDriver::Press("OK", &shown);
    ASSERT_TRUE(m_step->Command(PointGo::kFirstModeCommand + 1));
    EXPECT_EQ(shown, "ID_NOT_SELECT_POINT_GO");

    // One data line of four LEDs.
    Bytes reply(48, 0);
    reply[0] = 0xA0;
    reply[1] = 1;
    reply[3] = 4;
    m_device.Play({{43, reply}, {3, {}}}); // the probe for the indexed advance goes unanswered
    ASSERT_TRUE(m_step->Command(PointGo::kHardwareStart));
    m_device.Join();
    ASSERT_TRUE(Run().Selected());
    EXPECT_EQ(m_document->Tracer()->EditMode(), PointGo::kHardwareSocket);

    // Group 1 holds two LEDs per pixel: Space asks which one is lit.
    QAction* group1 = m_step->findChild<QAction*>("65561");
    ASSERT_NE(group1, nullptr);
    group1->trigger();
    EXPECT_EQ(m_document->Tracer()->EditMode(), PointGo::kGroup1);
    QStringList offered;
    ChooseFromList("2", &offered);
    Space();
    EXPECT_EQ(offered, (QStringList{"1", "2"}));
    ASSERT_EQ(Result()[0].rows[0].points.size(), 1U);
    const LedPoint& first = m_document->Layout().Points()[0];
    EXPECT_FALSE(first.LedVisible(1));
    EXPECT_TRUE(first.LedVisible(0));

    // The device has not lit the next LED yet.
    test::ModalDriver::Press("OK", &shown);
    Space();
    EXPECT_EQ(shown, "ID_HARDWARE_POINT_GOING");
    ASSERT_TRUE(DeviceAnswers());

    // The last group-1 LED of pixel 1 needs no choice; a click on pixel 2 asks again, and
    // records pixel 2 also while advanced tracing is enabled and not started.
    Space();
    EXPECT_EQ(Result()[0].rows[0].points.size(), 2U);
    ASSERT_TRUE(DeviceAnswers());
    m_document->Tracer()->SetAdvancedEnabled(true);
    offered.clear();
    ChooseFromList("1", &offered);
    Click(1);
    EXPECT_EQ(offered.size(), 2);
    ASSERT_EQ(Result()[0].rows[0].points.size(), 3U);
    EXPECT_EQ(Result()[0].rows[0].points[2].x, 1);
    EXPECT_EQ(Result()[0].rows[0].points[2].ordinal, 3);

    // Reset asks first, then every LED is back and point-go starts over.
    test::ModalDriver::Press("Yes");
    ASSERT_TRUE(m_step->Command(PointGo::kReset));
    EXPECT_TRUE(Result().empty());
    EXPECT_FALSE(Run().Selected());
    for (const LedPoint& point : m_document->Layout().Points())
        EXPECT_EQ(point.hiddenLeds, 0U);
}

TEST_F(PointGoThroughGridTest, PointGoHoldsTheLayoutUntilFinishTakesItsCompleteResult)
{
    ASSERT_TRUE(StartDevice(4));
    PointTracer& tracer = *m_document->Tracer();
    // Tracing cannot start over while point-go is selected: greyed in the menu, refused by
    // number with a message.
    EXPECT_FALSE(MenuEntryEnabled(LayoutCommands::kEnableAdvanced));
    EXPECT_FALSE(MenuEntryEnabled(LayoutCommands::kStartStop));
    QString shown;
    test::ModalDriver::Press("OK", &shown);
    m_step->Grid()->Command(LayoutCommands::kEnableAdvanced);
    EXPECT_TRUE(shown.contains("Point-go is building the layout")) << shown.toStdString();
    EXPECT_FALSE(tracer.AdvancedEnabled());

    ASSERT_TRUE(m_step->Command(PointGo::kFirstModeCommand + 1));
    QStringList offered;
    ChooseFromList("1", &offered);
    Space();
    ASSERT_TRUE(DeviceAnswers());
    Space(); // the other red LED of pixel 1 needs no choice
    ASSERT_TRUE(DeviceAnswers());
    ASSERT_EQ(Recorded(), 2U);
    EXPECT_TRUE(m_document->Modified()) << "recorded LEDs are unsaved work";

    // Ctrl+Z in the panel takes the last LED back; the one-byte advance cannot, so the status
    // bar asks for the device to be restarted there. Ctrl+Y does not bring it back.
    const std::size_t redo = m_document->Edits().Stack().RedoCount();
    QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Recorded(), 1U);
    EXPECT_TRUE(m_document->Layout().Points()[0].LedVisible(1));
    EXPECT_FALSE(m_document->Layout().Points()[0].LedVisible(0));
    EXPECT_TRUE(Run().RestartNeeded());
    EXPECT_NE(Run().StatusText().find(u"restart it from line 1, scan row 1, LED 2"),
              std::u16string::npos);
    QTest::keyClick(Grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Recorded(), 1U);
    EXPECT_EQ(m_document->Edits().Stack().RedoCount(), redo);

    // Delete records an output that drives no LED.
    QAction* skip = m_step->findChild<QAction*>(QString::number(own::kPointGoSkip));
    ASSERT_NE(skip, nullptr);
    EXPECT_TRUE(skip->isEnabled());
    QTest::keyClick(Grid(), Qt::Key_Delete);
    ASSERT_EQ(Recorded(), 2U);
    EXPECT_TRUE(Result()[0].rows[0].points[1].IsVirtual());
    ASSERT_TRUE(DeviceAnswers());

    // Finish waits for every LED, and says so when reached anyway.
    QAction* finish = m_step->findChild<QAction*>(QString::number(ModuleLayoutDlg::kFinish));
    ASSERT_NE(finish, nullptr);
    EXPECT_FALSE(finish->isEnabled());
    test::ModalDriver::Press("OK", &shown);
    EXPECT_FALSE(m_step->Command(ModuleLayoutDlg::kFinish));
    EXPECT_TRUE(shown.contains("recorded 2 of the 4")) << shown.toStdString();
    EXPECT_TRUE(tracer.Result().empty());

    ChooseFromList("1", &offered);
    Click(1);
    ASSERT_TRUE(DeviceAnswers());
    test::ModalDriver::Press("OK", &shown);
    Space();
    EXPECT_EQ(shown, "ID_POINT_GO_FINISHED");
    ASSERT_TRUE(Run().Finished());
    EXPECT_TRUE(finish->isEnabled());
    ASSERT_TRUE(m_step->Command(ModuleLayoutDlg::kFinish));
    EXPECT_EQ(tracer.Result(), Result());
    EXPECT_EQ(m_document->Setup().result, Result()) << "the module record holds the layout";
    EXPECT_TRUE(tracer.LayoutPresent());
}

TEST_F(PointGoThroughGridTest, EveryCommandIsNamedAndTheLayerViewDrawsOneColour)
{
    for (int id = PointGo::kFirstCommand; id <= PointGo::kLastCommand; ++id) {
        QAction* action = m_step->findChild<QAction*>(QString::number(id));
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(action->isEnabled()) << id;
    }
    QImage before = Grid()->viewport()->grab().toImage();
    ASSERT_TRUE(m_step->Command(PointGo::kFirstLayerCommand + 2)); // blue alone
    EXPECT_EQ(m_document->Layout().Layer(), 2);
    EXPECT_EQ(Grid()->window()->focusWidget(), Grid());
    const QImage blue = Grid()->viewport()->grab().toImage();
    auto count = [](const QImage& image, auto test) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += test(image.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    auto red = [](const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    auto blueish = [](const QColor& c) { return c.blue() > 200 && c.red() < 80; };
    EXPECT_GT(count(before, red), 0);
    EXPECT_EQ(count(blue, red), 0);
    EXPECT_GT(count(blue, blueish), 0);
    ASSERT_TRUE(m_step->Command(PointGo::kFirstLayerCommand + 2)); // back to every colour
    EXPECT_EQ(m_document->Layout().Layer(), -1);
    EXPECT_GT(count(Grid()->viewport()->grab().toImage(), red), 0);
}

} // namespace
} // namespace md
