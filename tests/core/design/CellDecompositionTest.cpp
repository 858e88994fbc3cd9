#include "core/design/ParallelLedPicker.h"
#include "core/design/PixelDecomposition.h"
#include "core/design/PixelDecompositionChoice.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(CellDecomposition, ParticipationByMode)
{
    // Copies as bits 1..4 of each 2 x 2 block of pixels.
    const std::array<std::string, PixelDecomposition::kModeCount> expected{
        "1234", "14", "23", "14", "23", "1", "2", "3", "4", ""};
    for (int mode = 0; mode < PixelDecomposition::kModeCount; ++mode) {
        std::string copies;
        for (int copy = 1; copy <= 4; ++copy)
            if (PixelDecomposition::Participates(mode, copy))
                copies += static_cast<char>('0' + copy);
        EXPECT_EQ(copies, expected[static_cast<std::size_t>(mode)])
            << PixelDecomposition::ModeInfo(mode).label;
    }
    EXPECT_FALSE(PixelDecomposition::Participates(-1, 1));
    EXPECT_FALSE(PixelDecomposition::Participates(10, 1));
}

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

TEST(CellDecomposition, DialogChoiceConfirmsUnsetAsTu)
{
    PixelDecompositionChoice choice;
    EXPECT_EQ(choice.Modes()[2], PixelDecomposition::kUnset);
    choice.SetModes({PixelDecomposition::kUnset, 7, 42});
    EXPECT_EQ(choice.CheckedMode(0), 0);
    EXPECT_EQ(choice.CheckedMode(1), 7);
    EXPECT_EQ(choice.CheckedMode(2), 0);
    choice.Choose(0, 5);
    choice.Choose(1, 10); // no such mode
    const auto modes = choice.Confirm();
    EXPECT_EQ(modes[0], 5u);
    EXPECT_EQ(modes[1], 7u);

    PixelDecompositionChoice untouched;
    untouched.SetModes({4, 4, PixelDecomposition::kUnset});
    EXPECT_EQ(untouched.Confirm()[2], 0u);
    EXPECT_STREQ(PixelDecomposition::ModeInfo(9).pictures[1], "none.png");
    EXPECT_EQ(PixelDecomposition::ModeInfo(9).buttons[0], 20072);
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
    EXPECT_EQ(picker.TopLeft().x, 172);
    EXPECT_EQ(picker.TopLeft().y, 12);

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
