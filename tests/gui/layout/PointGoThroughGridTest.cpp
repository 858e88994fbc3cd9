// Point-go through the real layout step offscreen: the test device on a pseudo-terminal, the
// LED choice on the LED picker, Space while the device is busy, and a reset that brings every
// LED back.
#include "core/document/ModuleDesignDocument.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointTracer.h"
#include "core/support/PtyDevice.h"
#include "gui/design/ParallelLEDSelectedCtrl.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/wizard/ModuleLayoutDlg.h"
#include "support/ModalDriver.h"

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
    ModuleRecord r{};
    r.kind = ModuleRecord::kKind;
    const char16_t name[] = u"pointgo";
    std::copy(std::begin(name), std::end(name), r.name);
    r.scanRows = 1;
    r.width = 2;
    r.height = 1;
    r.groupCount = 1;
    r.pointsPerGroup = 2;
    r.pointsPerRow = 2;
    r.lineCount = 1;
    for (auto& row : r.connector)
        std::fill(std::begin(row), std::end(row), -1);
    r.connector[0][0] = 0;
    r.connectorRows = r.connectorColumns = 1;
    return r;
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
        // Every pixel: red and green in parallel group 1, blue in group 2.
        for (int slot = 1; slot <= 4; ++slot)
            m_document->Cell().Slot(slot) = {Led(0, 1, 20), Led(1, 1, 100), Led(2, 2, 180)};
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
    const std::vector<ChannelRow>& Result() const { return m_document->Tracer()->Result(); }
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
