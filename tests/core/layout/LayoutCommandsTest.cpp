#include "core/layout/LayoutCommands.h"
#include "TracingHarness.h"
#include "core/layout/ScanRowLengthPresenter.h"
#include "core/layout/VirtualPointPresenter.h"
#include "core/support/FakePorts.h"

#include <gtest/gtest.h>

namespace md {
namespace {

using test::MakeSetup;
using test::TracingHarness;

/// Fallback texts: the key has no text.
std::vector<bool> Enabled(const std::vector<LayoutMenuEntry>& menu)
{
    std::vector<bool> enabled;
    for (const LayoutMenuEntry& entry : menu)
        if (entry.command != 0)
            enabled.push_back(entry.enabled);
    return enabled;
}

TEST(LayoutCommandsTest, MenuFollowsTheAdvancedTracingStates)
{
    TracingHarness h(MakeSetup(4, 4, 2, 1));
    test::MapTexts texts;
    LayoutCommands commands(*h.tracer, texts);
    ScanRowLengthPresenter length(*h.tracer, texts);
    // The menu before advanced tracing is checked through the grid's context menu.
    ASSERT_EQ(commands.ContextMenu().size(), 9u);
    EXPECT_EQ(commands.ContextMenu()[8].label, u"开始描点 ");

    commands.Execute(LayoutCommands::kEnableAdvanced);
    EXPECT_EQ(commands.ContextMenu()[0].label, u"禁用高级描点控制 ");
    EXPECT_EQ(Enabled(commands.ContextMenu()),
              (std::vector<bool>{true, false, true, false, false, false}));
    EXPECT_EQ(commands.Execute(LayoutCommands::kScanRowLength),
              LayoutCommands::Effect::OpenScanRowLengthDialog);
    EXPECT_TRUE(length.Accept(" 0"));
    EXPECT_FALSE(commands.ContextMenu()[8].enabled) << "a length of 0 is no length";
    EXPECT_FALSE(length.Accept("abc"));
    EXPECT_TRUE(length.Accept("8"));
    EXPECT_EQ(commands.ContextMenu()[2].label, u"当前扫描行长度 : 8");
    EXPECT_EQ(Enabled(commands.ContextMenu()),
              (std::vector<bool>{true, false, true, false, false, true}));

    commands.Execute(LayoutCommands::kStartStop);
    EXPECT_EQ(commands.ContextMenu()[8].label, u"停止描点 ");
    EXPECT_EQ(Enabled(commands.ContextMenu()),
              (std::vector<bool>{true, false, false, true, true, true}));
    EXPECT_EQ(h.tracer->Stride(), 16u);
}

TEST(LayoutCommandsTest, EnablingAdvancedTracingClearsAHalfTracedRow)
{
    TracingHarness h(MakeSetup(8, 4, 2, 1));
    test::KeyTexts texts;
    LayoutCommands commands(*h.tracer, texts);
    h.Click({{0, 0}, {1, 0}, {2, 0}});
    commands.Execute(LayoutCommands::kEnableAdvanced);
    EXPECT_EQ(h.tracer->Ordinal(), 1);
    EXPECT_TRUE(h.tracer->History().empty());
    for (const LedPoint& p : h.model.Points()) {
        EXPECT_EQ(p.traced, 0);
        EXPECT_EQ(p.label, 0u);
        EXPECT_EQ(p.marked, 1);
    }
    commands.Execute(LayoutCommands::kEnableAdvanced);
    h.Click({{0, 0}});
    EXPECT_EQ(h.tracer->ChannelRows()[0].rows[0].points.size(), 1u) << "traced from scratch";

    commands.Execute(LayoutCommands::kPaintMarks);
    EXPECT_EQ(h.tracer->EditMode(), 2u);
}

TEST(LayoutCommandsTest, VirtualPointDialogIsOfferedOnlyBeforeTheFirstStart)
{
    TracingHarness h(MakeSetup(4, 4, 4, 1));
    VirtualPointPresenter dialog(*h.tracer);
    h.tracer->InsertVirtual(1);
    h.Click(test::Line(0, 0, 1, 0, 4));
    ASSERT_TRUE(dialog.Offer());
    EXPECT_EQ(dialog.Position(), 5u);
    EXPECT_EQ(dialog.Count(), 1u);
    dialog.Accept(2);
    EXPECT_EQ(h.tracer->FirstRow().size(), 7u);
    h.Click({{0, 1}});
    ASSERT_EQ(h.tracer->Starts().size(), 1u);
    EXPECT_FALSE(dialog.Offer());
    h.tracer->InsertVirtual(1);
    EXPECT_EQ(h.tracer->FirstRow().size(), 7u);
}

} // namespace
} // namespace md
