#include "core/panel/ToolbarModel.h"

#include <gtest/gtest.h>

namespace md {
namespace {

std::vector<ToolbarButton> Buttons(std::initializer_list<std::uint32_t> commands)
{
    std::vector<ToolbarButton> buttons;
    for (std::uint32_t command : commands)
        buttons.push_back({command, "icon.png", "", u"tip", true});
    return buttons;
}

TEST(ToolbarModelTest, PlacesTheCurrentGroupInARowAndOffersWhatDoesNotFitAtTheRightEnd)
{
    ToolbarModel model;
    model.AddGroup("socket", Buttons({1, 2, 3}), nullptr);
    model.AddGroup("layout", Buttons({7}), nullptr);
    EXPECT_TRUE(model.Layout(800, 34).shown.empty()); // no current group yet
    EXPECT_FALSE(model.Layout(800, 34).overflow);
    ASSERT_TRUE(model.SelectGroup("socket"));
    const StripLayout wide = model.Layout(800, 34);
    ASSERT_EQ(wide.shown.size(), 3u);
    EXPECT_EQ(wide.shown[0].x, 5);
    EXPECT_EQ(wide.shown[1].x, 38);
    EXPECT_EQ(wide.shown[2].x, 71);
    EXPECT_EQ(wide.shown[0].y, 3); // (34 - 28) / 2
    EXPECT_EQ(wide.overflowFrom, 3u);
    EXPECT_FALSE(wide.overflow);
    EXPECT_EQ(model.Layout(800, 40).shown[0].y, 6);

    // The last button ends at 99: it fits exactly; one pixel less and the overflow button takes
    // the right end (16 wide, 5 from the edge) and the third button goes into it.
    EXPECT_FALSE(model.Layout(99, 34).overflow);
    const StripLayout narrow = model.Layout(98, 34);
    ASSERT_TRUE(narrow.overflow);
    EXPECT_EQ(narrow.overflowX, 98 - 5 - 16);
    EXPECT_EQ(narrow.overflowY, 3);
    ASSERT_EQ(narrow.shown.size(), 2u);
    EXPECT_EQ(narrow.overflowFrom, 2u);
    EXPECT_LE(narrow.shown[1].x + ToolbarModel::kButtonSize + 5, narrow.overflowX);
    // Too narrow for any button: all of them are in the overflow, which stays inside the strip.
    const StripLayout none = model.Layout(20, 34);
    EXPECT_TRUE(none.shown.empty());
    EXPECT_EQ(none.overflowFrom, 0u);
    EXPECT_EQ(none.overflowX, 5);

    EXPECT_FALSE(model.SelectGroup("missing"));
    EXPECT_EQ(model.Current()->key, "socket");
}

TEST(ToolbarModelTest, ClicksReachTheOwningGroupOnlyWhileEnabled)
{
    ToolbarModel model;
    std::vector<std::uint32_t> socketClicks;
    std::vector<std::uint32_t> layoutClicks;
    model.AddGroup("socket", Buttons({0x10001, 0x10002}),
                   [&](std::uint32_t c) { socketClicks.push_back(c); });
    model.AddGroup("layout", Buttons({0x10021}),
                   [&](std::uint32_t c) { layoutClicks.push_back(c); });
    model.SelectGroup("socket");
    EXPECT_TRUE(model.Click(0x10002));
    EXPECT_FALSE(model.Click(0x10021)); // not in the current group
    EXPECT_TRUE(model.EnableButton(0x10002, false));
    EXPECT_FALSE(model.Click(0x10002));
    EXPECT_FALSE(model.EnableButton(0x10021, false)); // other group's button
    model.SelectGroup("layout");
    EXPECT_TRUE(model.Click(0x10021));
    EXPECT_EQ(socketClicks, std::vector<std::uint32_t>{0x10002});
    EXPECT_EQ(layoutClicks, std::vector<std::uint32_t>{0x10021});
}

TEST(ToolbarModelTest, TellsItsViewOfRealChangesAndForgetsARemovedOwner)
{
    ToolbarModel model;
    std::vector<std::string> heard;
    model.SetListener([&](ToolbarModel::Change change, const std::string& key) {
        const char* kind = change == ToolbarModel::Change::Groups    ? "groups "
                           : change == ToolbarModel::Change::Current ? "current "
                                                                     : "enabled ";
        heard.push_back(kind + key);
    });
    int clicks = 0;
    model.AddGroup("socket", Buttons({1, 2}), [&](std::uint32_t) { ++clicks; });
    model.SelectGroup("socket");
    model.SelectGroup("socket"); // already current: nothing to tell
    model.EnableButton(2, true); // already enabled: nothing to tell
    model.EnableButton(2, false);
    model.RemoveGroup("missing"); // nothing there
    model.RemoveGroup("socket");
    EXPECT_EQ(heard, (std::vector<std::string>{"groups socket", "current socket", "enabled socket",
                                               "groups socket"}));
    // The removed owner is not called, and no group is current any more.
    EXPECT_EQ(model.Current(), nullptr);
    EXPECT_FALSE(model.Click(1));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(model.Layout(800, 34).shown.empty());

    model.SetListener(nullptr);
    model.AddGroup("layout", Buttons({7}), nullptr);
    EXPECT_EQ(heard.size(), 4u);
}

} // namespace
} // namespace md
