#include "CellTestFixture.h"

#include "core/design/CellGroups.h"

namespace md::test {
namespace {

using CellParallelGroups = CellFixture;

std::vector<int> Groups(const std::vector<CellLed>& slot)
{
    std::vector<int> groups;
    for (const CellLed& led : slot)
        groups.push_back(led.group);
    return groups;
}

std::u16string Names(const std::vector<CellLed>& slot)
{
    std::u16string names;
    for (const CellLed& led : slot)
        names += led.name.back();
    return names;
}

/// Five red LEDs A..E in groups 1 {A, B} and 2 {C, D, E}; names "R3528a" ... to tell them apart.
class CellTwoGroups : public CellFixture
{
protected:
    void SetUp() override
    {
        CellFixture::SetUp();
        for (char16_t tag : std::u16string(u"ABCDE")) {
            Place(u"R3528", 0, 0);
            Cell().back().name += tag;
        }
        for (std::size_t i = 0; i < 5; ++i)
            Cell()[i].group = i < 2 ? 1 : 2;
    }
};

TEST_F(CellTwoGroups, MergeTakesMembersOutOfTheirGroups)
{
    Select({1, 4}); // B and E
    EXPECT_TRUE(presenter->Merge());
    // A is left alone and ungrouped, {C, D} becomes group 1, {B, E} the new group 2.
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{0, 2, 1, 1, 2}));
    EXPECT_EQ(Model().PixelCount(), 3);
}

TEST_F(CellTwoGroups, DeleteDissolvesSortsAndRenumbers)
{
    Select({1, 4}); // B and E
    EXPECT_TRUE(presenter->Delete());
    EXPECT_EQ(Names(Cell()), u"ACD");
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{0, 1, 1}));

    // An LED whose group dissolves moves ahead of the grouped ones; equal groups keep their order.
    Cell()[0].group = 2;
    Cell()[1].group = 3;
    Cell()[2].group = 3;
    Cell().push_back(Cell()[0]);
    Cell().back().name = u"R3528F";
    Select({0});
    presenter->Delete();
    EXPECT_EQ(Names(Cell()), u"FCD");
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{0, 1, 1}));
}

TEST_F(CellTwoGroups, SplitOfATwoLedGroupLeavesBothUngrouped)
{
    Select({0}); // A of {A, B}
    EXPECT_TRUE(presenter->Split());
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{0, 0, 1, 1, 1}));
    EXPECT_EQ(Model().PixelCount(), 3);

    Select({3});
    EXPECT_TRUE(presenter->Split());
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{0, 0, 1, 0, 1}));
}

TEST_F(CellParallelGroups, MergeNeedsTwoLedsOfOneColour)
{
    Place(u"R3528", 0, 0);
    Place(u"G3528", 0, 60);
    Place(u"R5050", 100, 0);
    Select({0});
    EXPECT_FALSE(presenter->Merge());
    EXPECT_EQ(prompter.Last(), "Parallel LED is than the sum of the one.");
    Select({0, 1, 2});
    EXPECT_FALSE(presenter->Merge());
    EXPECT_EQ(prompter.Last(), "Parallel LED must be the same color type.");
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{0, 0, 0}));
    Select({});
    EXPECT_FALSE(presenter->Split());
    EXPECT_EQ(prompter.Last(), "Paiallel LED is than the sum of the zero.");

    Select({0, 2});
    presenter->ToggleInfo();
    presenter->ToggleInfo();
    EXPECT_TRUE(presenter->Merge());
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(Model().PixelCount(), 2);
}

TEST_F(CellParallelGroups, DeletingAGroupedLedWhileInfoIsShownShowsItOnAll)
{
    Place(u"R3528", 0, 0);
    Place(u"R3528", 0, 60);
    Place(u"R3528", 0, 120);
    Select({0, 1, 2});
    presenter->Merge();
    presenter->ToggleInfo();
    Cell()[2].showInfo = 0;
    Select({0});
    presenter->Delete();
    EXPECT_EQ(Groups(Cell()), (std::vector<int>{1, 1}));
    EXPECT_EQ(Cell()[1].showInfo, 1);
}

TEST(CellGroupsCleanUp, DropsGroupsOfSelectedLedsOnly)
{
    std::vector<CellLed> slot(6);
    const std::array<int, 6> groups{3, 3, 5, 5, 7, 7};
    for (std::size_t i = 0; i < slot.size(); ++i)
        slot[i].group = static_cast<std::uint16_t>(groups[i]);
    slot[2].selected = slot[3].selected = 1; // all of group 5
    EXPECT_EQ(CellGroups::CleanUp(slot), 2);
    EXPECT_EQ(Groups(slot), (std::vector<int>{1, 1, 0, 0, 2, 2}));
}

} // namespace
} // namespace md::test
