#include "TracingHarness.h"
#include "core/layout/StatusBarInfo.h"

#include <gtest/gtest.h>

#include <set>

namespace md {
namespace {

using test::Line;
using test::MakeSetup;
using test::TracingHarness;

TEST(TracingLightsTest, RowIndexAndRowsFollowTheScanRowBeingLocated)
{
    LayoutSetup setup = MakeSetup(8, 8, 4, 1);
    setup.driverPolarity = 0x0100;
    setup.scanPolarity = 0x0002;
    TracingHarness h(setup);
    h.Click(Line(0, 0, 1, 0, 8));
    h.Click(Line(7, 1, -1, 0, 7));
    EXPECT_EQ(h.Last().byte0, 0xA0);
    EXPECT_EQ(h.Last().byte1, 0x00) << "no row index while the first row is traced";
    h.tracer->Click(0, 1);
    // The row is complete: position 1 of scan row 1.
    EXPECT_EQ(h.Last().position, 1u);
    EXPECT_EQ(h.Last().byte0, 0xA1);
    EXPECT_EQ(h.Last().byte1, 0x01);
    EXPECT_EQ(h.Last().rows, 4u);
    h.Click({{0, 2}, {0, 4}});
    EXPECT_EQ(h.Last().byte0, 0xA3);
    h.Click({{0, 6}});
    EXPECT_EQ(h.Last().byte0, 0xA3) << "the last row index stays once every start is located";
    EXPECT_EQ(h.sent.back().word1[2], 0x01);
    EXPECT_EQ(h.sent.back().word1[3], 0x02);

    h.tracer->RowAddress() = 20;
    h.tracer->HubAddress() = 5;
    h.tracer->Light(0);
    EXPECT_EQ(h.Last().byte0, 0xA0);
    EXPECT_EQ(h.Last().byte1, 20);
    EXPECT_EQ(h.Last().rows, 21u);
    EXPECT_EQ(h.Last().group, 5u);
}

TEST(TracingLightsTest, TickBlinksTheNextAndTheLastPosition)
{
    TracingHarness h(MakeSetup(16, 4, 4, 1));
    StatusBarInfo status(h.texts, h.prompter);
    h.tracer->Tick(&status);
    h.tracer->Tick(&status);
    ASSERT_GE(h.sent.size(), 2u);
    EXPECT_EQ(test::Decode(h.sent[h.sent.size() - 2]).position, 1u);
    EXPECT_EQ(h.Last().position, 0u);
    h.Click({{0, 0}, {1, 0}});
    h.tracer->Tick(&status);
    EXPECT_EQ(h.Last().position, 3u);
    h.tracer->Tick(&status);
    EXPECT_EQ(h.Last().position, 2u);
    EXPECT_EQ(status.RowPosition(), 2u);
    EXPECT_EQ(status.Row(), 1u);
    EXPECT_EQ(status.StatusText(), u"IDS_MODULE_EPSTATUS_BAR_EP_ING");

    // Held (tracing by camera), every tick lights the next position; released, it blinks again.
    h.tracer->SetHoldLit(true);
    for (int i = 0; i < 3; ++i) {
        h.tracer->Tick(&status);
        EXPECT_EQ(h.Last().position, 3u);
    }
    h.tracer->SetHoldLit(false);
    h.tracer->Tick(&status);
    h.tracer->Tick(&status);
    EXPECT_EQ(std::set({test::Decode(h.sent[h.sent.size() - 2]).position, h.Last().position}),
              std::set({2u, 3u}));
}

TEST(TracingLightsTest, StatusBarRepaintsOnlyOnChangeAndAnnouncesFinishing)
{
    TracingHarness h(MakeSetup(4, 4, 4, 1));
    StatusBarInfo status(h.texts, h.prompter);
    status.SetRow(3);
    const unsigned changes = status.Changes();
    status.SetRow(3);
    status.SetStatusText(u"IDS_MODULE_EPSTATUS_BAR_EP_ING");
    EXPECT_EQ(status.Changes(), changes + 1);
    EXPECT_TRUE(h.prompter.asked.empty());

    h.Click(Line(0, 0, 1, 0, 4));
    h.tracer->Tick(&status);
    h.tracer->Tick(&status);
    ASSERT_EQ(h.prompter.asked.size(), 1u) << "mode 1 finishing is announced once";
    EXPECT_EQ(h.prompter.asked[0].second, "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH");
}

TEST(TracingUndoTest, UndoStepsBackOneStateAtATime)
{
    TracingHarness h(MakeSetup(4, 4, 4, 1));
    // Virtual points only: they go, nothing else changes.
    h.tracer->InsertVirtual(2);
    EXPECT_EQ(h.tracer->Undo(), 0);
    EXPECT_TRUE(h.tracer->FirstRow().empty());

    h.Click({{0, 0}, {1, 0}});
    h.tracer->InsertVirtual(1);
    h.tracer->Undo();
    EXPECT_EQ(h.tracer->FirstRow().size(), 2u) << "trailing virtual point removed alone";
    EXPECT_EQ(h.tracer->Ordinal(), 3);

    h.tracer->Undo();
    EXPECT_EQ(h.tracer->Ordinal(), 2);
    EXPECT_EQ(h.tracer->History().size(), 1u);
    EXPECT_FALSE(h.model.Find(LayoutModel::Key(1, 0))->traced);
    EXPECT_EQ(h.model.Find(LayoutModel::Key(1, 0))->label, 0u);
    EXPECT_EQ(h.Last().position, 2u) << "the taken-back position is lit again";
    EXPECT_EQ(h.tracer->Focus(), (GridCell{1, 1}));

    h.Click({{1, 0}, {2, 0}, {3, 0}, {0, 1}});
    ASSERT_EQ(h.tracer->Starts().size(), 1u);
    h.tracer->Undo();
    EXPECT_TRUE(h.tracer->Starts().empty());
    EXPECT_FALSE(h.model.Find(LayoutModel::Key(0, 1))->traced);
    EXPECT_EQ(h.tracer->History().size(), 4u);
    EXPECT_EQ(h.tracer->LastTraced(), h.model.IndexOf(3, 0));

    // With no start, undo takes back the last point of the completed row.
    h.tracer->Undo();
    EXPECT_EQ(h.tracer->Ordinal(), 4);
    EXPECT_FALSE(h.tracer->RowComplete());
}

TEST(TracingUndoTest, AFinishedLayoutTracesNothingUntilItIsUndoneOrReset)
{
    // The final analysis with virtual points raises the row length; clicks after it must not
    // take the first row for incomplete and extend it.
    TracingHarness h(MakeSetup(4, 2, 2, 1));
    h.tracer->InsertVirtual(1);
    h.Click({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    ASSERT_TRUE(h.tracer->Analyse(true));
    ASSERT_EQ(h.setup.rowLength, 5);
    const auto finished = h.setup.result;
    const std::size_t sentBefore = h.sent.size();

    h.tracer->Click(0, 1);
    ASSERT_EQ(h.prompter.asked.size(), 1u);
    EXPECT_EQ(h.prompter.asked[0],
              (std::pair<std::string, std::string>{"IDS_MODULE_FIRSETDLG_PROMPT",
                                                   "IDS_MODULE_STEP5DLG_LAYOUT_EPFINISHED"}));
    EXPECT_EQ(h.tracer->FirstRow().size(), 5u);
    EXPECT_EQ(h.sent.size(), sentBefore) << "a finished layout lights nothing";
    EXPECT_TRUE(h.tracer->Analyse(true)) << "finishing twice keeps the layout";
    EXPECT_EQ(h.setup.result, finished);
    EXPECT_EQ(h.setup.rowLength, 5);

    // Undo goes back to the state before the final analysis, which finishes the same again.
    EXPECT_EQ(h.tracer->Undo(), 0);
    EXPECT_FALSE(h.tracer->LayoutDone());
    EXPECT_TRUE(h.tracer->TimerRunning());
    EXPECT_EQ(h.setup.rowLength, 4);
    EXPECT_EQ(h.setup.virtualPerRow, 0);
    ASSERT_TRUE(h.tracer->Analyse(true));
    EXPECT_EQ(h.setup.result, finished);

    h.tracer->Reset();
    EXPECT_EQ(h.setup.rowLength, 4) << "a reset also forgets the raised counts";
    h.tracer->Click(0, 0);
    EXPECT_EQ(h.tracer->FirstRow().size(), 1u);
    EXPECT_EQ(h.prompter.asked.size(), 1u);
}

TEST(TracingAdvancedTest, TracesEveryPointAndDeducesFromOneScanRow)
{
    TracingHarness h(MakeSetup(4, 4, 4, 1, {0, 1}));
    h.tracer->SetAdvancedEnabled(true);
    h.tracer->Reset();
    EXPECT_EQ(h.tracer->Click(0, 0), -3);
    h.tracer->SetScanRowLength(4);
    h.tracer->SetAdvancedStarted(true);
    h.tracer->Reset();
    EXPECT_EQ(h.tracer->AdvancedTotal(), 16u);
    h.Click({{0, 0}, {1, 0}});
    EXPECT_EQ(h.Last().position, 3u);
    h.tracer->InsertVirtual(1);
    h.Click({{3, 0}});
    EXPECT_EQ(h.tracer->TracedCount(), 4u);
    EXPECT_EQ(h.Last().position, 1u);
    EXPECT_EQ(h.Last().byte0, 0xA1) << "row index of the next scan row";

    ASSERT_TRUE(h.tracer->Analyse(true));
    ASSERT_EQ(h.setup.result.size(), 2u);
    for (std::size_t c = 0; c < 2; ++c) {
        const ChannelRow& entry = h.setup.result[c];
        ASSERT_EQ(entry.rows.size(), 4u);
        for (std::size_t k = 0; k < 4; ++k) {
            const auto& points = entry.rows[k].points;
            ASSERT_EQ(points.size(), 4u);
            EXPECT_EQ(points[0].y, k) << "deduced downwards";
            EXPECT_EQ(points[0].kind, c);
            EXPECT_TRUE(points[2].IsVirtual());
            EXPECT_EQ(points[3].x, 3);
        }
    }
    EXPECT_TRUE(h.model.Find(LayoutModel::Key(3, 3))->traced);
}

TEST(TracingAdvancedTest, NeedsEveryPointWithSeveralGroupsAndUndoesRecords)
{
    TracingHarness h(MakeSetup(4, 2, 2, 2));
    h.tracer->SetAdvancedEnabled(true);
    h.tracer->SetScanRowLength(2);
    h.tracer->SetAdvancedStarted(true);
    h.tracer->Reset();
    ASSERT_EQ(h.tracer->AdvancedTotal(), 8u);
    h.Click({{0, 0}, {1, 0}});
    EXPECT_FALSE(h.tracer->Analyse(true)) << "no deduction with two data groups";
    EXPECT_EQ(h.tracer->Undo(), 0);
    EXPECT_EQ(h.tracer->TracedCount(), 1u);
    EXPECT_FALSE(h.model.Find(LayoutModel::Key(1, 0))->traced);
    h.Click({{1, 0}, {0, 1}, {1, 1}, {2, 0}, {3, 0}, {2, 1}});
    EXPECT_TRUE(h.prompter.asked.empty());
    h.tracer->Click(3, 1);
    ASSERT_EQ(h.prompter.asked.size(), 1u) << "finishing is announced";
    EXPECT_EQ(h.tracer->StatusKey(), "IDS_MODULE_EPSTATUS_BAR_EP_FINISH");
    ASSERT_TRUE(h.tracer->Analyse(true));
    ASSERT_EQ(h.setup.result.size(), 2u);
    EXPECT_EQ(h.setup.result[1].rows[1].points[1].x, 3);
    EXPECT_EQ(h.setup.result[1].rows[1].points[1].y, 1);
    EXPECT_EQ(h.setup.result[1].rows[1].points[1].channelIndex, 1);
    while (h.tracer->Undo() == 0) {
    }
    EXPECT_TRUE(h.tracer->History().empty());
    EXPECT_TRUE(h.tracer->AdvancedRecords().empty());
}

} // namespace
} // namespace md
