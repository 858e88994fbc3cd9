// The recovery record of unsaved work: when it is written and removed, and that a half-traced
// layout read back from it and replayed stands exactly where it stood.
#include "DesignCycleFixture.h"

#include "core/document/DesignFingerprint.h"
#include "core/document/DesignRecovery.h"
#include "core/driverfile/DriverFile.h"
#include "core/layout/LayoutCommands.h"

namespace md::test {
namespace {

class DesignRecoveryTest : public DesignCycleFixture
{
protected:
    DesignFilePorts Files() { return {codePage, codec, guids, clock, version}; }
    std::filesystem::path Folder() const { return DesignRecovery::FolderOf(ProgramFolder(m_root)); }
    void Begin()
    {
        recovery = std::make_unique<DesignRecovery>(*document, Files(), clock);
        ASSERT_EQ(HandOver(Record()), 0);
        CompleteSocket();
        ASSERT_TRUE(step->NewLayout());
        document->Tracer()->Create();
    }
    /// What a run killed now leaves behind: the record as last written.
    void Kill()
    {
        std::filesystem::remove_all(Kept());
        std::filesystem::copy(Folder(), Kept());
    }
    std::filesystem::path Kept() const { return m_root / "kept-record"; }
    /// The design as a fresh run brings it back from the record the killed run left.
    void Restore()
    {
        recovery.reset();
        std::filesystem::remove_all(Folder());
        std::filesystem::rename(Kept(), Folder());
        const auto found = DesignRecovery::Find(ProgramFolder(m_root));
        ASSERT_TRUE(found.has_value());
        original = found->original;
        MakeDocument();
        recovery = std::make_unique<DesignRecovery>(*document, Files(), clock);
        ASSERT_EQ(step->Open(found->driverFile), LayoutStepPresenter::kOpened);
        ASSERT_TRUE(DesignRecovery::Restore(*document, *found));
    }
    /// Traces the rest of the top row, finishes and writes the driver file.
    std::vector<std::uint8_t> FinishedBytes(const std::string& name)
    {
        PointTracer& tracer = *document->Tracer();
        for (int x = 0; x < 16; ++x)
            tracer.Click(x, 0);
        EXPECT_TRUE(step->Finish());
        EXPECT_TRUE(step->WriteDriverFile(m_root / name));
        auto bytes = *fileio::ReadAll(m_root / name);
        bytes.resize(bytes.size() - DriverFile::kIdentitySize);
        return bytes;
    }
    std::string Grid() const
    {
        std::string flags;
        for (const LedPoint& p : document->Layout().Points())
            flags += static_cast<char>('0' + p.marked + 2 * p.traced);
        return flags;
    }

    std::unique_ptr<DesignRecovery> recovery;
    std::filesystem::path original;
};

TEST_F(DesignRecoveryTest, WrittenEveryIntervalAndAfterEachScanRowWhileUnsaved)
{
    Begin();
    recovery->Tick();
    EXPECT_EQ(recovery->WriteCount(), 0u) << "unsaved, but the interval has not passed";
    clock.tick += DesignRecovery::kInterval - 1;
    recovery->Tick();
    EXPECT_EQ(recovery->WriteCount(), 0u);
    clock.tick += 1;
    recovery->Tick();
    EXPECT_EQ(recovery->WriteCount(), 1u);
    EXPECT_TRUE(DesignRecovery::Find(ProgramFolder(m_root)).has_value());

    // The first scan row completed: written at the next tick without waiting.
    PointTracer& tracer = *document->Tracer();
    for (int x = 0; x < 15; ++x)
        tracer.Click(x, 0);
    recovery->Tick();
    EXPECT_EQ(recovery->WriteCount(), 1u);
    tracer.Click(15, 0);
    recovery->Tick();
    EXPECT_EQ(recovery->WriteCount(), 2u);
    recovery->Tick();
    EXPECT_EQ(recovery->WriteCount(), 2u) << "once per completed row";

    // Saved: the record goes.
    ASSERT_TRUE(step->Finish());
    ASSERT_EQ(SaveAs("done.MDR"), LayoutStepPresenter::kSaved);
    recovery->Tick();
    EXPECT_FALSE(std::filesystem::exists(Folder()));
    EXPECT_FALSE(DesignRecovery::Find(ProgramFolder(m_root)).has_value());
}

TEST_F(DesignRecoveryTest, StepsAloneAreAddedToTheRecordAndOtherEditsWriteItAnew)
{
    Begin();
    PointTracer& tracer = *document->Tracer();
    tracer.Click(0, 0);
    ASSERT_TRUE(recovery->Write());
    const auto first = DesignRecovery::Find(ProgramFolder(m_root));
    ASSERT_TRUE(first.has_value());
    const auto driverBytes = fileio::ReadAll(first->driverFile);

    // Steps alone: the driver file stands, the steps file grows.
    tracer.Click(1, 0);
    tracer.Click(2, 0);
    ASSERT_TRUE(recovery->Write());
    const auto second = DesignRecovery::Find(ProgramFolder(m_root));
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->driverFile, first->driverFile);
    EXPECT_EQ(fileio::ReadAll(second->driverFile), driverBytes);
    const std::vector<std::string> clicks{"click 0 0", "click 1 0", "click 2 0"};
    EXPECT_EQ(second->steps, clicks);

