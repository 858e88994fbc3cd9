#include "CellTestFixture.h"

#include "core/design/CellPointer.h"

namespace md::test {
namespace {

using CellDesignEditing = CellFixture;

TEST_F(CellDesignEditing, CanvasSizeFollowsTheCellSize)
{
    CellLed& led = Place(u"R3528", 10, 200);
    EXPECT_EQ(led.widthPx, 89); // 3.5 mm of 10.0 mm on 256 pixels
    EXPECT_EQ(led.heightPx, 51);

    // Shrinking the cell enlarges the box and keeps the position, even past the canvas edge.
    EXPECT_TRUE(presenter->EditCellSize(u"5.0"));
    EXPECT_EQ(Model().CellSize(), 50);
    EXPECT_EQ(Cell()[0].widthPx, 179);
    EXPECT_EQ(Cell()[0].heightPx, 102);
    EXPECT_EQ(Cell()[0].y, 200);
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(CellDesignEditing, CellSizeOutsideOneToHundredMillimetresIsRefused)
{
    for (const char16_t* text : {u"0.5", u"100.5", u"", u"abc", u"-5"}) {
        prompter.asked.clear();
        EXPECT_FALSE(presenter->EditCellSize(text));
        EXPECT_EQ(prompter.Last(), "Cell Size in 1.0~100.0(mm)") << utf::ToUtf8(text);
        EXPECT_EQ(Model().CellSize(), 100);
    }
    EXPECT_TRUE(presenter->EditCellSize(u"100"));
    EXPECT_EQ(Model().CellSize(), 1000);
    EXPECT_TRUE(presenter->EditCellSize(u"1"));
    EXPECT_EQ(Model().CellSize(), 10);
    EXPECT_TRUE(presenter->EditCellSize(u" 12.37"));
    EXPECT_EQ(Model().CellSize(), 123); // truncated to tenths
    EXPECT_EQ(presenter->CellSizeText(), u"12.3");
}

TEST_F(CellDesignEditing, AddingChecksTheChoiceAndThePictureFile)
{
    // No light chosen is refused through the dialog; no cell chosen here.
    Model().SetCurrentSlot(0);
    EXPECT_FALSE(presenter->AddLight(0, std::nullopt));
    EXPECT_EQ(prompter.Last(), "please choose a cell.");
    Model().SetCurrentSlot(1);

    // A name of another colour is not found: silently nothing.
    const auto asked = prompter.asked.size();
    EXPECT_FALSE(presenter->AddLight(1, u"R3528"));
    EXPECT_EQ(prompter.asked.size(), asked);

    std::filesystem::remove(m_root / "Lightlibrary" / "G2020");
    EXPECT_FALSE(presenter->AddLight(1, u"G2020"));
    EXPECT_EQ(prompter.Last(),
              "\"" + (m_root / "Lightlibrary" / "G2020").string() + "\" does not exist.");
    EXPECT_TRUE(Model().Images().empty());
    EXPECT_TRUE(Cell().empty());

    Place(u"R3528", 0, 0);
    Cell()[0].selected = 1;
    Place(u"G3528", 0, 0);
    const CellLed& green = Cell()[1];
    EXPECT_EQ(green.index, 1);
    EXPECT_EQ(green.colour, 1);
    EXPECT_EQ(green.code, 9);
    EXPECT_EQ(green.imageId, 1);
    EXPECT_EQ(green.decompositionMode, -1);
    EXPECT_EQ(Model().SelectedCount(), 0u); // adding deselects the slot
    EXPECT_EQ(Model().Images()[1].bytes,
              std::vector<std::uint8_t>({'P', 'I', 'C', 'G', '3', '5', '2', '8'}));
}

TEST_F(CellDesignEditing, OverlapIsPickedByTheEarlierLed)
{
    Place(u"R5050", 10, 10);  // 128 x 128
    Place(u"G3528", 100, 20); // drawn on top of the red one's right part
    CellPointer& pointer = presenter->Pointer();
    pointer.Press(120, 30, false);
    EXPECT_EQ(Cell()[0].selected, 1);
    EXPECT_EQ(Cell()[1].selected, 0);
    EXPECT_TRUE(pointer.LedHit());
    // Ctrl toggles without touching the others and starts no drag.
    pointer.Press(150, 30, true);
    EXPECT_EQ(Model().SelectedCount(), 2u);
    EXPECT_FALSE(pointer.LedHit());
    EXPECT_FALSE(pointer.Drag(110, 50));
    EXPECT_TRUE(presenter->Info().size.empty());
    // A press on empty canvas deselects all; one outside the canvas does nothing.
    pointer.Press(300, 30, false);
    EXPECT_EQ(Model().SelectedCount(), 2u);
    pointer.Press(250, 250, false);
    EXPECT_EQ(Model().SelectedCount(), 0u);
}

TEST_F(CellDesignEditing, SingleDragClampsButGroupDragStops)
{
    Place(u"R3528", 100, 100); // 89 x 51
    Place(u"G2020", 10, 10);   // 51 x 51
    CellPointer& pointer = presenter->Pointer();
    pointer.Press(110, 110, false);
    EXPECT_TRUE(pointer.Drag(250, 110));
    EXPECT_EQ(Cell()[0].x, 256 - 89);
    EXPECT_FALSE(pointer.Drag(250, -1)); // off the canvas: ignored
    EXPECT_EQ(Cell()[0].y, 100);
    EXPECT_TRUE(pointer.Drag(0, 0));
    EXPECT_EQ(Cell()[0].x, 0);
    EXPECT_EQ(Cell()[0].y, 0);

    Cell()[0].x = 100;
    Cell()[0].y = 100;
    Select({0, 1});
    pointer.Press(20, 20, false);
    EXPECT_TRUE(pointer.PressOnSelection());
    EXPECT_TRUE(pointer.Drag(25, 22));
    EXPECT_EQ(Cell()[0].x, 105);
    EXPECT_EQ(Cell()[1].y, 12);
    // The red one would leave the right edge: nothing moves, and the step is measured from the
    // last accepted position.
    EXPECT_FALSE(pointer.Drag(200, 22));
    EXPECT_EQ(Cell()[0].x, 105);
    EXPECT_EQ(Cell()[1].x, 15);
    EXPECT_TRUE(pointer.Drag(26, 22));
    EXPECT_EQ(Cell()[1].x, 16);
    // The group moved, so the release keeps both selected.
    pointer.Release(26, 22);
    EXPECT_EQ(Model().SelectedCount(), 2u);
}

TEST_F(CellDesignEditing, ReleaseWithoutMoveSelectsTheLedUnderThePointer)
{
    Place(u"R3528", 100, 100);
    Place(u"G2020", 10, 10);
    Select({0, 1});
    presenter->Pointer().Press(20, 20, false);
    EXPECT_EQ(Model().SelectedCount(), 2u);
    presenter->Pointer().Release(20, 20);
    EXPECT_EQ(Cell()[0].selected, 0);
    EXPECT_EQ(Cell()[1].selected, 1);
    const CellInfoTexts info = presenter->Info();
    EXPECT_EQ(info.total, u"2");
    EXPECT_EQ(info.size, u"2.0 * 2.0 (mm)");
    EXPECT_EQ(info.pixels, u"51 * 51 (pix)");
    EXPECT_EQ(info.position, u"(10 , 10)");
}

TEST_F(CellDesignEditing, ArrowKeysMoveTheSelectionAsAWhole)
{
    Place(u"R3528", 1, 0);
    Place(u"G2020", 205, 50);
    Select({0, 1});
    EXPECT_FALSE(Model().Move(CellMove::Up)); // the red one is at the top
    EXPECT_TRUE(Model().Move(CellMove::Left));
    EXPECT_FALSE(Model().Move(CellMove::Left));
    EXPECT_EQ(Cell()[1].x, 204);
    EXPECT_TRUE(Model().Move(CellMove::Right));
    EXPECT_FALSE(Model().Move(CellMove::Right)); // 205 + 51 reaches 256
    EXPECT_TRUE(Model().Move(CellMove::Down));
    EXPECT_EQ(Cell()[0].y, 1);
    Model().DeselectAll();
    EXPECT_FALSE(Model().Move(CellMove::Down));
    EXPECT_EQ(Model().CurrentSlot(), 1);
}

TEST_F(CellDesignEditing, ConfirmKeepsOnlyUsedPicturesRenumbered)
{
    EXPECT_FALSE(presenter->Confirm());
    EXPECT_EQ(prompter.Last(), "Invalid The first of Cell.");

    Place(u"R3528", 0, 0);  // image 0
    Place(u"G3528", 0, 60); // image 1, deleted below
    Place(u"B3528", 0, 120);
    Place(u"R3528", 90, 0); // shares image 0
    Select({1});
    EXPECT_TRUE(presenter->Delete());
    ASSERT_EQ(Model().Images().size(), 3u); // deleting keeps the picture until confirm
    EXPECT_TRUE(presenter->Confirm());
    ASSERT_EQ(Model().Images().size(), 2u);
    EXPECT_EQ(Model().Images()[0].name, u"R3528");
    EXPECT_EQ(Model().Images()[1].name, u"B3528");
    EXPECT_EQ(Model().Images()[1].id, 1);
    std::vector<int> ids, indices;
    for (const CellLed& led : Cell()) {
        ids.push_back(led.imageId);
        indices.push_back(led.index);
    }
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 2}));
}

