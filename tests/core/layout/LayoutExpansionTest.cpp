#include "TracingHarness.h"
#include "core/layout/LayoutDeduction.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

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

TEST(LayoutExpansionTest, SeriesBlocksAreSixteenAndTwentyFourPointsForTheLongTypes)
{
    // Three lines (red, green, blue) of 40 points each merge into one line whose colours run
    // in blocks of the type's size; the last block of each colour is what is left.
    std::vector<ChannelRow> lines(3);
    for (std::uint16_t c = 0; c < 3; ++c) {
        lines[c].rowLength = 40;
        lines[c].rows.resize(1);
        for (std::uint16_t i = 0; i < 40; ++i) {
            TracedPoint point;
            point.x = i;
            point.kind = c;
            lines[c].rows[0].points.push_back(point);
        }
    }
    const auto runs = [](const std::vector<ChannelRow>& merged) {
        std::string out;
        const auto& points = merged.at(0).rows.at(0).points;
        for (std::size_t i = 0; i < points.size();) {
            std::size_t j = i;
            while (j < points.size() && points[j].kind == points[i].kind)
                ++j;
            out += "RGB"[points[i].kind] + std::to_string(j - i) + " ";
            i = j;
        }
        return out;
    };
    EXPECT_EQ(runs(deduction::RegroupSeries(lines, 6)), "R16 G16 B16 R16 G16 B16 R8 G8 B8 ");
    EXPECT_EQ(runs(deduction::RegroupSeries(lines, 7)), "R24 G24 B24 R16 G16 B16 ");
    EXPECT_EQ(runs(deduction::RegroupSeries(lines, 5)).substr(0, 12), "R8 G8 B8 R8 ");
    const auto merged = deduction::RegroupSeries(lines, 7);
    EXPECT_EQ(merged[0].rows[0].points[24].x, 0) << "green starts again at the line's start";
    EXPECT_EQ(merged[0].rows[0].points[72].x, 24) << "the second red block goes on from 24";
}

TEST(LayoutExpansionTest, VirtualPixelsMoveIntoTheDoubledGrid)
{
    // Channels red, green, blue, red; pixel (3, 5) goes to one of (6..7, 10..11) by its role.
    const auto channels = [] {
        std::vector<ChannelRow> rows(4);
        for (std::uint16_t i = 0; i < 4; ++i) {
            rows[i].index = i;
            rows[i].rows.resize(1);
            TracedPoint p;
            p.x = 3;
            p.y = 5;
            rows[i].rows[0].points = {p, TracedPoint::Virtual()};
        }
        return rows;
    };
    using Cells = std::vector<std::pair<int, int>>;
    const std::vector<std::pair<std::array<std::uint32_t, 3>, Cells>> cases = {
        // (red 1, green, blue, red 2) for each arrangement
        {{1, 6, 7}, {{6, 10}, {7, 10}, {6, 11}, {7, 11}}},
        {{1, 7, 6}, {{7, 11}, {6, 11}, {7, 10}, {6, 10}}},
        {{2, 5, 8}, {{6, 11}, {6, 10}, {7, 11}, {7, 10}}},
        {{2, 8, 5}, {{7, 10}, {7, 11}, {6, 10}, {6, 11}}},
    };
    std::vector<ChannelRow> rows;
    for (const auto& [codes, expected] : cases) {
        SCOPED_TRACE(codes[0] * 100 + codes[1] * 10 + codes[2]);
        rows = channels();
        deduction::MapVirtualPixels(rows, {0, 1, 2, 0}, codes);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(Positions(rows[i].rows[0])[0], expected[i]) << "channel " << i;
            EXPECT_EQ(Positions(rows[i].rows[0])[1], (std::pair<int, int>{0, 0}));
        }
    }
    auto unchanged = rows;
    deduction::MapVirtualPixels(unchanged, {0, 1, 2}, {2, 8, 5});
    EXPECT_EQ(unchanged, rows) << "one red channel: no virtual pixels";
}

TEST(LayoutExpansionTest, AFirstRowOnThreeCornersTakesTheTopOrBottomEdge)
{
    // 4 x 3 module; corners TL (0, 0), TR (3, 0), BR (3, 2), BL (0, 2). Rows and columns are
    // tried in the order top, bottom, right, left.
    const auto edge = [](std::vector<std::pair<std::uint16_t, std::uint16_t>> corners) {
        std::vector<TracedPoint> row;
        for (const auto& [x, y] : corners) {
            TracedPoint p;
            p.x = x;
            p.y = y;
            row.push_back(p);
        }
        return deduction::FindEdge(row, 4, 3);
    };
    using deduction::Edge;
    EXPECT_EQ(edge({{0, 0}, {3, 0}, {3, 2}}), Edge::Top) << "top before right";
    EXPECT_EQ(edge({{3, 0}, {3, 2}, {0, 2}}), Edge::Bottom) << "bottom before right";
    EXPECT_EQ(edge({{0, 0}, {0, 2}, {3, 2}}), Edge::Bottom) << "bottom before left";
    EXPECT_EQ(edge({{3, 0}, {0, 0}, {0, 2}}), Edge::Top) << "top before left";
    EXPECT_EQ(edge({{3, 2}, {3, 0}}), Edge::Right);
    EXPECT_EQ(edge({{0, 2}, {0, 0}}), Edge::Left);
    EXPECT_EQ(edge({{0, 0}, {3, 2}}), std::nullopt) << "opposite corners are no edge";
}

TEST(LayoutExpansionTest, SetSetupSwapsSameColourPositionsOfAnExistingResult)
{
    LayoutSetup setup = MakeSetup(4, 4, 1, 4, {0, 1, 2, 0});
    setup.virtualCode = {1, 6, 7};
    TracingHarness h(setup);
    std::vector<ChannelRow> rows(4);
    for (std::uint16_t i = 0; i < 4; ++i) {
        rows[i].index = i;
        TracedPoint p;
        p.x = 1;
        p.y = 1;
        rows[i].rows.push_back({1, {p}});
    }
    h.tracer->Result() = rows;
    h.tracer->SetSetup(&h.setup, true);
    EXPECT_EQ(h.tracer->Result(), rows) << "no swap asked: the result stays";

    h.setup.sameColourSwap = 1;
    h.tracer->SetSetup(&h.setup, true);
    const std::vector<std::pair<int, int>> expected = {{2, 2}, {3, 2}, {2, 3}, {3, 3}};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(Positions(h.tracer->Result()[i].rows[0])[0], expected[i]) << "channel " << i;
}

} // namespace
} // namespace md
