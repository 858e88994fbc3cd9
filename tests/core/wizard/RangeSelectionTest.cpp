#include "core/wizard/RangeSelection.h"

#include <gtest/gtest.h>

namespace md {
namespace {

// Nothing selected keeps the dialog open (checked through the dialog); here what a range is.
TEST(RangeSelectionTest, AFullUnselectedBandOfColumnsOrRowsIsLeftOut)
{
    struct Case
    {
        int x, y, width, height;
        ModuleRange::Band kind;
        int start, count, left, high;
    };
    for (const Case& c : {Case{9, 0, 2, 16, ModuleRange::kColumns, 9, 2, 30, 16},
                          Case{0, 4, 32, 3, ModuleRange::kRows, 4, 3, 32, 13}}) {
        SCOPED_TRACE(int(c.kind));
        RangeSelection selection(32, 16);
        selection.SelectRectangle(0, 0, 32, 16);
        selection.Select(40, 2); // outside the module: ignored
        selection.SelectRectangle(c.x, c.y, c.width, c.height, false);
        const auto range = selection.Confirm();
        ASSERT_TRUE(range);
        EXPECT_EQ(range->bandKind, c.kind);
        EXPECT_EQ(range->bandStart, c.start);
        EXPECT_EQ(range->bandCount, c.count);
        EXPECT_EQ(range->width, c.left);
        EXPECT_EQ(range->height, c.high);
        EXPECT_EQ(range->cells.size(), std::size_t(c.left * c.high));
        EXPECT_EQ(range->cells.front(), (std::pair<std::uint16_t, std::uint16_t>{0, 0}));
    }
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
