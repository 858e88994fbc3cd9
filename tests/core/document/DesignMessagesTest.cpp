// What the panel answers to the wizard and to outside components: the hand-over, the cut to a
// module range, and the driver and block file requests.
#include "DesignCycleFixture.h"

#include "core/wizard/RangeSelection.h"
#include "md/DesignRequests.h"

namespace md::test {
namespace {

using DesignMessagesTest = DesignCycleFixture;

/// The traced positions of a layout result, entry by entry and row by row.
std::vector<std::vector<std::pair<int, int>>> Positions(const std::vector<ChannelRow>& result)
{
    std::vector<std::vector<std::pair<int, int>>> rows;
    for (const ChannelRow& entry : result)
        for (const ScanRow& row : entry.rows) {
            rows.emplace_back();
            for (const TracedPoint& point : row.points)
                rows.back().emplace_back(point.IsVirtual() ? -1 : point.x, point.y);
        }
    return rows;
}

DriverFileRequest Request(const std::filesystem::path& path)
{
    DriverFileRequest request{};
    const std::u16string text = path.u16string();
    std::copy(text.begin(), text.end(), request.path);
    return request;
}

TEST_F(DesignMessagesTest, HandOverWritesBothTemporaryFilesOrFailsCleanly)
{
    EXPECT_EQ(panel->OnNotify(18, 0, 0), -1); // no record
    ASSERT_EQ(HandOver(Record(16, 8, 4, 2)), 0);
    EXPECT_EQ(view.shown, "layout");
    EXPECT_EQ(panel->DesignState(), DesignPanelPresenter::kNewSetUp);
    EXPECT_TRUE(panel->IsDesignOpen());
    // The module information comes from the record's first four numbers.
    EXPECT_EQ(document->ModuleInfo().pinCount, ModuleRecord::kKind);
    EXPECT_EQ(document->ModuleInfo().scanRows, 4);
    EXPECT_EQ(document->Socket().PinCount(), ModuleRecord::kKind);
    EXPECT_EQ(document->Setup().rowLength, 16);
    EXPECT_EQ(document->Setup().dataGroups, 2);

    const auto temp = m_root / "temp";
    const auto socket = fileio::ReadAll(temp / "zt5Module.mjk");
    ASSERT_TRUE(socket.has_value());
    EXPECT_EQ(std::string(socket->begin(), socket->begin() + 4), ".MJK");
    const DriverFileContents driver = ReadBack(temp / "zt5Module.MDR");
    EXPECT_EQ(driver.moduleInfo.xPixels, 16);
    EXPECT_EQ(driver.moduleInfo.yPixels, 8);
    EXPECT_FALSE(driver.layout.layoutPresent);
    EXPECT_TRUE(driver.layout.points.empty());
    EXPECT_EQ(driver.version.major, 1u);

    // A temp folder that cannot be made: -1, and the wizard gives up.
    std::filesystem::remove_all(temp);
    Write("temp", "a file where the folder should be");
    EXPECT_EQ(HandOver(Record()), -1);
}

TEST_F(DesignMessagesTest, ModuleRangeCutsTheTemporaryDriverFile)
{
    TracedDesign();
    ModuleRange range;
    range.x = 2;
    range.y = 1;
    range.width = 12;
    range.height = 6;
    for (std::uint16_t x = 2; x < 14; ++x)
        for (std::uint16_t y = 1; y < 7; ++y)
            range.cells.emplace_back(x, y);
    range.bandKind = ModuleRange::kRows;
    range.bandStart = 4;
    range.bandCount = 1;
    EXPECT_EQ(panel->OnNotify(33, 0, 0), 0); // no range: nothing to do
    ASSERT_EQ(panel->OnNotify(33, 0, reinterpret_cast<std::intptr_t>(&range)), 0);

    const DriverFileContents cut = ReadBack(m_root / "temp" / "zt5Module.MDR");
    EXPECT_EQ(cut.moduleInfo.xPixels, 12);
    EXPECT_EQ(cut.moduleInfo.yPixels, 6);
    ASSERT_FALSE(cut.layout.result.empty());
    // Traced (2, 0) lies outside the range: virtual. (2..13, 1) moved by the origin; rows at
    // or below the band's start close the one-row gap.
    const auto& firstRow = cut.layout.result[0].rows[0].points;
    EXPECT_TRUE(firstRow[2].IsVirtual());
    const auto& secondRow = cut.layout.result[0].rows[1].points;
    EXPECT_EQ(secondRow[3].x, 1);
    EXPECT_EQ(secondRow[3].y, 0);
    const auto& fifthRow = cut.layout.result[1].rows[1].points; // group 2, pixel row 5
    EXPECT_EQ(fifthRow[4].y, 3);
    // The open design is not cut.
    EXPECT_EQ(document->ModuleInfo().xPixels, 16);
    EXPECT_EQ(document->Tracer()->Result()[0].rows[1].points[3].x, 3);
}

TEST_F(DesignMessagesTest, DriverFileRequestsWriteAndReadThroughTheSdkRecords)
{
    TracedDesign();
    EXPECT_EQ(panel->OnNotify(145, 0, 0), -1);
    const DriverFileRequest write = Request(m_root / "out.MDR");
    ASSERT_EQ(panel->OnNotify(145, 0, reinterpret_cast<std::intptr_t>(&write)), 0);
    EXPECT_EQ(document->FilePath(), m_root / "out.MDR");
    EXPECT_EQ(panel->DocumentName(), u"out.MDR");

    // A fresh plug-in opens it without a wizard run: parameters from the file.
    ModuleDesignDocument fresh{ProgramFolder(m_root)};
    LayoutStepPresenter freshStep(
        fresh,
        LayoutStepPorts{
            prompter, texts, chooser, DesignFilePorts{codePage, codec, guids, clock, version}, {}});
    RecordingPanelView freshView;
    DesignPanelPresenter freshPanel(
        fresh, freshStep, freshView,
        DesignPanelPorts{prompter, texts, chooser, codePage, version, {}});
    const DriverFileRequest read = Request(m_root / "out.MDR");
    ASSERT_EQ(freshPanel.OnNotify(146, 0, reinterpret_cast<std::intptr_t>(&read)), 0);
    EXPECT_EQ(fresh.Setup().width, 16);
    EXPECT_EQ(fresh.Setup().scanRows, 4);
    ASSERT_NE(fresh.Tracer(), nullptr);
    EXPECT_EQ(Positions(fresh.Tracer()->Result()), Positions(document->Tracer()->Result()));
    EXPECT_TRUE(fresh.Socket().IsValid());
    EXPECT_EQ(fresh.Layout().Width(), 16u);
    EXPECT_EQ(freshPanel.DesignState(), DesignPanelPresenter::kOpened);
    // Saved again unchanged, the layout section is the same.
    ASSERT_EQ(freshStep.SaveTo(m_root / "again.MDR"), LayoutStepPresenter::kSaved);
    EXPECT_EQ(ReadBack(m_root / "again.MDR").layout, ReadBack(m_root / "out.MDR").layout);
}

TEST_F(DesignMessagesTest, BlockFilesAreNamedByTickAndBlockAndRemapped)
{
    EXPECT_EQ(LayoutStepPresenter::BlockFileName("/m/A.MDR", 5000, 2), "/m/A_5000_2.BDT");
    TracedDesign();
    // The block is the right half of the module, moved to the origin.
    std::vector<BlockKeyPair> forward, backward;
    for (std::uint32_t x = 8; x < 16; ++x)
        for (std::uint32_t y = 0; y < 8; ++y) {
            forward.push_back({x | (y << 16), (x - 8) | (y << 16)});
            backward.push_back({(x - 8) | (y << 16), x | (y << 16)});
        }
    const BlockDescription block{2,
                                 8,
                                 8,
                                 static_cast<std::uint32_t>(forward.size()),
                                 forward.data(),
                                 static_cast<std::uint32_t>(backward.size()),
                                 backward.data()};
    // Without a driver file there is nothing to cut from.
    EXPECT_EQ(panel->OnNotify(147, 0, reinterpret_cast<std::intptr_t>(&block)), -1);
    ASSERT_EQ(SaveAs("A.MDR"), LayoutStepPresenter::kSaved);
    ASSERT_EQ(panel->OnNotify(147, 0, reinterpret_cast<std::intptr_t>(&block)), 0);
    const auto name = m_root / "ModLib" / "A_5000_2.BDT";
    const DriverFileContents first = ReadBack(name);
    EXPECT_EQ(first.moduleInfo.xPixels, 8);
    EXPECT_EQ(first.layout.points.size(), 64u);
    const auto& row = first.layout.result[0].rows[0].points;
    EXPECT_TRUE(row[0].IsVirtual()); // (0, 0) is not in the block
    EXPECT_EQ(row[9].x, 1);          // (9, 0) moved to (1, 0)

    // The same millisecond and block: the same name, the later file replaces the earlier.
    std::filesystem::resize_file(name, 10);
    ASSERT_EQ(panel->OnNotify(147, 0, reinterpret_cast<std::intptr_t>(&block)), 0);
    EXPECT_GT(std::filesystem::file_size(name), 10u);
    clock.tick = 5001;
    ASSERT_EQ(panel->OnNotify(147, 0, reinterpret_cast<std::intptr_t>(&block)), 0);
    EXPECT_TRUE(std::filesystem::exists(m_root / "ModLib" / "A_5001_2.BDT"));
}

} // namespace
} // namespace md::test
