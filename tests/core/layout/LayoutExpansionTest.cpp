#include "TracingHarness.h"
#include "layout/LayoutDeduction.h"

#include <gtest/gtest.h>

namespace md {
namespace {

using test::Line;
using test::MakeSetup;
using test::Positions;
using test::TracingHarness;

ConnectorTable Table(std::vector<std::vector<int>> cells)
{
    ConnectorTable table;
    for (auto& row : table.cells)
        row.fill(-1);
    table.rows = static_cast<std::uint32_t>(cells.size());
    table.columns = static_cast<std::uint32_t>(cells[0].size());
    for (std::size_t i = 0; i < cells.size(); ++i)
        for (std::size_t j = 0; j < cells[i].size(); ++j)
            table.cells[i][j] = cells[i][j];
    return table;
}

TEST(LayoutExpansionTest, MultiClockCopiesEveryPointOverTheConnectorTable)
{
    struct Case
    {
        const char* name;
        ConnectorTable table;
        std::vector<std::pair<int, int>> firstPointCopies;
        std::uint32_t width;
        std::uint32_t height;
    };
    const std::vector<Case> cases = {
        {"one row", Table({{0, 1}}), {{0, 0}, {2, 0}}, 4, 2},
        {"one column", Table({{1}, {0}}), {{0, 2}, {0, 0}}, 2, 4},
        {"two by two", Table({{3, 0}, {2, 1}}), {{2, 0}, {2, 2}, {0, 2}, {0, 0}}, 4, 4},
        {"empty and stray slots", Table({{0, -1}, {7, 1}}), {{0, 0}, {2, 2}}, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LayoutSetup setup = MakeSetup(2, 2, 2, 1);
        setup.multiClock = 1;
        setup.connectors = c.table;
        TracingHarness h(setup);
        h.Click(Line(0, 0, 1, 0, 2));
        ASSERT_TRUE(h.tracer->Analyse(true));
        EXPECT_EQ(h.tracer->Width(), c.width);
        EXPECT_EQ(h.tracer->Height(), c.height);
        EXPECT_EQ(h.setup.rowLength, 4);
        EXPECT_EQ(h.setup.pointsPerGroup, 8);
        const auto row = Positions(h.setup.result.at(0).rows.at(1));
        ASSERT_EQ(row.size(), 2 * c.firstPointCopies.size());
        for (std::size_t i = 0; i < c.firstPointCopies.size(); ++i) {
            // Scan row 1 lies one pixel below the traced row in every copy.
            EXPECT_EQ(row[i].first, c.firstPointCopies[i].first);
            EXPECT_EQ(row[i].second, c.firstPointCopies[i].second + 1);
        }
    }
}

TEST(LayoutExpansionTest, SeriesLinesCarryBlocksOfEachColour)
{
    // Ten points per row in three colours: blocks of 8 leave a short block of 2.
    for (const auto& [type, block] : {std::pair{4, 1}, std::pair{5, 8}}) {
        SCOPED_TRACE(type);
        LayoutSetup setup = MakeSetup(10, 2, 1, 2, {0, 1, 2});
        setup.dataLineType = static_cast<std::uint16_t>(type);
        TracingHarness h(setup);
        h.Click(Line(0, 0, 1, 0, 10));
        ASSERT_TRUE(h.tracer->Analyse(true));
        const auto& result = h.setup.result;
        ASSERT_EQ(result.size(), 2u);
        for (std::size_t g = 0; g < 2; ++g) {
            EXPECT_EQ(result[g].index, 1 - g);
            EXPECT_EQ(result[g].rowLength, 30);
            const auto& points = result[g].rows.at(0).points;
            ASSERT_EQ(points.size(), 30u);
            std::size_t at = 0;
            for (int offset = 0; offset < 10; offset += block) {
                const int len = std::min(block, 10 - offset);
                for (int colour = 0; colour < 3; ++colour)
                    for (int i = 0; i < len; ++i, ++at) {
                        EXPECT_EQ(points[at].kind, colour);
                        EXPECT_EQ(points[at].spare1, colour);
                        EXPECT_EQ(points[at].x, offset + i);
                        EXPECT_EQ(points[at].y, g) << "data group g lies on row g";
                        EXPECT_EQ(points[at].ordinal, 30 - at);
                        EXPECT_EQ(points[at].channelIndex, 1 - g);
                        EXPECT_EQ(points[at].rowTag, 1);
                    }
            }
        }
    }
}

TEST(LayoutExpansionTest, SeriesRegroupingKeepsSeparateLinesAndShortResults)
{
    std::vector<ChannelRow> two(2);
    two[0].rows.resize(1);
    two[0].rows[0].points.resize(3);
    EXPECT_EQ(deduction::RegroupSeries(two, 5), two);
    std::vector<ChannelRow> three(3, two[0]);
    EXPECT_EQ(deduction::RegroupSeries(three, 0), three);
    EXPECT_EQ(deduction::RegroupSeries(three, 6).size(), 1u);
}

TEST(LayoutExpansionTest, VirtualPixelsMoveIntoTheDoubledGrid)
{
    // Channels red, green, blue, red; arrangement (2, 8, 5).
    std::vector<ChannelRow> rows(4);
    for (std::uint16_t i = 0; i < 4; ++i) {
        rows[i].index = i;
        rows[i].rows.resize(1);
        TracedPoint p;
        p.x = 3;
        p.y = 5;
        rows[i].rows[0].points = {p, TracedPoint::Virtual()};
    }
    deduction::MapVirtualPixels(rows, {0, 1, 2, 0}, {2, 8, 5});
    const std::vector<std::pair<int, int>> expected = {{7, 10}, {7, 11}, {6, 10}, {6, 11}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Positions(rows[i].rows[0])[0], expected[i]);
        EXPECT_EQ(Positions(rows[i].rows[0])[1], (std::pair<int, int>{0, 0}));
    }
    auto unchanged = rows;
    deduction::MapVirtualPixels(unchanged, {0, 1, 2}, {2, 8, 5});
    EXPECT_EQ(unchanged, rows) << "one red channel: no virtual pixels";
}

} // namespace
} // namespace md
