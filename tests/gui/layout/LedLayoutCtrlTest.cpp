#include "core/controller/CommandChannel.h"
#include "core/layout/LayoutCommands.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/PointTracer.h"
#include "core/layout/StatusBarInfo.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/support/FakePorts.h"
#include "gui/layout/CEPModeDlg.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/layout/CStatusBarInfoDlg.h"
#include "gui/layout/LedCellDelegate.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace md {
namespace {

class OkPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons, const std::u16string&, const std::u16string& text) override
    {
        shown.push_back(QString::fromStdU16String(text));
        return PromptAnswer::Ok;
    }
    QStringList shown;
};

/// A layout control over a small module, shown offscreen.
struct Fixture
{
    explicit Fixture(std::uint16_t width = 8, std::uint16_t height = 4)
    {
        setup.width = width;
        setup.height = height;
        setup.scanRows = 2;
        setup.DeriveCounts();
        std::array<std::vector<CellLed>, 4> cellSlots;
        CellLed led;
        led.x = 64;
        led.y = 64;
        led.widthPx = 128;
        led.heightPx = 128;
        cellSlots.fill({led});
        model.Construct(width, height, cellSlots);
        channel.SetTap([this](const CommandPair& pair) { sent.push_back(pair); });
        tracer.SetSetup(&setup, true);
        control.SetStatusBar(&status);
        control.resize(500, 300);
        control.show();
        control.Create();
    }

    QRect CellRect(int x, int y) const
    {
        return control.Grid()->visualRect(control.Grid()->model()->index(y, x));
    }
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(control.Grid()->viewport(), button, {}, CellRect(x, y).center());
    }
    QString Text(int x, int y) const
    {
        return control.Grid()->model()->index(y, x).data().toString();
    }

    LayoutSetup setup;
    LayoutModel model;
    CommandChannel channel;
    test::KeyTexts texts;
    OkPrompter prompter;
    std::vector<CommandPair> sent;
    PointTracer tracer{model, channel, texts, prompter};
    StatusBarInfo status{texts, prompter};
    CLedLayoutCtrl control{model, tracer, texts};
};

TEST(LedLayoutCtrlTest, GridHasFixedSectionsAndNumberedHeaders)
{
    Fixture f;
    QTableView* grid = f.control.Grid();
    EXPECT_EQ(grid->objectName(), "65488");
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->model()->columnCount(), 8);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "1");
    EXPECT_EQ(grid->model()->headerData(3, Qt::Vertical).toString(), "4");
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(grid->columnWidth(0), 36);
    EXPECT_EQ(grid->rowHeight(0), 22);
    EXPECT_EQ(grid->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(208, 255, 208));
    f.control.ZoomOut();
    EXPECT_EQ(grid->columnWidth(0), 32);
    EXPECT_EQ(grid->rowHeight(0), 20);
    EXPECT_TRUE(f.control.Timer().isActive());
}

