#include "core/design/ParallelLedPicker.h"
#include "core/design/PixelDecomposition.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(CellDecomposition, ApplyingSetsModeAndActivityPerCopy)
{
    std::vector<CellLed> cell(3);
    for (std::uint16_t colour = 0; colour < 3; ++colour)
        cell[colour].colour = colour;
    std::array<std::vector<CellLed>, 4> copies{cell, cell, cell, cell};
    PixelDecomposition::Apply(copies, {1, 3, 9}); // red LH, green LV, blue N
    std::string active;
    for (const auto& copy : copies) {
        for (const CellLed& led : copy)
            active += led.active ? '1' : '0';
        active += ' ';
    }
    EXPECT_EQ(active, "110 000 000 110 ");
    EXPECT_EQ(copies[2][0].decompositionMode, 1);
    EXPECT_EQ(copies[2][1].decompositionMode, 3);

    // Resetting to TU lights everything again.
    PixelDecomposition::Apply(copies, {0, 0, 0});
    for (const auto& copy : copies)
        for (const CellLed& led : copy) {
            EXPECT_EQ(led.active, 1);
            EXPECT_EQ(led.decompositionMode, 0);
        }
}

TEST(CellParallelPicker, LastShownLedUnderTheClickWins)
{
    auto led = [](std::uint16_t colour, std::uint16_t code, std::uint16_t x, std::uint16_t group) {
        CellLed l;
        l.colour = colour;
        l.code = code;
        l.x = x;
        l.y = 2;
        l.widthPx = 10;
        l.heightPx = 10;
        l.group = group;
        return l;
    };
    ParallelLedPicker picker;
    picker.SetLeds({led(0, 1, 0, 1), led(0, 1, 5, 2), led(0, 0, 5, 3), led(1, 1, 5, 4)});
    picker.SetColour(0);
    picker.SetCentre({300, 140});

    picker.Open();
    EXPECT_FALSE(picker.Click(10, 4)); // above the boxes (y from 8)
    EXPECT_FALSE(picker.Picked());
    EXPECT_TRUE(picker.Click(22, 8)); // in the boxes of groups 1 and 2 (x 0..39, 20..59)
    EXPECT_EQ(picker.PickedLed().group, 2);
    EXPECT_TRUE(picker.Click(10, 8));
    EXPECT_EQ(picker.PickedLed().group, 1);
    EXPECT_TRUE(picker.Click(50, 8)); // the later boxes here are of code 0 and of green
    EXPECT_EQ(picker.PickedLed().group, 2);
    picker.Open();
    EXPECT_FALSE(picker.Picked());
}

} // namespace
} // namespace md
