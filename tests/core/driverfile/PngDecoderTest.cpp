#include "core/io/PngDecoder.h"
#include "core/io/FileIo.h"
#include "core/io/PngWriter.h"

#include <gtest/gtest.h>

namespace md {
namespace {

// filters.png: 40 x 20 RGB, compressed with dynamic Huffman codes, scan line y filtered with
// filter y % 5; pixel (x, y) is (6x, 12y, 3(x + y)) modulo 256.
TEST(PngDecoder, UndoesEveryFilterOfACompressedPicture)
{
    const auto bytes =
        fileio::ReadAll(std::filesystem::path(MD_TEST_DATA_DIR) / "driverfile" / "filters.png");
    ASSERT_TRUE(bytes);
    const auto image = PngDecoder::Decode(*bytes);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->Width(), 40);
    ASSERT_EQ(image->Height(), 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t expected =
                (((6u * x) % 256) << 16) | (((12u * y) % 256) << 8) | ((3u * (x + y)) % 256);
            ASSERT_EQ(image->Pixel(x, y), expected) << x << "," << y;
        }

    // Damaged or cut data fails instead of decoding garbage.
    for (std::size_t cut = 8; cut < bytes->size() - 12; cut += 7) {
        const std::vector<std::uint8_t> part(bytes->begin(),
                                             bytes->begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(PngDecoder::Decode(part)) << cut;
    }
}

TEST(PngDecoder, WritesCompressedAndRefusesPicturesBeyondItsBound)
{
    // A plain raster compresses to a small fraction of its bytes.
    const RgbaImage plain(256, 256, 0x203040);
    const auto png = PngWriter::Encode(plain);
    EXPECT_LT(png.size(), plain.Bytes().size() / 100);
    EXPECT_EQ(PngDecoder::Decode(png)->Bytes(), plain.Bytes());

    EXPECT_TRUE(PngDecoder::Decode(PngWriter::Encode(RgbaImage(PngDecoder::kMaxSide, 1))));
    EXPECT_FALSE(PngDecoder::Decode(PngWriter::Encode(RgbaImage(PngDecoder::kMaxSide + 1, 1))));
    EXPECT_TRUE(PngWriter::Encode(RgbaImage(0, 0)).empty());
    EXPECT_FALSE(PngDecoder::Decode({}));
}

} // namespace
} // namespace md