TEST_F(CellDesignEditing, PasteAfterConfirmFindsItsPicturesAgain)
{
    Place(u"G3528", 0, 0);
    Place(u"R3528", 0, 60);
    presenter->Copy();
    Select({0});
    presenter->Delete();
    presenter->Confirm(); // drops the green picture, red becomes id 0
    presenter->Paste();
    ASSERT_EQ(Cell().size(), 2u);
    for (const CellLed& led : Cell()) {
        const LightImage* image = Model().FindImage(led.name);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(led.imageId, image->id);
    }
}

TEST_F(CellDesignEditing, ExitForgetsEverythingAndReopensAtTenMillimetres)
{
    chooser.chosen = m_root / "Lightlibrary" / "B3528";
    EXPECT_TRUE(presenter->ChooseBackground());
    EXPECT_EQ(Model().Background().name, u"B3528");
    presenter->EditCellSize(u"20");
    Place(u"R3528", 5, 5);
    presenter->Exit();
    presenter->Open();
    EXPECT_TRUE(Cell().empty());
    EXPECT_TRUE(Model().Images().empty());
    EXPECT_EQ(Model().TotalLeds(), 0u);
    EXPECT_EQ(presenter->CellSizeText(), u"10.0");
    EXPECT_EQ(Model().Background().name, u"moduledesign_bkground.bmp");
    EXPECT_EQ(Model().Background().id, 65535);
    EXPECT_EQ(presenter->Model().PixelCount(), 0);
}

