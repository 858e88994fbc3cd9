#include "TracingHarness.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace md {
namespace {

using test::MakeSetup;
using test::TracingHarness;

std::array<std::vector<CellLed>, 4> Slots()
{
    std::array<std::vector<CellLed>, 4> slots;
    for (std::uint16_t s = 0; s < 4; ++s)
        for (std::uint16_t i = 0; i <= s; ++i) {
            CellLed led;
            led.x = static_cast<std::uint16_t>(10 * s + i);
            led.colour = i % 3;
            slots[s].push_back(led);
        }
    return slots;
}

TEST(LayoutModelTest, PointsAreColumnMajorWithParityVariantsAndSharedShapes)
{
    LayoutModel model;
    model.Construct(3, 2, Slots());
    ASSERT_EQ(model.Points().size(), 6u);
    EXPECT_EQ(model.Points()[1].x, 0);
    EXPECT_EQ(model.Points()[1].y, 1);
    const std::vector<std::pair<int, int>> pixels = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (std::size_t v = 0; v < 4; ++v) {
        const LedPoint* point = model.Find(LayoutModel::Key(pixels[v].first, pixels[v].second));
        ASSERT_NE(point, nullptr);
        EXPECT_EQ(point->cellVariant, v + 1);
        EXPECT_EQ(model.ShapesOf(*point), Slots()[v]);
    }
    EXPECT_EQ(model.Find(LayoutModel::Key(3, 0)), nullptr);
    EXPECT_EQ(model.IndexOf(2, 1), 5);
    EXPECT_EQ(model.Current(), 0);

    // A cell designed in slot 1 only gives every pixel its LEDs.
    LayoutModel designed;
    designed.Construct(2, 2, {Slots()[2], {}, {}, {}});
    for (const LedPoint& point : designed.Points())
        EXPECT_EQ(designed.ShapesOf(point), Slots()[2]) << point.x << "," << point.y;

    LayoutModel empty;
    empty.Construct(0, 5, Slots());
    EXPECT_TRUE(empty.Points().empty());
    EXPECT_EQ(empty.IndexOf(0, 0), -1);
}

TEST(LayoutModelTest, PerPixelVisibilityAndActivityDoNotLeakToOtherPixels)
{
    LayoutModel model;
    model.Construct(4, 4, Slots());
    LedPoint& a = *model.Find(LayoutModel::Key(1, 1));
    LedPoint& b = *model.Find(LayoutModel::Key(3, 1));
    model.SetLedVisible(a, 2, false);
    EXPECT_FALSE(a.LedVisible(2));
    EXPECT_TRUE(b.LedVisible(2));
    model.SetLedActive(a, 1, false);
    EXPECT_EQ(model.ShapesOf(a)[1].active, 0);
    EXPECT_EQ(model.ShapesOf(b)[1].active, 1);
    const std::size_t sets = model.ShapeSets().size();
    model.SetLedActive(b, 1, false);
    EXPECT_EQ(model.ShapeSets().size(), sets) << "equal lists are shared";
    EXPECT_EQ(a.shapeSet, b.shapeSet);
    model.SetLedActive(a, 1, true);
    EXPECT_EQ(model.ShapesOf(a), Slots()[3]);
}

TEST(LayoutModelTest, ZoomIsBoundedBothWays)
{
    LayoutModel model;
    model.Construct(2, 2, Slots());
    EXPECT_FALSE(model.ZoomIn());
    int steps = 0;
    while (model.ZoomOut())
        ++steps;
    EXPECT_EQ(steps, 16);
    EXPECT_EQ(model.Points()[0].drawWidth, 7u);
    EXPECT_EQ(model.ColumnWidth(), LayoutModel::kMinColumnWidth);
    EXPECT_EQ(model.RowHeight(), LayoutModel::kMinRowHeight);
    while (model.ZoomIn()) {
    }
    EXPECT_EQ(model.Points()[0].drawHeight, 64u); // the sizes are checked on the grid
}

/// Random clicks, keys, virtual points, undo and resets keep the tracing state consistent.
TEST(LayoutModelTest, RandomSessionsKeepTheInvariants)
{
    std::mt19937 random(7);
    for (int session = 0; session < 40; ++session) {
        const bool advanced = session % 4 == 3;
        // Every other advanced session has one data group, so that a row can be deduced.
        TracingHarness h(MakeSetup(6, 4, 2, advanced && session % 8 == 7 ? 1 : 2, {0, 1}));
        if (advanced) {
            h.tracer->SetAdvancedEnabled(true);
            h.tracer->SetScanRowLength(3);
            h.tracer->SetAdvancedStarted(true);
            h.tracer->Reset();
        }
        for (int step = 0; step < 200; ++step) {
            const int action = static_cast<int>(random() % 10);
            if (action < 5)
                h.tracer->Click(int(random() % 7) - 1, int(random() % 5) - 1);
            else if (action < 7)
                h.tracer->MoveFocus(static_cast<PointTracer::Key>(random() % 4));
            else if (action == 7)
                h.tracer->InsertVirtual(random() % 3);
            else if (action == 8)
                h.tracer->Undo();
            else if (random() % 8 == 0)
                h.tracer->Reset();
            else if (random() % 2 == 0)
                h.tracer->Analyse(false);
            // The final analysis ends a session when it succeeds; a refusal changes nothing.
            else if (h.tracer->Analyse(true))
                break;
            const PointTracer& t = *h.tracer;
            ASSERT_GE(t.Ordinal(), 1);
            std::set<std::pair<int, int>> cells;
            for (std::size_t i = 0; i < t.History().size(); ++i) {
                const GridCell cell = t.History()[i];
                ASSERT_TRUE(cells.insert({cell.row, cell.column}).second) << "no repeats";
                const LedPoint* p = h.model.Find(LayoutModel::Key(cell.column - 1, cell.row - 1));
                ASSERT_EQ(p->label, i + 1);
            }
            std::size_t traced = 0;
            for (const LedPoint& p : h.model.Points())
                traced += p.traced;
            if (advanced) {
                ASSERT_LE(t.TracedCount(), t.AdvancedTotal());
                ASSERT_EQ(t.AdvancedRecords().size(), t.TracedCount());
                // Deduced rows are traced without a history cell of their own.
                ASSERT_GE(traced, t.History().size());
                for (const GridCell cell : t.History())
                    ASSERT_TRUE(
                        h.model.Find(LayoutModel::Key(cell.column - 1, cell.row - 1))->traced);
            } else {
                const auto& row = t.ChannelRows()[0].rows[0].points;
                ASSERT_LE(row.size(), h.setup.rowLength);
                ASSERT_EQ(t.Ordinal() - 1U, row.size());
                ASSERT_EQ(t.ChannelRows()[1].rows[0].points.size(), row.size());
                ASSERT_EQ(traced, row.size() + t.Starts().size());
                ASSERT_EQ(t.History().size(), traced);
                ASSERT_LE(t.Starts().size(), h.setup.scanRows - 1U);
                std::size_t real = 0;
                for (const TracedPoint& p : t.FirstRow())
                    real += !p.IsVirtual();
                ASSERT_EQ(real, row.size());
            }
        }
    }
}

} // namespace
} // namespace md
