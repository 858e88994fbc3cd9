#include "core/wizard/RangeSelection.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(RangeSelectionTest, NothingSelectedKeepsTheDialogOpen)
{
    RangeSelection selection(32, 16);
    EXPECT_FALSE(selection.Confirm());
    selection.Select(40, 2); // outside the module: ignored
    EXPECT_FALSE(selection.Confirm());
}

TEST(RangeSelectionTest, AnUnselectedColumnBandIsLeftOut)
{
    RangeSelection selection(32, 16);
    selection.SelectRectangle(0, 0, 32, 16);
    selection.SelectRectangle(9, 0, 2, 16, false); // grid columns 10 and 11
    const auto range = selection.Confirm();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->bandKind, ModuleRange::kColumns);
    EXPECT_EQ(range->bandStart, 9);
    EXPECT_EQ(range->bandCount, 2);
    EXPECT_EQ(range->width, 30);
    EXPECT_EQ(range->height, 16);
    EXPECT_EQ(range->cells.size(), 30u * 16u);
    EXPECT_EQ(range->cells.front(), (std::pair<std::uint16_t, std::uint16_t>{0, 0}));
}

TEST(RangeSelectionTest, AnUnselectedRowBandIsLeftOut)
{
    RangeSelection selection(32, 16);
    selection.SelectRectangle(0, 0, 32, 16);
    selection.SelectRectangle(0, 4, 32, 3, false);
    const auto range = selection.Confirm();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->bandKind, ModuleRange::kRows);
    EXPECT_EQ(range->bandStart, 4);
    EXPECT_EQ(range->bandCount, 3);
    EXPECT_EQ(range->height, 13);
    EXPECT_EQ(range->width, 32);
}

TEST(RangeSelectionTest, ScatteredGapsOrPartialBandsGiveNoBand)
{
    RangeSelection selection(8, 8);
    selection.SelectRectangle(1, 1, 6, 5);
    selection.Select(2, 2, false);
    selection.Select(5, 4, false);
    auto range = selection.Confirm();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->x, 1);
    EXPECT_EQ(range->y, 1);
    EXPECT_EQ(range->width, 6);
    EXPECT_EQ(range->height, 5);
    EXPECT_EQ(range->bandKind, ModuleRange::kNoBand);
    EXPECT_EQ(range->cells.size(), 28u);

    // A block of gaps that is neither full height nor full width: no band either.
    RangeSelection partial(8, 8);
    partial.SelectRectangle(0, 0, 8, 8);
    partial.SelectRectangle(2, 2, 2, 2, false);
    EXPECT_EQ(partial.Confirm()->bandKind, ModuleRange::kNoBand);
    EXPECT_EQ(partial.Confirm()->width, 8);
}

} // namespace
} // namespace md
