#include "CellTestFixture.h"

#include "core/wizard/ModuleLayoutPresenter.h"

namespace md::test {
namespace {

using CellDefault = CellFixture;

std::vector<std::pair<int, int>> Positions(const std::vector<CellLed>& slot)
{
    std::vector<std::pair<int, int>> positions;
    for (const CellLed& led : slot)
        positions.emplace_back(led.x, led.y);
    return positions;
}

TEST_F(CellDefault, OneLedPerColourAtFixedPositions)
{
    const std::vector<std::vector<std::pair<int, int>>> expected{
        {{92, 102}},
        {{92, 82}, {92, 122}},
        {{92, 62}, {92, 102}, {92, 142}},
        {{46, 84}, {132, 84}, {46, 131}, {132, 131}},
    };
    const std::vector<int> colours{0, 1, 2, 0};
    for (std::size_t count = 1; count <= 4; ++count) {
        Place(u"G3528", 1, 1); // replaced by the generated cell
        ASSERT_TRUE(presenter->GenerateDefault({colours.begin(), colours.begin() + count}));
        EXPECT_EQ(Positions(Cell()), expected[count - 1]);
        EXPECT_EQ(Model().CellSize(), 80);
    }
    // The last light of each colour in the library, sized for 8.0 mm, one picture per name.
    EXPECT_EQ(Cell()[0].name, u"R5050");
    EXPECT_EQ(Cell()[0].widthPx, 160);
    EXPECT_EQ(Cell()[1].name, u"G2020");
    EXPECT_EQ(Cell()[2].name, u"B3528");
    EXPECT_EQ(Cell()[2].widthPx, 112);
    EXPECT_EQ(Cell()[3].imageId, Cell()[0].imageId);
    EXPECT_EQ(Model().Images().size(), 3u);
    EXPECT_EQ(Model().Background().name, u"moduledesign_bkground.bmp");
    EXPECT_EQ(Model().PixelCount(), 4);
}

TEST_F(CellDefault, MissingPictureMakesItFail)
{
    std::filesystem::remove(m_root / "Lightlibrary" / "B3528");
    EXPECT_FALSE(presenter->GenerateDefault({0, 1, 2}));
    EXPECT_EQ(Cell().size(), 2u);
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(CellDefault, LayoutAsksBeforeEditingADesignedCell)
{
    ModuleLayoutPresenter layout({prompter, texts, codec, chooser, [this] { return lights; }},
                                 ProgramFolder(m_root));
    EXPECT_EQ(layout.CellDesignIfAny(), nullptr);
    int runs = 0;
    // First use: no question; the "dialog" places a grouped pair and a single LED.
    EXPECT_EQ(layout.RunCellDesign([&](CellDesignPresenter& cell) {
        ++runs;
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(cell.AddLight(0, u"R3528"));
        cell.Model().Slot(1)[0].selected = cell.Model().Slot(1)[1].selected = 1;
        ASSERT_TRUE(cell.Merge());
        ASSERT_TRUE(cell.Confirm());
    }),
              2);
    EXPECT_TRUE(prompter.asked.empty());

    // No keeps the cell and does not open the dialog.
    prompter.answers = {PromptAnswer::No};
    EXPECT_EQ(layout.RunCellDesign([&](CellDesignPresenter&) { ++runs; }), 2);
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].first, PromptButtons::YesNo);

    // Yes opens it on the kept cell; Exit there drops it.
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(layout.RunCellDesign([&](CellDesignPresenter& cell) {
        ++runs;
        EXPECT_EQ(cell.Model().Slot(1).size(), 3u);
        cell.Exit();
    }),
              0);
    EXPECT_EQ(runs, 2);
    // An empty cell opens without a question.
    EXPECT_EQ(layout.RunCellDesign([&](CellDesignPresenter&) { ++runs; }), 0);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(prompter.asked.size(), 2u);
}

} // namespace
} // namespace md::test
