#include "core/wizard/HubAddressArranger.h"

#include <gtest/gtest.h>

namespace md {
namespace {

bool Holds(const ConnectorTable& table, int row, int column)
{
    return table.cells[row][column] != -1;
}

ConnectorTable ForMultiClock(std::uint32_t m)
{
    ConnectorTable table;
    table.ForMultiClock(m);
    return table;
}

std::string Cell(const ConnectorTable& table, int row, int column)
{
    return Holds(table, row, column) ? HubAddressArranger::SlotText(table.cells[row][column]) : ".";
}

/// The table in use as text, rows separated by '/'.
std::string Shape(const ConnectorTable& table)
{
    std::string text;
    for (int r = 0; r < static_cast<int>(table.rows); ++r) {
        if (r)
            text += '/';
        for (int c = 0; c < static_cast<int>(table.columns); ++c)
            text += Cell(table, r, c);
    }
    return text;
}

// Dragging B below A is checked through the dialog's grid.
TEST(HubAddressArrangerTest, AStackedPairGoesBackSideBySide)
{
    ConnectorTable table = ForMultiClock(1);
    HubAddressArranger arranger(table, 1);
    ASSERT_TRUE(arranger.Press(1, 2));
    ASSERT_TRUE(arranger.Drop(2, 1));
    ASSERT_EQ(Shape(table), "A/B");
    EXPECT_EQ(arranger.Press(2, 1), 1);
    ASSERT_TRUE(arranger.Drop(1, 2));
    EXPECT_EQ(Shape(table), "AB");
    EXPECT_EQ(table.rows, 1u);
}

TEST(HubAddressArrangerTest, OnlyAllowedTargetsAcceptADrop)
{
    ConnectorTable table = ForMultiClock(2);
    const ConnectorTable before = table;
    HubAddressArranger arranger(table, 2);
    EXPECT_FALSE(arranger.IsAllowedTarget(2, 2));
    EXPECT_FALSE(arranger.IsAllowedTarget(1, 4));
    EXPECT_TRUE(arranger.IsAllowedTarget(3, 1));
    ASSERT_TRUE(arranger.Press(1, 3));
    EXPECT_FALSE(arranger.Drop(2, 2));
    EXPECT_EQ(table, before);
    // A drop without a press on a lettered cell does nothing.
    EXPECT_FALSE(arranger.Press(4, 4));
    EXPECT_FALSE(arranger.Drop(2, 1));
    EXPECT_EQ(table, before);
    // Multi-clock 0 or above 3 cannot be rearranged.
    ConnectorTable single = ForMultiClock(0);
    HubAddressArranger fixed(single, 0);
    ASSERT_TRUE(fixed.Press(1, 1));
    EXPECT_FALSE(fixed.Drop(1, 1));
}

TEST(HubAddressArrangerTest, ThreeConnectorsBecomeAColumnAndCompact)
{
    ConnectorTable table = ForMultiClock(2);
    HubAddressArranger arranger(table, 2);
    ASSERT_TRUE(arranger.Press(1, 3)); // C
    ASSERT_TRUE(arranger.Drop(2, 1));
    // C went below A; B, outside the 3 x 1 shape, fills the gap under C.
    EXPECT_EQ(Shape(table), "A/C/B");
    for (int c = 1; c < ConnectorTable::kSize; ++c)
        EXPECT_FALSE(Holds(table, 0, c)) << c;
}

TEST(HubAddressArrangerTest, FourConnectorsMakeASquareThroughTheMiddleCell)
{
    ConnectorTable table = ForMultiClock(3);
    HubAddressArranger arranger(table, 3);
    EXPECT_TRUE(arranger.IsAllowedTarget(2, 2));
    ASSERT_TRUE(arranger.Press(1, 4)); // D
    ASSERT_TRUE(arranger.Drop(2, 2));
    EXPECT_EQ(table.rows, 2u);
    EXPECT_EQ(table.columns, 2u);
    // D stays where it was dropped; C, outside the square, fills the empty corner.
    EXPECT_EQ(Shape(table), "AB/CD");
    EXPECT_EQ(HubAddressArranger::SlotText(4), "5");
}

} // namespace
} // namespace md