TEST_F(CellDesignEditing, UnreadableBackgroundKeepsTheOldOne)
{
    const LightImage before = Model().Background();
    chooser.chosen = m_root / "missing.bmp";
    EXPECT_FALSE(presenter->ChooseBackground());
    EXPECT_EQ(prompter.Last(), "open failed");
    WriteFile(m_root / "text.bmp", "not a picture");
    chooser.chosen = m_root / "text.bmp";
    EXPECT_FALSE(presenter->ChooseBackground());
    EXPECT_EQ(Model().Background(), before);
    EXPECT_EQ(chooser.requests.back().filter, u"Image Files (*.bmp)|*.bmp|");
}

TEST_F(CellDesignEditing, LightListsAndSizeLinesComeFromTheLibrary)
{
    const auto names = presenter->LightNames();
    EXPECT_EQ(names[0], (std::vector<std::u16string>{u"R3528", u"R5050"}));
    EXPECT_EQ(names[2], (std::vector<std::u16string>{u"B3528"}));
    texts.texts["ID_LIGHT_SIZE_INFO"] = u"Size %.1fmm x %.2fmm %d%%";
    EXPECT_EQ(presenter->SizeLine(0, u"R5050"), u"Size 5.0mm x 5.00mm %d%");
    EXPECT_FALSE(presenter->SizeLine(1, u"R5050"));
    const int before = lightLookups;
    presenter->LightNames();
    EXPECT_EQ(lightLookups, before + 1); // looked up anew each time
}

TEST_F(CellDesignEditing, InfoToggleReachesEveryLedAndNewOnes)
{
    Place(u"R3528", 0, 0);
    presenter->ToggleInfo();
    EXPECT_EQ(Cell()[0].showInfo, 1);
    Place(u"G3528", 0, 60);
    EXPECT_EQ(Cell()[1].showInfo, 1);
    texts.texts["ID_HIDE_LIGHT_INFO"] = u"Hide";
    EXPECT_EQ(presenter->InfoButtonText(), u"Hide");
    presenter->ToggleInfo();
    EXPECT_EQ(Cell()[1].showInfo, 0);
}

} // namespace
} // namespace md::test