    // A kill in the middle of adding a line leaves it cut off: it is not read.
    std::filesystem::path steps;
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
        if (entry.path().filename().string().starts_with("trace-"))
            steps = entry.path();
    ASSERT_TRUE(fileio::Append(steps, std::vector<std::uint8_t>{'c', 'l', 'i'}));
    EXPECT_EQ(DesignRecovery::Find(ProgramFolder(m_root))->steps, clicks);

    // A marker moved: every file is written anew, the old ones go, the steps come along.
    MoveMarker();
    tracer.Click(3, 0);
    ASSERT_TRUE(recovery->Write());
    const auto third = DesignRecovery::Find(ProgramFolder(m_root));
    ASSERT_TRUE(third.has_value());
    EXPECT_NE(third->driverFile, first->driverFile);
    EXPECT_FALSE(std::filesystem::exists(first->driverFile));
    EXPECT_EQ(third->steps.size(), 4u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()),
                            std::filesystem::directory_iterator()),
              3)
        << "the record file and one driver and steps file";
}

TEST_F(DesignRecoveryTest, NoToSaveChangesRemovesTheRecord)
{
    // No when a new design replaces this one. (A clean close is tested with the panel's
    // windows.)
    Begin();
    document->Tracer()->Click(0, 0);
    ASSERT_TRUE(recovery->Write());
    prompter.answers = {PromptAnswer::No};
    view.newModule = document->ModuleInfo();
    view.newModule.confirmed = 1;
    ASSERT_EQ(panel->NewDesign(), 0) << prompter.Last();
    recovery->Tick();
    EXPECT_FALSE(std::filesystem::exists(Folder()));
}

TEST_F(DesignRecoveryTest, AHalfTracedLayoutComesBackWhereItStood)
{
    Begin();
    const auto path = m_root / "ModLib" / "mine.MDR";
    document->SetFilePath(path);
    PointTracer& tracer = *document->Tracer();
    for (int x = 0; x < 5; ++x)
        tracer.Click(x, 0);
    tracer.InsertVirtual(2);
    tracer.Undo();
    tracer.Click(5, 0);
    tracer.Click(6, 0);
    tracer.Undo();
    document->Background().SetPoints({7, 9}, {40, 9});
    ASSERT_TRUE(recovery->Write());
    Kill();
    const std::uint64_t fingerprint = DesignFingerprint::Of(*document);
    const auto firstRow = tracer.FirstRow();
    const auto history = tracer.History();
    const auto rows = tracer.ChannelRows();
    const std::string grid = Grid();
    const auto uninterrupted = FinishedBytes("uninterrupted.MDR");

    Restore();
    EXPECT_EQ(original, path);
    EXPECT_EQ(document->FilePath(), path);
    EXPECT_TRUE(document->Modified());
    EXPECT_EQ(DesignFingerprint::Of(*document), fingerprint);
    EXPECT_EQ(document->Tracer()->FirstRow(), firstRow);
    EXPECT_EQ(document->Tracer()->History(), history);
    EXPECT_EQ(document->Tracer()->ChannelRows(), rows);
    EXPECT_EQ(Grid(), grid);
    EXPECT_EQ(document->Background().Point1(), (BackgroundDesign::Point{7, 9}));
    EXPECT_EQ(FinishedBytes("restored.MDR"), uninterrupted);
}

TEST_F(DesignRecoveryTest, AnAdvancedTraceStoppedHalfWayComesBackWhereItStood)
{
    // Two data groups of four scan rows: 64 points a group, traced row by row of 16.
    Begin();
    PointTracer& tracer = *document->Tracer();
    LayoutCommands commands(tracer, texts);
    commands.Execute(LayoutCommands::kEnableAdvanced);
    tracer.SetScanRowLength(16);
    commands.Execute(LayoutCommands::kStartStop);
    ASSERT_EQ(tracer.AdvancedTotal(), 128u);
    // Past the first group, with a virtual point and an undone click on the way.
    int next = 0;
    const auto traceTo = [&](int end) {
        for (; next < end; ++next)
            document->Tracer()->Click(next % 16, next / 16);
    };
    traceTo(40);
    tracer.InsertVirtual(1);
    tracer.Undo();
    tracer.Click(3, 7);
    tracer.Undo();
    // Two marks erased; one painted again with the click that traces it out of turn.
    tracer.SetEditMode(3);
    tracer.Click(5, 7);
    tracer.Click(6, 7);
    tracer.SetEditMode(2);
    tracer.Click(5, 7);
    tracer.SetEditMode(0);
    traceTo(77);
    ASSERT_EQ(tracer.TracedCount(), 78u) << "one point traced out of turn";
    ASSERT_TRUE(recovery->Write());
    Kill();
    const std::uint64_t fingerprint = DesignFingerprint::Of(*document);
    const auto records = tracer.AdvancedRecords();
    const auto history = tracer.History();
    const std::string grid = Grid();
    const auto finish = [&] {
        PointTracer& now = *document->Tracer();
        now.SetEditMode(2);
        now.Click(6, 7);
        now.SetEditMode(0);
        traceTo(128);
        EXPECT_TRUE(step->Finish());
        EXPECT_TRUE(step->WriteDriverFile(m_root / "advanced.MDR"));
        auto bytes = *fileio::ReadAll(m_root / "advanced.MDR");
        bytes.resize(bytes.size() - DriverFile::kIdentitySize);
        return bytes;
    };
    const auto uninterrupted = finish();

    Restore();
    PointTracer& restored = *document->Tracer();
    EXPECT_EQ(DesignFingerprint::Of(*document), fingerprint);
    EXPECT_TRUE(restored.AdvancedEnabled());
    EXPECT_TRUE(restored.AdvancedStarted());
    EXPECT_EQ(restored.ScanRowLength(), 16u);
    EXPECT_EQ(restored.AdvancedTotal(), 128u);
    EXPECT_EQ(restored.AdvancedRecords(), records);
    EXPECT_EQ(restored.History(), history);
    EXPECT_EQ(Grid(), grid);
    next = 77;
    EXPECT_EQ(finish(), uninterrupted);
}

