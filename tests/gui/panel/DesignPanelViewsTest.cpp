// The design panel's windows offscreen: the views a hand-over brings up, and the socket view's
// scrolling at its boundaries.
#include "core/document/ModuleDesignDocument.h"
#include "core/panel/SocketScroll.h"
#include "gui/design/CBackgroundDesignDlg.h"
#include "gui/design/SocketDesignDlg.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/panel/SocketScrollArea.h"
#include "gui/wizard/ModuleLayoutDlg.h"

#include "support/HandedOverRecord.h"
#include <QAction>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace md {
namespace {

ModuleRecord Record()
{
    return md::test::HandedOverRecord(32, 16, 4, 2);
}

class DesignPanelViewsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The program folder's pictures, so the socket frame has its real box size.
        namespace fs = std::filesystem;
        fs::copy(fs::path(MD_PROGRAM_DIR) / "Modules",
                 fs::path(m_folder.path().toStdString()) / "Modules", fs::copy_options::recursive);
        m_document =
            std::make_unique<ModuleDesignDocument>(ProgramFolder(m_folder.path().toStdString()));
        m_panel = std::make_unique<ModuleDesignPanelDlg>(*m_document);
        m_panel->resize(700, 400);
        m_panel->show();
    }

    QTemporaryDir m_folder;
    std::unique_ptr<ModuleDesignDocument> m_document;
    std::unique_ptr<ModuleDesignPanelDlg> m_panel;
};

