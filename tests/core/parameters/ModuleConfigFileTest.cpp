#include "TempProgramFolder.h"

#include "core/parameters/ModuleConfigFile.h"

namespace md {
namespace {

class ModuleConfigFileTest : public test::TempProgramFolder
{
protected:
    ModuleConfigFile::ListSizes Lists() const
    {
        ModuleConfigFile::ListSizes lists;
        lists.scanChips = 4;
        lists.driverChips = 6;
        return lists;
    }
    std::string Stored(const std::string& elements)
    {
        return "<module_ele>" + elements + "</module_ele>";
    }
};

TEST_F(ModuleConfigFileTest, WritesEveryValueInOrderAndReadsItBack)
{
    ModuleParameters written;
    written.moduleType = ModuleType::Virtual;
    written.virtualMode = 4;
    written.colourSwap = true;
    written.xPoints = 64;
    written.yPoints = 64;
    written.dataGroups = 8;
    written.scanChip = 3;
    written.multiClock = 2;
    written.splitMode = 1;
    written.oneGroupCut = true;
    written.driverChip = 5;
    written.polarity = 1;
    written.discharge = 4;
    const ModuleConfigFile file(m_root);
    ASSERT_EQ(file.Write(written), 0); // 4096 points, creating the temp folder
    EXPECT_EQ(Read("temp/module_config.xml"),
              "<module_ele>\n<module_style ver=\"1\" val=\"3\"/>\n"
              "<module_layout ver=\"1\" val=\"4\"/>\n<module_color_reverse ver=\"1\" val=\"1\"/>\n"
              "<module_x ver=\"1\" val=\"64\"/>\n<module_y ver=\"1\" val=\"64\"/>\n"
              "<module_data_count ver=\"1\" val=\"8\"/>\n<module_scan_ic ver=\"1\" val=\"3\"/>\n"
              "<module_insert_mode ver=\"1\" val=\"2\"/>\n<module_cut_mode ver=\"1\" val=\"1\"/>\n"
              "<module_one_group ver=\"1\" val=\"1\"/>\n<module_driver_ic ver=\"1\" val=\"5\"/>\n"
              "<module_polarity ver=\"1\" val=\"1\"/>\n"
              "<module_discharge_setting ver=\"1\" val=\"4\"/>\n</module_ele>");
    ModuleParameters read;
    ASSERT_TRUE(file.Read(read, Lists()));
    EXPECT_EQ(read, written);
}

TEST_F(ModuleConfigFileTest, RefusesSizesOutOfRangeAndKeepsTheOldFile)
{
    const ModuleConfigFile file(m_root);
    ModuleParameters parameters;
    ASSERT_EQ(file.Write(parameters), 0);
    const std::string before = Read("temp/module_config.xml");
    for (auto [x, y] : {std::pair{65u, 64u}, {257u, 1u}, {1u, 257u}, {0u, 16u}, {16u, 0u}}) {
        parameters.xPoints = x;
        parameters.yPoints = y;
        parameters.dataGroups = 9;
        EXPECT_EQ(file.Write(parameters), -1) << x << " x " << y;
    }
    EXPECT_EQ(Read("temp/module_config.xml"), before);

    // A file in the place of the temp folder.
    const ModuleConfigFile blocked(m_root);
    parameters.xPoints = parameters.yPoints = 16;
    std::filesystem::remove_all(m_root / "temp");
    Write("temp", "not a folder");
    EXPECT_EQ(blocked.Write(parameters), -1);
}

TEST_F(ModuleConfigFileTest, ReadingSearchesForwardAndChecksValues)
{
    const ModuleConfigFile file(m_root);
    // module_x stands before module_style, so it is not found once module_style was.
    Write("temp/module_config.xml",
          Stored("<module_x val=\"40\"/>\n<module_style val=\"7\"/><module_y ver=\"9\" val=\"24\"/>"
                 "<module_scan_ic val=\"4\"/><module_insert_mode val=\"3\"/>"
                 "<module_driver_ic val=\"-1\"/><module_polarity val=\"1\"/>"));
    ModuleParameters read;
    ASSERT_TRUE(file.Read(read, Lists()));
    ModuleParameters expected;
    expected.yPoints = 24;
    expected.scanChip = -1; // beyond the list: nothing selected
    expected.multiClock = 3;
    expected.driverChip = -1;
    expected.polarity = 1;
    EXPECT_EQ(read, expected); // style 7 ignored, module_x missed

    Write("temp/module_config.xml", Stored("<module_style val=\"2\"/>"));
    ASSERT_TRUE(file.Read(read, Lists()));
    EXPECT_EQ(read.moduleType, ModuleType::DoubleColour);

    // A malformed or missing file changes nothing.
    Write("temp/module_config.xml", "<module_ele><module_x val=\"99\"/>");
    ModuleParameters untouched;
    EXPECT_FALSE(file.Read(untouched, Lists()));
    std::filesystem::remove(m_root / "temp/module_config.xml");
    EXPECT_FALSE(file.Read(untouched, Lists()));
    EXPECT_EQ(untouched, ModuleParameters{});
}

} // namespace
} // namespace md
