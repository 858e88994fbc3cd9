#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(ByteArchiveTest, WriterAndReaderAgreeOnLittleEndianLayout)
{
    ByteWriter writer;
    writer.U8(0x01);
    writer.U16(0x0302);
    writer.U32(0x07060504);
    writer.U64(0x0F0E0D0C0B0A0908ull);
    writer.I32(-2);
    writer.Ascii("AB");
    const std::vector<std::uint8_t> expected = {1,  2,  3,  4,  5,    6,    7,    8,    9,   10, 11,
                                                12, 13, 14, 15, 0xFE, 0xFF, 0xFF, 0xFF, 'A', 'B'};
    ASSERT_EQ(writer.Data(), expected);

    ByteReader reader(writer.Data());
    std::uint8_t a = 0;
    std::uint16_t b = 0;
    std::uint32_t c = 0;
    std::uint64_t d = 0;
    std::int32_t e = 0;
    EXPECT_TRUE(reader.U8(a) && reader.U16(b) && reader.U32(c) && reader.U64(d) && reader.I32(e));
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0x0302);
    EXPECT_EQ(c, 0x07060504u);
    EXPECT_EQ(d, 0x0F0E0D0C0B0A0908ull);
    EXPECT_EQ(e, -2);
    EXPECT_FALSE(reader.Expect("AC"));
    EXPECT_TRUE(reader.Expect("AB"));
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ByteArchiveTest, ShortReadFailsAndStaysFailed)
{
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    ByteReader reader(bytes);
    std::uint32_t word = 0xAAAA;
    EXPECT_FALSE(reader.U32(word));
    EXPECT_EQ(word, 0xAAAAu); // untouched
    EXPECT_FALSE(reader.Ok());
    std::uint8_t byte = 0;
    EXPECT_FALSE(reader.U8(byte)); // a failed reader reads nothing more
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ByteArchiveTest, HugeCountsFromAFileAreRefusedBeforeAllocating)
{
    ByteWriter writer;
    writer.U32(0xFFFFFFFFu); // a hostile length
    writer.U16(7);
    ByteReader reader(writer.Data());
    std::uint32_t length = 0;
    ASSERT_TRUE(reader.U32(length));
    EXPECT_FALSE(reader.CanHold(length, 1));
    EXPECT_TRUE(reader.CanHold(1, 2));
    EXPECT_FALSE(reader.CanHold(2, 2));
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(reader.Bytes(length, out));
    EXPECT_TRUE(out.empty());
}

TEST(ByteArchiveTest, PatchRewritesAnEarlierValue)
{
    ByteWriter writer;
    writer.U64(0);
    writer.U32(0);
    writer.PatchU64(0, 0x1122334455667788ull);
    writer.PatchU32(8, 0xA1B2C3D4u);
    EXPECT_EQ(writer.Data()[0], 0x88);
    EXPECT_EQ(writer.Data()[7], 0x11);
    EXPECT_EQ(writer.Data()[8], 0xD4);
    EXPECT_THROW(writer.PatchU64(8, 1), std::out_of_range);
}

TEST(ByteArchiveTest, AWriterKeepsEveryByteAcrossGrowthTrimsAndTruncation)
{
    // Room is made a step ahead and trimmed by Data(); writes after a Data() must go on at the
    // right place, also past a reservation and across many growth steps.
    ByteWriter writer;
    writer.Reserve(100);
    std::vector<std::uint8_t> expected;
    for (std::uint32_t i = 0; i < 70000; ++i) {
        writer.U16(static_cast<std::uint16_t>(i));
        expected.push_back(static_cast<std::uint8_t>(i));
        expected.push_back(static_cast<std::uint8_t>(i >> 8));
        if (i == 10 || i == 40000) {
            EXPECT_EQ(writer.Data().size(), expected.size());
        }
    }
    std::uint8_t* record = writer.Extend(3);
    record[0] = 1, record[1] = 2, record[2] = 3;
    expected.insert(expected.end(), {1, 2, 3});
    EXPECT_EQ(writer.Data(), expected);
    writer.Truncate(5);
    writer.U8(9);
    EXPECT_EQ(writer.Take(), (std::vector<std::uint8_t>{0, 0, 1, 0, 2, 9}));
}

} // namespace
} // namespace md
