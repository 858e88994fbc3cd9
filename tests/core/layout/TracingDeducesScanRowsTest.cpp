#include "TracingHarness.h"

#include <gtest/gtest.h>

#include <set>

namespace md {
namespace {

using test::Line;
using test::MakeSetup;
using test::Positions;
using test::TracingHarness;

// A first row along the top edge moves down, one along the left edge moves right, by one pixel
// per scan row and by the scan rows per data group.
TEST(TracingDeducesScanRowsTest, ModeOneFillsScanRowsAndDataGroupsFromTheTopOrLeftEdge)
{
    for (const bool top : {true, false}) {
        SCOPED_TRACE(top ? "top" : "left");
        const std::uint16_t groups = top ? 2 : 4;
        TracingHarness h(MakeSetup(64, 32, 16, groups));
        const int length = top ? 64 : 32;
        ASSERT_EQ(h.setup.rowLength, length);
        ASSERT_EQ(h.setup.pointsPerGroup, 64 * 32 / groups);
        h.Click(top ? Line(0, 0, 1, 0, length) : Line(0, 0, 0, 1, length));
        EXPECT_TRUE(h.tracer->Supported());
        EXPECT_EQ(h.tracer->StatusKey(), "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH");

        ASSERT_TRUE(h.tracer->Analyse(true));
        const auto& result = h.setup.result;
        ASSERT_EQ(result.size(), groups);
        for (int group = 0; group < groups; ++group) {
            EXPECT_EQ(result[std::size_t(group)].index, group);
            ASSERT_EQ(result[std::size_t(group)].rows.size(), 16u);
            for (int k = 0; k < 16; ++k)
                EXPECT_EQ(Positions(result[std::size_t(group)].rows[std::size_t(k)]),
                          top ? Line(0, k + 16 * group, 1, 0, 64)
                              : Line(k + 16 * group, 0, 0, 1, 32));
        }
        EXPECT_TRUE(h.tracer->LayoutDone());
        EXPECT_FALSE(h.tracer->TimerRunning());
    }
}

TEST(TracingDeducesScanRowsTest, RowThatMissesACornerIsNotSupported)
{
    TracingHarness h(MakeSetup(64, 32, 16, 2));
    auto row = Line(1, 0, 1, 0, 63);
    row.emplace_back(0, 1);
    h.Click(row);
    EXPECT_FALSE(h.tracer->Supported());
    EXPECT_EQ(h.tracer->StatusKey(), "IDS_MODULE_EPSTATUS_BAR_EP_NOSUPPORT");
    // Clicking on after the row is complete explains why nothing happens.
    h.tracer->Click(5, 5);
    ASSERT_FALSE(h.prompter.asked.empty());
    EXPECT_EQ(h.prompter.asked.back().second, "IDS_MODULE_STEP5DLG_LAYOUT_NOSUPPORTEP");
    EXPECT_TRUE(h.tracer->Starts().empty());
    EXPECT_FALSE(h.tracer->Analyse(true));
}

TEST(TracingDeducesScanRowsTest, TranslationLeavingTheModuleIsRefused)
{
    // Along the top edge, with more data groups than the module has room for below.
    LayoutSetup setup = MakeSetup(4, 4, 2, 2);
    setup.dataGroups = 3;
    TracingHarness h(setup);
    ASSERT_EQ(h.setup.rowLength, 4);
    h.tracer->InsertVirtual(1);
    h.Click(Line(0, 0, 1, 0, 4));
    EXPECT_FALSE(h.tracer->Supported());
    EXPECT_FALSE(h.tracer->Analyse(true));
    // A refused analysis leaves the record as it was, so tracing can go on.
    EXPECT_EQ(h.setup.rowLength, 4);
    EXPECT_EQ(h.setup.virtualPerRow, 0);
    EXPECT_TRUE(h.setup.virtualRuns.empty());
    h.setup.dataGroups = 2;
    EXPECT_TRUE(h.tracer->Analyse(true));
}

struct ModeTwoCase
{
    const char* name;
    std::vector<std::pair<int, int>> firstRow;
    std::vector<std::pair<int, int>> starts;
};

/// An 8 x 8 module of 4 scan rows whose scan rows each interleave two pixel rows (or columns),
/// the one further inside clocked first, so every scan row begins inside the module.
std::vector<ModeTwoCase> ModeTwoCases()
{
    auto join = [](auto a, auto b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    return {
        {"top", join(Line(0, 1, 1, 0, 8), Line(0, 0, 1, 0, 8)), {{0, 3}, {0, 5}, {0, 7}}},
        {"bottom", join(Line(0, 6, 1, 0, 8), Line(0, 7, 1, 0, 8)), {{0, 4}, {0, 2}, {0, 0}}},
        {"right", join(Line(6, 0, 0, 1, 8), Line(7, 0, 0, 1, 8)), {{4, 0}, {2, 0}, {0, 0}}},
        {"left", join(Line(1, 0, 0, 1, 8), Line(0, 0, 0, 1, 8)), {{3, 0}, {5, 0}, {7, 0}}},
    };
}

TEST(TracingDeducesScanRowsTest, ModeTwoDeducesRowsBeginningInsideOnEveryEdge)
{
    for (const ModeTwoCase& c : ModeTwoCases()) {
        SCOPED_TRACE(c.name);
        TracingHarness h(MakeSetup(8, 8, 4, 1));
        h.Click(c.firstRow);
        EXPECT_EQ(h.tracer->StatusKey(), "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH");
        h.Click({c.starts[0]});
        EXPECT_EQ(h.tracer->StatusKey(), "IDS_MODULE_EPSTATUS_BAR_EP_SCANROW_POS");
        h.Click({c.starts[1], c.starts[2]});
        EXPECT_EQ(h.tracer->StatusKey(), "IDS_MODULE_EPSTATUS_BAR_EP_MODE2_FINISH");
        // A further click is refused once every start is located.
        h.tracer->Click(4, 4);
        ASSERT_FALSE(h.prompter.asked.empty());
        EXPECT_EQ(h.prompter.asked.back().second, "IDS_MODULE_STEP5DLG_LAYOUT_EPFINISHED");

        ASSERT_TRUE(h.tracer->Analyse(true));
        const ChannelRow& entry = h.setup.result.at(0);
        ASSERT_EQ(entry.rows.size(), 4u);
        std::set<std::pair<int, int>> covered;
        for (std::size_t k = 0; k < 4; ++k) {
            const auto row = Positions(entry.rows[k]);
            ASSERT_EQ(row.size(), 16u);
            // Scan row k begins at the k-th start and repeats the shape of the first row.
            if (k > 0) {
                EXPECT_EQ(row.front(), c.starts[k - 1]);
            }
            for (std::size_t i = 0; i < row.size(); ++i) {
                EXPECT_EQ(row[i].first - row[0].first, c.firstRow[i].first - c.firstRow[0].first);
                EXPECT_EQ(row[i].second - row[0].second,
                          c.firstRow[i].second - c.firstRow[0].second);
            }
            covered.insert(row.begin(), row.end());
        }
        EXPECT_EQ(covered.size(), 64u) << "every pixel once";
    }
}

TEST(TracingDeducesScanRowsTest, ModeTwoRefusesStartsOffTheFirstRowsLine)
{
    TracingHarness h(MakeSetup(8, 8, 4, 1));
    h.Click(Line(0, 0, 1, 0, 8));
    h.Click(Line(7, 1, -1, 0, 8));
    h.Click({{0, 2}, {1, 4}, {0, 6}});
    ASSERT_EQ(h.tracer->Starts().size(), 3u);
    EXPECT_FALSE(h.tracer->Analyse(true));

    // The same starts on the line agree with moving the row down by the start's y.
    TracingHarness g(MakeSetup(8, 8, 4, 1));
    g.Click(Line(0, 0, 1, 0, 8));
    g.Click(Line(7, 1, -1, 0, 8));
    g.Click({{0, 2}, {0, 4}, {0, 6}});
    ASSERT_TRUE(g.tracer->Analyse(true));
    EXPECT_EQ(Positions(g.setup.result[0].rows[2]).front(), (std::pair<int, int>{0, 4}));
    EXPECT_EQ(Positions(g.setup.result[0].rows[2])[8], (std::pair<int, int>{7, 5}));
}

TEST(TracingDeducesScanRowsTest, VirtualPointsBecomeRunsInEveryScanRow)
{
    TracingHarness h(MakeSetup(4, 2, 2, 1));
    ASSERT_EQ(h.setup.rowLength, 4);
    h.tracer->InsertVirtual(1);
    h.Click({{0, 0}, {1, 0}});
    h.tracer->InsertVirtual(2);
    h.Click({{2, 0}, {3, 0}});
    ASSERT_TRUE(h.tracer->Analyse(true));
    EXPECT_EQ(h.setup.virtualPerRow, 3);
    EXPECT_EQ(h.setup.pointsPerGroup, 8 + 3 * 2);
    EXPECT_EQ(h.setup.rowLength, 7);
    EXPECT_EQ(h.setup.virtualRuns, (std::vector<VirtualRun>{{0, 1}, {3, 2}}));
    for (std::size_t k = 0; k < 2; ++k) {
        const auto& points = h.setup.result[0].rows[k].points;
        ASSERT_EQ(points.size(), 7u);
        std::string kinds;
        for (const TracedPoint& p : points)
            kinds += p.IsVirtual() ? 'v' : 'r';
        EXPECT_EQ(kinds, "vrrvvrr");
        EXPECT_EQ(points[1].y, k);
        EXPECT_EQ(points[1].ordinal, 7);
    }
}

} // namespace
} // namespace md