TEST(LedLayoutCtrlTest, ClicksKeysAndUndoTraceCells)
{
    Fixture f;
    // The grid's model stays consistent through every change below (aborts otherwise).
    QAbstractItemModelTester tester(f.control.Grid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    f.Click(0, 0);
    EXPECT_EQ(f.Text(0, 0), "1");
    EXPECT_EQ(f.control.Grid()->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(255, 208, 208));
    QTest::keyClick(f.control.Grid(), Qt::Key_Right);
    QTest::keyClick(f.control.Grid(), Qt::Key_Right);
    EXPECT_EQ(f.Text(2, 0), "3");
    EXPECT_EQ(f.control.Grid()->currentIndex().column(), 2);
    QTest::keyClick(f.control.Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(f.Text(2, 0).isEmpty());
    EXPECT_EQ(f.tracer.Ordinal(), 3);
    QTest::keyClick(f.control.Grid(), Qt::Key_F4);
    EXPECT_EQ(f.tracer.FirstRow().size(), 3u);
    f.Click(0, 0);
    EXPECT_EQ(f.tracer.Ordinal(), 3) << "a traced pixel is ignored";
    QTest::keyClick(f.control.Grid(), Qt::Key_A);
    EXPECT_EQ(f.tracer.Ordinal(), 3);
}

TEST(LedLayoutCtrlTest, DragPaintsMarksAndTimerDrivesTheStatusBar)
{
    Fixture f;
    CStatusBarInfoDlg bar(f.status, f.texts);
    f.control.Command(LayoutCommands::kEraseMarks);
    int changes = 0;
    QObject::connect(&f.control, &CLedLayoutCtrl::marksChanged, [&] { ++changes; });
    QWidget* viewport = f.control.Grid()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, f.CellRect(1, 1).center());
    QTest::mouseMove(viewport, f.CellRect(2, 1).center());
    QTest::mouseMove(viewport, f.CellRect(3, 1).center());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, f.CellRect(3, 1).center());
    EXPECT_EQ(changes, 3);
    for (int x = 1; x <= 3; ++x)
        EXPECT_EQ(f.model.Find(LayoutModel::Key(x, 1))->marked, 0);
    EXPECT_EQ(bar.findChild<QLabel*>("20515")->text(), "4");

    const std::size_t before = f.sent.size();
    QTest::qWait(450);
    EXPECT_GE(f.sent.size(), before + 2) << "the timer blinks the positions";
    EXPECT_EQ(bar.findChild<QLabel*>("20544")->text(), "IDS_MODULE_EPSTATUS_BAR_EP_ING");
    EXPECT_EQ(bar.findChild<QLabel*>("20521")->text(), "1");
}

TEST(LedLayoutCtrlTest, RightClickOpensTheContextMenu)
{
    Fixture f;
    f.Click(0, 0);
    QStringList labels;
    std::vector<bool> enabled;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            labels << action->text();
            enabled.push_back(action->isEnabled());
        }
        for (QAction* action : menu->actions())
            if (action->objectName() == "30814")
                action->trigger();
        menu->close();
    });
    f.Click(3, 3, Qt::RightButton);
    EXPECT_EQ(labels.size(), 6);
    EXPECT_EQ(labels.value(0), "IDS_LEDLAYOUT_MENU_LABEL_ENABLE_ADVANCE_EP");
    EXPECT_EQ(labels.value(1), "IDS_LEDLAYOUT_MENU_LABEL_CURRENT_SCAN_ROW_LEN : 0");
    EXPECT_EQ(enabled, (std::vector<bool>{true, false, false, false, false, false}));
    EXPECT_TRUE(f.tracer.AdvancedEnabled());
    EXPECT_TRUE(f.Text(0, 0).isEmpty()) << "enabling advanced tracing starts over";
}

TEST(LedLayoutCtrlTest, PaintsOnlyTheVisibleCells)
{
    Fixture f(200, 200);
    (void)f.control.Grid()->viewport()->grab();
    const auto painted = f.control.Delegate()->Painted();
    EXPECT_GT(painted, 0u);
    EXPECT_LT(painted, 400u);
}

TEST(LedLayoutCtrlTest, DialogsSetTheScanRowLengthAndTheTracingMode)
{
    Fixture f;
    f.control.Command(LayoutCommands::kEnableAdvanced);
    test::ModalDriver::Expect([](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), "20115");
        EXPECT_EQ(modal->windowTitle(), "IDS_SCAN_RWO_CONFIG_TITLE");
        modal->findChild<QLineEdit*>("20564")->setText("12");
        for (QPushButton* button : modal->findChildren<QPushButton*>())
            if (button->text() == "IDS_MODULE_RANGEDLG_OK")
                button->click();
    });
    f.control.Command(LayoutCommands::kScanRowLength);
    EXPECT_EQ(f.tracer.ScanRowLength(), 12u);

    CEPModeDlg mode(1);
    EXPECT_TRUE(mode.findChild<QRadioButton*>("20501")->isChecked());
    mode.findChild<QRadioButton*>("20500")->click();
    EXPECT_EQ(mode.Value(), 0);
    EXPECT_TRUE(mode.findChild<QRadioButton*>("20500")->isChecked());
    EXPECT_FALSE(mode.findChild<QRadioButton*>("20501")->isChecked());
}

} // namespace
} // namespace md
