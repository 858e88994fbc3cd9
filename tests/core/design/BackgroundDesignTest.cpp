#include "../driverfile/KnownDesign.h"

#include "core/design/BackgroundDesign.h"
#include "core/driverfile/BackgroundSection.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/posix/CodePage.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(BackgroundDesign, SetUpPlacesMarkersAndLoadsTheDefaultPicture)
{
    const auto folder = test::TempFolder("background");
    test::WriteFile(folder / "module_bkground.png", "PIC-default");
    test::PrefixCodec codec;
    BackgroundDesign design;
    design.SetUp(32, 16, folder, &codec);
    EXPECT_EQ(design.Point1(), (BackgroundDesign::Point{4, 32}));
    EXPECT_EQ(design.Point2(), (BackgroundDesign::Point{124, 32}));
    EXPECT_EQ(design.Picture().name, u"module_bkground.png");
    EXPECT_EQ(design.Picture().Length(), 11u);

    // A picture already loaded is kept by a later set-up.
    design.SetPicture(LightImage{0, 0, {'P', 'I', 'C'}, u"own"});
    design.SetUp(8, 8, folder, &codec);
    EXPECT_EQ(design.Picture().name, u"own");

    BackgroundDesign missing;
    missing.SetUp(8, 8, folder / "nothing", &codec);
    EXPECT_EQ(missing.Picture().Length(), 0u);
    std::filesystem::remove_all(folder);
}

// The first zoom step and a wheel step are checked through the view; here the bounds.
TEST(BackgroundDesign, ZoomStepsBetweenOneAndNineAndTheWheelStaysInRange)
{
    BackgroundDesign design;
    design.SetUp(32, 16, "/nonexistent", nullptr);
    design.SetViewSize(400, 300);
    const int top = design.ScrollY();
    design.Wheel(120);
    EXPECT_EQ(design.ScrollY(), top - 20);
    for (int i = 0; i < 200; ++i)
        design.Wheel(120);
    EXPECT_EQ(design.ScrollY(), 0);

    for (int i = 0; i < 8; ++i)
        design.ZoomOut();
    EXPECT_DOUBLE_EQ(design.Zoom(), 5.0);
    EXPECT_EQ(design.Scale(), 3);
    for (int i = 0; i < 8; ++i)
        design.ZoomOut();
    EXPECT_DOUBLE_EQ(design.Zoom(), 9.0);
    EXPECT_EQ(design.Scale(), 1);
    EXPECT_EQ(design.ZoomOut(), -1);
    EXPECT_EQ(design.ZoomIn(), 0);
    EXPECT_EQ(design.Scale(), 1); // trunc(16 / 8.5)
}

TEST(BackgroundDesign, DraggingMovesWholeUnitsAndClampsToTheModule)
{
    BackgroundDesign design;
    design.SetUp(32, 16, "/nonexistent", nullptr);
    design.SetViewSize(4000, 2000); // the whole module fits: centred
    const int s = design.Scale();
    auto screenOf = [&](BackgroundDesign::Point p) {
        return std::pair{BackgroundDesign::kOrigin + p.x * s - design.ScrollX() + 16 + 2,
                         BackgroundDesign::kOrigin + p.y * s - design.ScrollY() + 16 + 2};
    };
    auto [x, y] = screenOf(design.Point2());
    design.Move(x, y, false);
    EXPECT_TRUE(design.Hover());
    design.Press(x, y);
    EXPECT_EQ(design.Dragged(), 2);
    EXPECT_FALSE(design.Move(x + s - 1, y, true)); // less than one unit
    EXPECT_TRUE(design.Move(x + 3 * s, y - 2 * s, true));
    EXPECT_EQ(design.Point2(), (BackgroundDesign::Point{127, 30}));
    EXPECT_TRUE(design.Move(x + 100 * s, y + 500 * s, true));
    EXPECT_EQ(design.Point2(), (BackgroundDesign::Point{128, 64}));
    design.Release();
    EXPECT_EQ(design.Dragged(), 0);

    auto [x1, y1] = screenOf(design.Point1());
    design.Press(x1 + 20, y1);
    EXPECT_EQ(design.Dragged(), 0); // beside the marker
    design.Move(x1 + 20, y1, false);
    EXPECT_FALSE(design.Hover());
}

TEST(BackgroundSection, ASectionWithoutPictureBytesKeepsItsNameAndBadPicturesFail)
{
    CodePage codePage;
    test::PrefixCodec codec;
    BackgroundDesign source;
    source.SetUp(4, 4, "/nonexistent", nullptr);
    source.SetPicture(LightImage{1, 7, {}, u"背景"});
    BackgroundSection writer(source, codePage, codec);
    ByteWriter out;
    std::string error;
    ASSERT_TRUE(writer.Write(out, error));
    EXPECT_EQ(out.Size(), 36u + 16 + 6 + 4 + 4);

    BackgroundDesign target;
    target.SetPicture(LightImage{0, 0, {'P', 'I', 'C'}, u"old"});
    BackgroundSection reader(target, codePage, codec);
    ByteReader in(out.Data());
    ASSERT_TRUE(reader.Read(in, error)) << error;
    EXPECT_EQ(target.Picture().name, u"背景");
    EXPECT_EQ(target.Picture().used, 1);
    EXPECT_EQ(target.Picture().id, 7);
    EXPECT_TRUE(target.Picture().bytes.empty()) << "no bytes of the other picture under this name";
    EXPECT_EQ(target.Point2(), (BackgroundDesign::Point{12, 8}));
    EXPECT_TRUE(target.Loaded());
    // Written again, the section is the same bytes.
    ByteWriter again;
    ASSERT_TRUE(reader.Write(again, error));
    EXPECT_EQ(again.Data(), out.Data());

    source.SetPicture(LightImage{0, 0, {'B', 'A', 'D'}, u"bad"});
    ByteWriter badOut;
    ASSERT_TRUE(writer.Write(badOut, error));
    ByteReader bad(badOut.Data());
    EXPECT_FALSE(reader.Read(bad, error));
    EXPECT_EQ(error, "picture cannot be decoded");

    // A length beyond the bytes left fails without allocating.
    auto huge = out.Data();
    huge[huge.size() - 1] = 0x7F;
    ByteReader hugeIn(huge);
    EXPECT_FALSE(reader.Read(hugeIn, error));
}

} // namespace
} // namespace md