TEST_F(DesignPanelViewsTest, HandOverBringsUpTheLayoutStepAndTheViewsSwitch)
{
    EXPECT_FALSE(m_panel->IsDesignOpen());
    EXPECT_EQ(m_panel->DocumentName(), nullptr);
    const ModuleRecord record = Record();
    ASSERT_EQ(m_panel->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
    EXPECT_TRUE(m_panel->IsDesignOpen());
    EXPECT_EQ(std::u16string(m_panel->DocumentName()), u"zt5module");

    ModuleLayoutDlg* step = m_panel->LayoutDlg();
    EXPECT_TRUE(step->isVisible());
    EXPECT_EQ(step->objectName(), "20006");
    // The step toolbar: seven buttons in order, each named by its command.
    const QList<QAction*> actions = step->StepToolbar()->actions();
    ASSERT_EQ(actions.size(), 7);
    const char* names[] = {"65570", "65569", "65571", "65572", "65573", "65574", "196768"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(actions[i]->objectName(), names[i]);
    EXPECT_FALSE(actions[3]->isEnabled()); // Finish needs a layout
    // Trace by camera is at hand without a layout and shows or hides its window.
    EXPECT_TRUE(actions[6]->isEnabled());
    EXPECT_TRUE(actions[6]->isCheckable());
    actions[6]->trigger();
    auto* cameraWindow = step->findChild<QWidget*>("196769");
    ASSERT_NE(cameraWindow, nullptr);
    EXPECT_TRUE(cameraWindow->isVisible());
    EXPECT_EQ(cameraWindow->property("cameraState").toString(), "idle");
    cameraWindow->close();
    EXPECT_FALSE(actions[6]->isChecked()) << "closing the window unchecks the button";

    // New layout (Ctrl+L): the grid of 32 x 16 pixels.
    step->findChild<QAction*>(QString::number(ModuleLayoutDlg::kNewLayout))->trigger();
    ASSERT_NE(step->Grid(), nullptr);
    EXPECT_EQ(step->Grid()->Grid()->model()->columnCount(), 32);
    EXPECT_TRUE(actions[3]->isEnabled());

    m_panel->OnNotify(2, 0, 0);
    EXPECT_TRUE(m_panel->SocketWindow()->isVisible());
    EXPECT_FALSE(step->isVisible());
    EXPECT_EQ(m_panel->QueryView(0), static_cast<std::uint32_t>(SocketDesign::New));
    m_panel->OnNotify(4, 0, 0);
    ASSERT_NE(m_panel->BackgroundWindow(), nullptr);
    EXPECT_TRUE(m_panel->BackgroundWindow()->isVisible());
    EXPECT_EQ(m_panel->BackgroundWindow()->objectName(), "20026");
    m_panel->OnNotify(3, 0, 0);
    EXPECT_TRUE(step->isVisible());
    EXPECT_EQ(m_panel->QueryView(0), 0u);
}

TEST_F(DesignPanelViewsTest, SocketViewScrollsOnlyWhileTheSocketIsLarger)
{
    const ModuleRecord record = Record();
    ASSERT_EQ(m_panel->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
    m_panel->OnNotify(2, 0, 0);
    SocketScrollArea* scroller = m_panel->SocketScroller();
    QScrollBar* bar = scroller->verticalScrollBar();

    const std::int32_t large[2] = {300, 1400};
    m_panel->OnNotify(ModuleDesignPanelDlg::kMsgSocketContentSize, 0,
                      reinterpret_cast<std::intptr_t>(large));
    QApplication::processEvents();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
    const int range = bar->maximum();

    // The wheel: a twentieth of the range per notch, never past the ends.
    QWheelEvent down(QPointF(10, 10), scroller->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                     Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(scroller->viewport(), &down);
    EXPECT_EQ(bar->value(), socketscroll::WheelStep(range));
    bar->setValue(range - 1);
    QApplication::sendEvent(scroller->viewport(), &down);
    EXPECT_EQ(bar->value(), range);

    // Dragging: the mouse going up moves the view down, clamped at 0.
    bar->setValue(100);
    QWidget* viewport = scroller->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(20, 200));
    QTest::mouseMove(viewport, QPoint(20, 150));
    EXPECT_EQ(bar->value(), 150);
    QTest::mouseMove(viewport, QPoint(20, 390));
    EXPECT_EQ(bar->value(), 0);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(20, 390));
    EXPECT_FALSE(scroller->Dragging());

    // Fitting again: the bar goes and the position returns to 0.
    bar->setValue(50);
    const std::int32_t small[2] = {100, 100};
    m_panel->OnNotify(ModuleDesignPanelDlg::kMsgSocketContentSize, 0,
                      reinterpret_cast<std::intptr_t>(small));
    QApplication::processEvents();
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(DesignPanelViewsTest, TheWheelCommandScrollsTheVisibleLayoutAndBackgroundViewsOnly)
{
    const ModuleRecord record = Record();
    ASSERT_EQ(m_panel->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
    ModuleLayoutDlg* step = m_panel->LayoutDlg();
    ASSERT_TRUE(step->Command(ModuleLayoutDlg::kNewLayout));
    // Low enough that both views scroll.
    m_panel->resize(700, 220);
    QApplication::processEvents();
    QScrollBar* grid = step->Grid()->Grid()->verticalScrollBar();
    ASSERT_GT(grid->maximum(), 0);
    m_panel->OnNotify(4, 0, 0);
    QApplication::processEvents();
    ASSERT_NE(m_panel->BackgroundWindow(), nullptr);
    auto* background = m_panel->BackgroundWindow()->findChild<QScrollBar*>("20059");
    ASSERT_GT(background->maximum(), 40);
    const auto positions = [&] { return std::pair(grid->value(), background->value()); };
    const int notch = grid->singleStep() * QApplication::wheelScrollLines();

    // The background in front: its view moves 20 pixels per message, the hidden grid stays.
    grid->setValue(0);
    background->setValue(0);
    m_panel->ForwardWithArgument(-120);
    EXPECT_EQ(positions(), std::pair(0, 20));
    m_panel->ForwardWithArgument(120);
    EXPECT_EQ(positions(), std::pair(0, 0));

    // The grid in front: one notch of the wheel per message, the hidden background stays. The
    // argument is the wheel's delta, not a command (0x10022 would zoom).
    m_panel->OnNotify(3, 0, 0);
    const double zoom = m_document->Layout().Zoom();
    m_panel->ForwardWithArgument(-120);
    m_panel->ForwardWithArgument(-120);
    const int down = std::min(2 * notch, grid->maximum());
    EXPECT_EQ(positions(), std::pair(down, 0));
    m_panel->ForwardWithArgument(ModuleLayoutDlg::kZoomOut);
    EXPECT_EQ(positions(), std::pair(down - notch, 0));
    EXPECT_EQ(m_document->Layout().Zoom(), zoom);

    // The socket view in front: neither moves.
    m_panel->OnNotify(2, 0, 0);
    m_panel->ForwardWithArgument(-120);
    EXPECT_EQ(positions(), std::pair(down - notch, 0));
}

TEST(SocketScrollRules, AWheelNotchIsATwentiethOfTheRangeOrFiveBelowSix)
{
    EXPECT_EQ(socketscroll::WheelStep(100), 5); // 5 is below 6
    EXPECT_EQ(socketscroll::WheelStep(119), 5); // 5 is below 6
    EXPECT_EQ(socketscroll::WheelStep(120), 6);
    EXPECT_EQ(socketscroll::WheelStep(1000), 50);
}

} // namespace
} // namespace md
