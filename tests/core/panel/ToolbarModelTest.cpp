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

TEST(ToolbarModelTest, PlacesTheCurrentGroupFromFiveInStepsOfThirtyThree)
{
    ToolbarModel model;
    model.AddGroup("socket", Buttons({1, 2, 3}), nullptr);
    model.AddGroup("layout", Buttons({7}), nullptr);
    EXPECT_TRUE(model.Layout(34).empty()); // no current group yet
    ASSERT_TRUE(model.SelectGroup("socket"));
    const auto placed = model.Layout(34);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].x, 5);
    EXPECT_EQ(placed[1].x, 38);
    EXPECT_EQ(placed[2].x, 71);
    EXPECT_EQ(placed[0].y, 3); // (34 - 28) / 2
    EXPECT_EQ(model.Layout(40)[0].y, 6);
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
    EXPECT_TRUE(model.Layout(34).empty());

    model.SetListener(nullptr);
    model.AddGroup("layout", Buttons({7}), nullptr);
    EXPECT_EQ(heard.size(), 4u);
}

} // namespace
} // namespace md
