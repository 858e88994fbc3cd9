#include "core/driverfile/OutputMap.h"
#include "core/driverfile/DemoDesign.h"
#include "core/driverfile/ModuleRenderer.h"
#include "core/io/BmpDecoder.h"
#include "core/io/ByteWriter.h"
#include "core/io/PngDecoder.h"
#include "core/io/PngWriter.h"

#include <gtest/gtest.h>

namespace md {
namespace {

/// A 3 x 2 RGB module of two data groups (one pixel row each), one scan row; each group's
/// chain runs right to left and ends in a virtual point.
DriverFileContents RgbModule()
{
    DriverFileContents file;
    file.moduleInfo.xPixels = 3;
    file.moduleInfo.yPixels = 2;
    for (std::uint16_t group = 0; group < 2; ++group)
        for (std::uint16_t colour = 0; colour < 3; ++colour) {
            ChannelRow entry;
            entry.rowLength = 3;
            entry.index = static_cast<std::uint16_t>(group * 3 + colour);
            ScanRow row;
            row.points = {{2, group, colour}, {1, group, colour}, {0, 0, 4}};
            entry.rows.push_back(row);
            file.layout.result.push_back(entry);
        }
    return file;
}

TEST(OutputMap, DeducesGroupsAndChannelsAndWireIndices)
{
    const OutputMap map(RgbModule());
    ASSERT_EQ(map.Records().size(), 18u);
    const auto& r = map.Records()[13]; // group 1, channel 1, second point
    EXPECT_EQ((std::array{r.group, r.channel, r.scanRow, r.position, r.x, r.y, r.kind}),
              (std::array{1, 1, 0, 2, 1, 1, 1}));
    EXPECT_EQ(OutputMap::WireIndex(r), 4);
    EXPECT_EQ(map.Csv().substr(0, 54), "group,channel,scanRow,position,x,y,kind\n0,0,0,1,2,0,0\n");
    EXPECT_EQ(map.Wled(), "{\"map\":[-1,1,0,-1,4,3],\"width\":3,\"height\":2}\n");
    EXPECT_NE(
        map.XLights("a&b").find(
            R"(<custommodel name="a&amp;b" parm1="3" parm2="2" Depth="1" CustomModel=",2,1;,5,4"/>)"),
        std::string::npos);
    EXPECT_EQ(map.Json().substr(0, 71),
              R"([{"group":0,"channel":0,"scanRow":0,"position":1,"x":2,"y":0,"kind":0},)");
}

TEST(OutputMap, ScanRowsInterleaveOnTheWire)
{
    DemoDesign::Options options;
    options.width = 4;
    options.height = 8;
    options.groups = 2;
    options.scanRows = 2;
    const auto design = DemoDesign::Build(options);
    ASSERT_TRUE(design);
    const OutputMap map(*design);
    // Group 1 starts at y = 4; its scan row 1 holds lines 5 and 7, the second one reversed.
    for (const auto& r : map.Records())
        if (r.group == 1 && r.scanRow == 1 && r.position == 5) {
            EXPECT_EQ(r.x, 3);
            EXPECT_EQ(r.y, 7);
            EXPECT_EQ(OutputMap::WireIndex(r), (1 * 2 + 1) * 8 + 4);
        }
    EXPECT_FALSE(DemoDesign::Build({4, 8, 3, 2, 1, {}}));
}

TEST(OutputMap, RefusesPixelMapsOfHugeClaimedModules)
{
    DriverFileContents file = RgbModule();
    file.moduleInfo.xPixels = 65535;
    file.moduleInfo.yPixels = 65535;
    const OutputMap map(file);
    EXPECT_TRUE(map.TooLarge());
    EXPECT_TRUE(map.Wled().empty());
    EXPECT_EQ(ModuleRenderer::Render(file, 16).Width(), 0);
    EXPECT_EQ(map.Records().size(), 18u); // the records themselves are still listed
}

TEST(ModuleRenderer, DrawsChainStartsAndEncodesAValidPng)
{
    const auto image = ModuleRenderer::Render(RgbModule(), 10);
    EXPECT_EQ(image.Width(), 3 * 10 + 2 * ModuleRenderer::kMargin);
    // The start marker of group 1 sits in the centre of pixel (2, 1).
    const int cx = ModuleRenderer::kMargin + 25, cy = ModuleRenderer::kMargin + 15;
    EXPECT_EQ(image.Pixel(cx, cy), ModuleRenderer::ChainColour(1));

    const auto png = PngWriter::Encode(image);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png[1], 'P');
    const auto decoded = PngDecoder::Decode(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Bytes(), image.Bytes()) << "the render reads back pixel for pixel";
}

TEST(BmpDecoder, ReadsBottomUpRowsAndRefusesOthers)
{
    ByteWriter bmp;
    bmp.U8('B');
    bmp.U8('M');
    bmp.U32(54 + 16);
    bmp.U32(0);
    bmp.U32(54);
    bmp.U32(40);
    bmp.I32(2);
    bmp.I32(2);
    bmp.U16(1);
    bmp.U16(24);
    for (int i = 0; i < 6; ++i)
        bmp.U32(0);
    // Bottom row first: blue, green; then the top row: red, white. Rows pad to 8 bytes.
    for (std::uint8_t b : {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0})
        bmp.U8(b);
    const auto image = BmpDecoder::Decode(bmp.Data());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(image->Pixel(1, 0), 0xFFFFFFu);
    EXPECT_EQ(image->Pixel(0, 1), 0x0000FFu);
    auto cut = bmp.Data();
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(BmpDecoder::Decode(cut));
}

} // namespace
} // namespace md
