#include "gui/panel/ModuleDesignToolbarDlg.h"
#include "gui/panel/ToolbarOverflowButton.h"

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace md {
namespace {

std::vector<ToolbarButton> Buttons(std::initializer_list<std::uint32_t> commands)
{
    std::vector<ToolbarButton> buttons;
    for (std::uint32_t command : commands)
        buttons.push_back({command, "toolbaricon_finish.png", "", u"Finish", true});
    return buttons;
}

QAbstractButton* Button(QWidget& parent, std::uint32_t command)
{
    return parent.findChild<QAbstractButton*>(QString::number(command));
}

/// The strip over an 800 x 60 host window, not yet attached to it.
class ToolbarStripTest : public ::testing::Test
{
protected:
    ToolbarStripTest()
    {
        host.resize(800, 60);
        host.show();
    }
    ~ToolbarStripTest() override { toolbar.DestroyWindow(); }
    std::int32_t Attach(std::int32_t width = 800)
    {
        return toolbar.Show(static_cast<WindowHandle>(host.winId()), 0, 0, width, 40);
    }

    QWidget host;
    ToolbarModel model;
    ModuleDesignToolbarDlg toolbar{model};
};

TEST_F(ToolbarStripTest, ShowsOnlyTheCurrentGroupLaidOutInARow)
{
    std::vector<std::uint32_t> clicks;
    model.AddGroup("socket", Buttons({0x10001, 0x10002, 0x10003}),
                   [&](std::uint32_t command) { clicks.push_back(command); });
    model.AddGroup("layout", Buttons({0x10021}), nullptr);
    ASSERT_EQ(Attach(), 0);
    ASSERT_TRUE(model.SelectGroup("socket"));

    for (int i = 0; i < 3; ++i) {
        QAbstractButton* button = Button(host, 0x10001 + i);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(button->geometry(), QRect(5 + 33 * i, 6, 28, 28));
    }
    EXPECT_FALSE(Button(host, 0x10021)->isVisible());

    ASSERT_TRUE(model.EnableButton(0x10002, false));
    EXPECT_FALSE(Button(host, 0x10002)->isEnabled());
    QTest::mouseClick(Button(host, 0x10002), Qt::LeftButton);
    QTest::mouseClick(Button(host, 0x10003), Qt::LeftButton);
    EXPECT_EQ(clicks, std::vector<std::uint32_t>{0x10003});

    model.SelectGroup("layout");
    EXPECT_FALSE(Button(host, 0x10001)->isVisible());
    EXPECT_TRUE(Button(host, 0x10021)->isVisible());
    EXPECT_EQ(Button(host, 0x10021)->pos(), QPoint(5, 6));

    // The strip's background is the light grey of its off-screen buffer.
    const QImage picture = toolbar.grab().toImage();
    EXPECT_EQ(picture.pixel(picture.width() - 2, 2) & 0xFFFFFF, 0xF0F0F0u);
}

TEST_F(ToolbarStripTest, FollowsTheHostsWindowOnlyOnceAttached)
{
    // Before the host hands over a window, nothing moves, hides or shows.
    EXPECT_EQ(toolbar.Show(0, 0, 0, 800, 40), -1);
    EXPECT_EQ(toolbar.Move(10, 10, 300, 40, 1), 0);
    EXPECT_EQ(toolbar.Hide(), 0);
    EXPECT_FALSE(toolbar.IsVisible());
    EXPECT_FALSE(toolbar.HasWindow());

    ASSERT_EQ(Attach(), 0);
    EXPECT_EQ(toolbar.parentWidget(), &host);
    EXPECT_TRUE(toolbar.IsVisible());
    toolbar.Move(0, 20, 640, 40, 0);
    EXPECT_EQ(toolbar.geometry(), QRect(0, 20, 640, 40));
    EXPECT_EQ(toolbar.Hide(), 1);
    EXPECT_EQ(toolbar.Hide(), 0);
    // Shown again, it takes the new place without being attached twice.
    ASSERT_EQ(Attach(700), 0);
    EXPECT_EQ(toolbar.geometry(), QRect(0, 0, 700, 40));

    toolbar.DestroyWindow();
    EXPECT_EQ(toolbar.parentWidget(), nullptr);
    EXPECT_FALSE(toolbar.IsVisible());
    EXPECT_EQ(toolbar.Hide(), 0);
}

TEST_F(ToolbarStripTest, FollowsGroupsReplacedAndRemovedWhileShown)
{
    model.AddGroup("socket", Buttons({0x10001, 0x10002}), nullptr);
    model.SelectGroup("socket");
    ASSERT_EQ(Attach(), 0);
    ASSERT_NE(Button(host, 0x10002), nullptr);

    // A view replaces its group from a click on one of its buttons: the strip shows the new
    // buttons in place of the old ones, and the clicked one outlives its own signal.
    model.AddGroup("socket", Buttons({0x10001, 0x10002}),
                   [&](std::uint32_t) { model.AddGroup("socket", Buttons({0x10005}), nullptr); });
    QTest::mouseClick(Button(host, 0x10002), Qt::LeftButton);
    EXPECT_EQ(Button(host, 0x10002), nullptr);
    ASSERT_NE(Button(host, 0x10005), nullptr);
    EXPECT_TRUE(Button(host, 0x10005)->isVisible());
    EXPECT_EQ(Button(host, 0x10005)->pos(), QPoint(5, 6));

    // Its owner goes away: the buttons go with it.
    model.RemoveGroup("socket");
    EXPECT_EQ(Button(host, 0x10005), nullptr);
}

TEST_F(ToolbarStripTest, ButtonsThatDoNotFitAreOfferedInOrderByTheOverflowMenu)
{
    std::vector<ToolbarButton> buttons;
    for (std::uint32_t i = 0; i < 24; ++i)
        buttons.push_back({0x10100 + i, "toolbaricon_finish.png", "",
                           u"Button " + QString::number(i + 1).toStdU16String(), i != 20});
    std::vector<std::uint32_t> clicks;
    model.AddGroup("layout", buttons, [&](std::uint32_t command) { clicks.push_back(command); });
    model.SelectGroup("layout");
    ASSERT_EQ(Attach(), 0);
    ToolbarOverflowButton* overflow = toolbar.Overflow();
    ASSERT_EQ(host.findChild<QWidget*>("196720"), overflow);

    // Whatever the width: every button is either shown inside the strip or in the menu, in
    // the group's order, the menu reading as the tooltips; the overflow button sits at the end.
    const auto reachable = [&](int width) {
        toolbar.Move(0, 0, width, 40, 1);
        std::vector<QString> order;
        int shown = 0;
        for (const ToolbarButton& entry : buttons) {
            QAbstractButton* button = Button(host, entry.command);
            if (!button->isVisible())
                continue;
            EXPECT_LE(button->geometry().right(), (overflow->isVisible() ? overflow->x() : width))
                << width;
            order.push_back(button->objectName());
            ++shown;
        }
        EXPECT_EQ(overflow->isVisible(), shown < int(buttons.size())) << width;
        if (overflow->isVisible()) {
            EXPECT_LE(overflow->geometry().right(), width - 1) << width;
            for (QAction* action : overflow->Menu()->actions()) {
                EXPECT_EQ(action->text(), Button(host, action->objectName().toUInt())->toolTip());
                order.push_back(action->objectName());
            }
        }
        std::vector<QString> expected;
        for (const ToolbarButton& entry : buttons)
            expected.push_back(QString::number(entry.command));
        EXPECT_EQ(order, expected) << width;
        return shown;
    };
    EXPECT_EQ(reachable(792), 24); // the last button ends at 5 + 23 * 33 + 28
    EXPECT_EQ(reachable(791), 23);
    EXPECT_EQ(reachable(400), 11);
    EXPECT_EQ(reachable(30), 0);
    EXPECT_EQ(reachable(400), 11);

    // An entry does what its button does, and follows its enabled and checked states.
    QMenu* menu = overflow->Menu();
    ASSERT_EQ(menu->actions().size(), 13);
    QAction* twelfth = menu->actions()[0];
    EXPECT_EQ(twelfth->objectName(), QString::number(0x10100 + 11));
    twelfth->trigger();
    EXPECT_EQ(clicks, std::vector<std::uint32_t>{0x10100 + 11});
    QAction* disabled = menu->actions()[20 - 11];
    EXPECT_FALSE(disabled->isEnabled());
    model.EnableButton(0x10100 + 20, true);
    EXPECT_TRUE(disabled->isEnabled());
    model.EnableButton(0x10100 + 11, false);
    EXPECT_FALSE(twelfth->isEnabled());
    twelfth->trigger();
    EXPECT_EQ(clicks.size(), 1u);
    QAbstractButton* last = Button(host, 0x10100 + 23);
    last->setCheckable(true);
    last->setChecked(true);
    QAction* lastEntry = menu->actions().back();
    EXPECT_TRUE(lastEntry->isChecked());
    last->setChecked(false);
    EXPECT_FALSE(lastEntry->isChecked());

    // An entry whose click replaces the group leaves a menu of the new buttons.
    model.AddGroup("layout", buttons,
                   [&](std::uint32_t) { model.AddGroup("layout", Buttons({0x10005}), nullptr); });
    ASSERT_EQ(menu->actions().size(), 13);
    menu->actions()[0]->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(menu->actions().isEmpty());
    EXPECT_FALSE(overflow->isVisible());
    ASSERT_NE(Button(host, 0x10005), nullptr);
    EXPECT_TRUE(Button(host, 0x10005)->isVisible());
}

} // namespace
} // namespace md
