#include "core/wizard/CombinedFile.h"
#include "core/io/ByteReader.h"
#include "core/io/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace md {
namespace {

class CombinedFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("md-combined-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(fileio::WriteAtomic(folder / "zt5Module.MDR", driver));
        ASSERT_TRUE(fileio::WriteAtomic(folder / "zt5HUB.HDR", hub));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    CombinedTrailer Trailer(bool extension) const
    {
        CombinedTrailer t;
        t.withExtension = extension;
        t.xPixels = 64;
        t.yPixels = 32;
        t.driverPolarity = 0x0A;
        t.scanPolarity = 0x0203;
        t.dataGroups = extension ? 1 : 4;
        t.virtualPointPosition = 3;
        t.virtualPointLength = 2;
        t.scanRows = 16;
        t.ledUnit = 32;
        t.rowDischarge = 1;
        t.groupingMode = 4;
        t.dataLineType = 2;
        t.multiClock = 1;
        return t;
    }

    std::filesystem::path folder;
    const std::vector<std::uint8_t> driver = {0xD0, 0xD1, 0xD2};
    const std::vector<std::uint8_t> hub = {0x48, 0x49};
    const CodePage codePage{"CP936"};
};

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

TEST_F(CombinedFileTest, FourGroupsEndWithTheTrailingFieldsAfterTheHubFile)
{
    ASSERT_TRUE(CombinedFile::Combine(folder / "zt5Module.MDR", folder / "zt5HUB.HDR",
                                      folder / "zt5ModuleHUB.MHR", Trailer(false), codePage));
    const auto bytes = fileio::ReadAll(folder / "zt5ModuleHUB.MHR");
    ASSERT_TRUE(bytes);
    std::vector<std::uint8_t> expected = {'.', 'M', 'H', 'R', 9, 0};
    for (char c : std::string("zt5Module"))
        expected.push_back(static_cast<std::uint8_t>(c));
    for (int v : {3, 0, 0, 0, 0xD0, 0xD1, 0xD2, 6, 0})
        expected.push_back(static_cast<std::uint8_t>(v));
    for (char c : std::string("zt5HUB"))
        expected.push_back(static_cast<std::uint8_t>(c));
    for (int v : {2, 0, 0, 0, 0x48, 0x49})
        expected.push_back(static_cast<std::uint8_t>(v));
    const auto tail = Bytes({1, 0, 4, 0, 2, 0, 1, 0, 0, 0});
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(*bytes, expected);
}

TEST_F(CombinedFileTest, OneGroupCarriesTheExtensionBlockAndModuleValues)
{
    const auto bytes = CombinedFile::Build(folder / "zt5Module.MDR", driver, folder / "zt5HUB.HDR",
                                           hub, Trailer(true), codePage);
    const std::size_t filesEnd = 4 + 2 + 9 + 4 + 3 + 2 + 6 + 4 + 2;
    ASSERT_EQ(bytes.size(), filesEnd + 64 + 7 * 4 + 2 * 2 + 10);
    const std::string id(bytes.begin() + filesEnd, bytes.begin() + filesEnd + 38);
    EXPECT_EQ(id, "{9FA4F71D-2A02-4d66-88BB-2043A1B361A6}");
    for (std::size_t i = filesEnd + 38; i < filesEnd + 64; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    ByteReader reader(bytes);
    ASSERT_TRUE(reader.Seek(filesEnd + 64));
    // x, y, driver and scan polarity, groups, virtual point position and length; rows, unit.
    std::vector<std::uint32_t> words(7);
    for (std::uint32_t& word : words)
        ASSERT_TRUE(reader.U32(word));
    EXPECT_EQ(words, (std::vector<std::uint32_t>{64, 32, 0x0A, 0x0203, 1, 3, 2}));
    std::uint16_t rows = 0, unit = 0;
    ASSERT_TRUE(reader.U16(rows) && reader.U16(unit));
    EXPECT_EQ(rows, 16);
    EXPECT_EQ(unit, 32);
    EXPECT_EQ(reader.Remaining(), 10u);
}

TEST(CombinedFileNameTest, NamesDropFolderAndFourCharacterExtension)
{
    EXPECT_EQ(CombinedFile::StoredName("/a/b/module.MDR"), u"module");
    EXPECT_EQ(CombinedFile::StoredName("/a/b/x.HD"), u"");
    EXPECT_EQ(CombinedFile::StoredName("/a/模组.MDR"), u"模组");
}

} // namespace
} // namespace md