TEST_F(DesignRecoveryTest, PointGoAndItsWorkAreaComeBackWhereTheyStood)
{
    // One LED a pixel; the work area made with unmark all and a few marks, then point-go half
    // way through its first line, with an output that drives no LED.
    CellLed led;
    led.widthPx = led.heightPx = 40;
    for (int slot = 1; slot <= 4; ++slot)
        document->Cell().Slot(slot) = {led};
    Begin();
    LayoutModel& layout = document->Layout();
    PointTracer& tracer = *document->Tracer();
    document->Edits().Marks([&] { tracer.MarkAll(false); });
    for (int x = 0; x < 16; ++x)
        tracer.SetMark(x, x % 8, true);
    PointGoResult& pointGo = document->PointGoLayout();
    pointGo.Build(layout, {32, 32}, 2);
    for (int x = 0; x < 10; ++x)
        ASSERT_TRUE(x == 4 ? pointGo.Skip() : pointGo.Record(layout, layout.IndexOf(x, x % 8), 0));
    tracer.SetPointGoSelected(true);
    ASSERT_TRUE(recovery->Write());
    EXPECT_EQ(recovery->Steps().front(), "mark-all 0");
    Kill();
    const auto hidden = [this] {
        std::string flags;
        for (const LedPoint& p : document->Layout().Points())
            flags += p.LedVisible(0) ? '.' : 'x';
        return flags;
    };
    const std::uint64_t fingerprint = DesignFingerprint::Of(*document);
    const std::string grid = Grid();
    const std::string shown = hidden();
    const auto positions = pointGo.Positions();
    const auto entries = pointGo.Entries();

    Restore();
    PointGoResult& restored = document->PointGoLayout();
    EXPECT_TRUE(document->Tracer()->PointGoSelected());
    EXPECT_EQ(restored.Cursor(), 10u);
    EXPECT_EQ(restored.Size(), 128u);
    EXPECT_EQ(restored.Entries(), entries);
    EXPECT_TRUE(std::equal(positions.begin(), positions.end(), restored.Positions().begin(),
                           restored.Positions().end(), [](const auto& a, const auto& b) {
                               return a.pixel == b.pixel && a.led == b.led &&
                                      a.wasTraced == b.wasTraced;
                           }));
    EXPECT_EQ(Grid(), grid);
    EXPECT_EQ(hidden(), shown);
    EXPECT_EQ(DesignFingerprint::Of(*document), fingerprint);
    // Dropped, point-go gives back the grid it found.
    restored.Drop(document->Layout());
    EXPECT_EQ(hidden().find('x'), std::string::npos);

    // A description that does not fit the grid or is cut short builds nothing.
    for (const char* bad : {"2 2 32 32 1 999 0 0", "2 2 32 32 1 0 5 0", "2 2 32", "0 1 16 0"}) {
        EXPECT_FALSE(restored.Rebuild(document->Layout(), bad)) << bad;
        EXPECT_TRUE(restored.Empty()) << bad;
    }
}

TEST_F(DesignRecoveryTest, AFinishedLayoutIsKeptInTheLayoutSectionWithoutSteps)
{
    Begin();
    PointTracer& tracer = *document->Tracer();
    for (int x = 0; x < 16; ++x)
        tracer.Click(x, 0);
    ASSERT_TRUE(step->Finish());
    ASSERT_TRUE(recovery->Write());
    EXPECT_TRUE(recovery->Steps().empty());
    const std::size_t entries = tracer.Result().size();
    Kill();
    Restore();
    EXPECT_TRUE(document->Tracer()->LayoutPresent());
    EXPECT_EQ(document->Tracer()->Result().size(), entries);
}

} // namespace
} // namespace md::test
