// Writing a transform's result and combining it with a HUB file that fits its socket.
#include "core/transform/TransformFiles.h"
#include "core/driverfile/DemoDesign.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/driverfile/HubFile.h"
#include "core/driverfile/KnownDesign.h"
#include "core/io/FileIo.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/layout/LayoutArchive.h"
#include "core/parameters/TempProgramFolder.h"
#include "core/platform/Clock.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/support/FakePorts.h"
#include "core/transform/ModuleTransform.h"
#include "core/transform/TransformPresenter.h"
#include "core/wizard/CombinedFile.h"

#include <algorithm>
#include <functional>
#include <map>

namespace md::test {
namespace {

class NoTicks final : public Clock
{
public:
    std::uint32_t TickCount() const override { return 0; }
};

class TransformFilesTest : public TempProgramFolder
{
protected:
    void SetUp() override
    {
        TempProgramFolder::SetUp();
        DemoDesign::Options options; // 32 x 16, traced; its socket has function 15 on pins 6, 7
        auto design = DemoDesign::Build(options);
        std::string error;
        source = m_root / "src.MDR";
        ASSERT_TRUE(fileio::WriteAtomic(source, DemoDesign::Bytes(*design, codePage, error)));
        ASSERT_EQ(transform.Load(source, ports), ModuleTransform::kLoaded);
    }
    DriverFileContents Read(const std::filesystem::path& path)
    {
        DriverFileContents contents;
        std::string error;
        const auto bytes = fileio::ReadAll(path);
        EXPECT_TRUE(bytes && contents.Parse(*bytes, codePage, error)) << error;
        return contents;
    }
    /// Function 15 on pins 6 and 7, as the demo socket has it.
    static std::vector<std::uint8_t> FittingCodes()
    {
        std::vector<std::uint8_t> codes(16, 255);
        codes[6] = codes[7] = 15;
        return codes;
    }
    /// The presenter as the dialog runs it: the save options come from `saveOptions`, and
    /// what is sent to the controller is recorded in `sent`.
    TransformPresenter Presenter()
    {
        return TransformPresenter(TransformPorts{prompter, texts, chooser, ports,
                                                 ProgramFolder(m_root),
                                                 [this] { return saveOptions(); },
                                                 [this](const std::u16string& path) {
                                                     sent.push_back(path);
                                                     return true;
                                                 }});
    }

    CodePage codePage{"CP936"};
    PictureHeaderCodec codec;
    RandomGuids guids;
    NoTicks clock;
    DesignFilePorts ports{codePage, codec, guids, clock, {}};
    std::filesystem::path source;
    ModuleTransform transform;
    ScriptedPrompter prompter;
    KeyTexts texts;
    ScriptedFileChooser chooser;
    std::vector<std::u16string> sent;
    std::function<std::optional<TransformSaveOptions>()> saveOptions;
};

TEST_F(TransformFilesTest, TheResultIsWrittenAtItsSizeAndTurningBackRestoresTheLayout)
{
    EXPECT_FALSE(TransformFiles::WriteResult(transform, m_root / "none.MDR", ports)); // no run
    TransformSettings settings;
    settings.angle = u"90";
    ASSERT_EQ(transform.Run(settings), ModuleTransform::RunResult::Done);
    ASSERT_TRUE(TransformFiles::WriteResult(transform, m_root / "turned.MDR", ports));
    const DriverFileContents turned = Read(m_root / "turned.MDR");
    EXPECT_EQ(turned.moduleInfo.xPixels, 16);
    EXPECT_EQ(turned.moduleInfo.yPixels, 32);
    EXPECT_EQ(turned.sectionTable[0], 16u);
    EXPECT_EQ(turned.layout.points.size(), 512u);
    EXPECT_EQ(turned.socket.Signature(false), Read(source).socket.Signature(false));

    // Without a program version of its own (a tool) the result keeps the source's words.
    const auto sourceBytes = *fileio::ReadAll(source);
    const auto turnedBytes = *fileio::ReadAll(m_root / "turned.MDR");
    EXPECT_TRUE(
        std::equal(sourceBytes.begin() + 4, sourceBytes.begin() + 16, turnedBytes.begin() + 4));
    EXPECT_NE(turned.version, VersionWords{});
    DesignFilePorts program = ports;
    program.version = {5, 2, 9};
    ASSERT_TRUE(TransformFiles::WriteResult(transform, m_root / "program.MDR", program));
    EXPECT_EQ(Read(m_root / "program.MDR").version, (VersionWords{5, 2, 9}));

    // Two writes of one result differ only in the identity block.
    ASSERT_TRUE(TransformFiles::WriteResult(transform, m_root / "again.MDR", ports));
    auto a = *fileio::ReadAll(m_root / "turned.MDR");
    auto b = *fileio::ReadAll(m_root / "again.MDR");
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(std::equal(a.begin(), a.end() - 64, b.begin()));
    EXPECT_NE(a, b);

    // Turning the result on by 270 degrees puts every traced point back.
    ModuleTransform back;
    ASSERT_EQ(back.Load(m_root / "turned.MDR", ports), ModuleTransform::kLoaded);
    settings.angle = u"270";
    back.Run(settings);
    ASSERT_TRUE(TransformFiles::WriteResult(back, m_root / "back.MDR", ports));
    const DriverFileContents original = Read(source);
    const DriverFileContents restored = Read(m_root / "back.MDR");
    ASSERT_EQ(restored.layout.result.size(), original.layout.result.size());
    for (std::size_t e = 0; e < original.layout.result.size(); ++e)
        for (std::size_t r = 0; r < original.layout.result[e].rows.size(); ++r) {
            const auto& want = original.layout.result[e].rows[r].points;
            const auto& got = restored.layout.result[e].rows[r].points;
            ASSERT_EQ(got.size(), want.size());
            for (std::size_t i = 0; i < want.size(); ++i)
                ASSERT_EQ(std::make_pair(got[i].x, got[i].y), std::make_pair(want[i].x, want[i].y))
                    << "entry " << e << " row " << r << " point " << i;
        }
}

TEST_F(TransformFilesTest, OnlyAHubFileThatFitsTheSocketIsCombined)
{
    std::vector<std::uint8_t> codes = FittingCodes();
    fileio::WriteAtomic(m_root / "fits.HDR", HubFileBytes(codes));
    ASSERT_TRUE(TransformFiles::Combine(source, m_root / "fits.HDR", m_root / "out.MHR", ports));
    const auto combined = *fileio::ReadAll(m_root / "out.MHR");
    const auto driver = *fileio::ReadAll(source);
    const auto hub = *fileio::ReadAll(m_root / "fits.HDR");
    // ".MHR", "src" and the driver file, "fits" and the HUB file, and nothing after them.
    EXPECT_EQ(combined.size(), 4 + (2 + 3 + 4 + driver.size()) + (2 + 4 + 4 + hub.size()));
    EXPECT_EQ(std::string(combined.begin(), combined.begin() + 9),
              std::string(".MHR\x03\x00src", 9));
    EXPECT_TRUE(std::equal(hub.begin(), hub.end(), combined.end() - hub.size()));

    // One function-15 pin too few, at another index, or no HUB file at all: nothing written.
    codes[7] = 255;
    fileio::WriteAtomic(m_root / "short.HDR", HubFileBytes(codes));
    EXPECT_FALSE(TransformFiles::Combine(source, m_root / "short.HDR", m_root / "no.MHR", ports));
    codes[7] = 15;
    codes[6] = 255;
    codes[8] = 15;
    fileio::WriteAtomic(m_root / "moved.HDR", HubFileBytes(codes));
    EXPECT_FALSE(TransformFiles::Combine(source, m_root / "moved.HDR", m_root / "no.MHR", ports));
    EXPECT_FALSE(TransformFiles::Combine(source, source, m_root / "no.MHR", ports));
    auto damaged = HubFileBytes(codes);
    damaged.resize(damaged.size() - 3);
    fileio::WriteAtomic(m_root / "damaged.HDR", damaged);
    EXPECT_FALSE(TransformFiles::Combine(source, m_root / "damaged.HDR", m_root / "no.MHR", ports));
    EXPECT_FALSE(std::filesystem::exists(m_root / "no.MHR"));
    HubFile hub3;
    std::string error;
    ASSERT_TRUE(hub3.Parse(HubFileBytes({15, 1, 15}), error)) << error;
    EXPECT_EQ(hub3.Signature(), (2u << 16) | 2u);
}

TEST_F(TransformFilesTest, EveryAngleKeepsEveryPositionInsideTheResult)
{
    for (int angle = 0; angle <= 360; ++angle) {
        TransformSettings settings;
        const std::string degrees = std::to_string(angle);
        settings.angle = std::u16string(degrees.begin(), degrees.end());
        ASSERT_EQ(transform.Run(settings), ModuleTransform::RunResult::Done);
        for (const auto& [from, to] : transform.Forward()) {
            ASSERT_LT(to & 0xFFFF, transform.ResultWidth()) << angle;
            ASSERT_LT(to >> 16, transform.ResultHeight()) << angle;
        }
        // A turn keeps the distance to the centre, so no more than a 45-degree box grows.
        ASSERT_LE(std::uint64_t{transform.ResultWidth()} * transform.ResultHeight(),
                  std::uint64_t{48} * 48)
            << angle;
    }
}

TEST_F(TransformFilesTest, ACombinedSourceSavesItsHubFileBesideTheResult)
{
    std::vector<std::uint8_t> codes = FittingCodes();
    fileio::WriteAtomic(m_root / "fits.HDR", HubFileBytes(codes));
    ASSERT_TRUE(TransformFiles::Combine(source, m_root / "fits.HDR", m_root / "in.MHR", ports));

    int optionDialogs = 0;
    saveOptions = [&]() -> std::optional<TransformSaveOptions> {
        ++optionDialogs;
        return std::nullopt;
    };
    TransformPresenter presenter = Presenter();
    ASSERT_TRUE(presenter.OpenPath(m_root / "in.MHR"));
    EXPECT_TRUE(presenter.SourceCombined());
    EXPECT_TRUE(std::filesystem::exists(m_root / "temp" / "conversion.HDR"));
    EXPECT_FALSE(presenter.Test()); // nothing transformed yet
    EXPECT_EQ(prompter.Last(), "IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_NO_TRANS_FILE");
    EXPECT_EQ(prompter.LastCaption(), "IDS_MODULE_UI_DIG_TRANSFORM_BOX_TITLE_ERROR");
    TransformSettings settings;
    settings.mirrorUpDown = true;
    ASSERT_TRUE(presenter.Transform(settings));

    // No question for a combined source: out.MDR and out.MHR with the extracted HUB file.
    chooser.chosen = m_root / "out.MDR";
    ASSERT_TRUE(presenter.Save());
    EXPECT_EQ(optionDialogs, 0);
    const auto combined = *fileio::ReadAll(m_root / "out.MHR");
    const auto hub = *fileio::ReadAll(m_root / "fits.HDR");
    EXPECT_TRUE(std::equal(hub.begin(), hub.end(), combined.end() - hub.size()));

    // Test: zt_test.MDR and zt_test.MHR in the temp folder, then the controller sender.
    ASSERT_TRUE(presenter.Test());
    EXPECT_TRUE(std::filesystem::exists(m_root / "temp" / "zt_test.MDR"));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (m_root / "temp" / "zt_test.MHR").u16string());

    // A damaged file keeps the combined source as it was.
    Write("bad.MHR", ".MHR");
    EXPECT_FALSE(presenter.OpenPath(m_root / "bad.MHR"));
    EXPECT_EQ(prompter.Last(), "IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_OPEN");
    EXPECT_TRUE(presenter.SourceCombined());
    // So does a combined file whose driver entry cannot be parsed: its entries replace neither
    // the extracted files nor the HUB file the next save combines with.
    codes[0] = 1;
    const std::vector<std::uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'd', 'r', 'i', 'v'};
    fileio::WriteAtomic(m_root / "other.MHR",
                        CombinedFile::Build("other.MDR", junk, "other.HDR", HubFileBytes(codes),
                                            CombinedTrailer{}, codePage));
    EXPECT_FALSE(presenter.OpenPath(m_root / "other.MHR"));
    EXPECT_EQ(prompter.Last(), "IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_PARSE");
    EXPECT_EQ(fileio::ReadAll(m_root / "temp" / "conversion.HDR"), hub);
    EXPECT_EQ(fileio::ReadAll(m_root / "temp" / "conversion.MDR"), fileio::ReadAll(source));
    chooser.chosen = m_root / "again.MDR";
    ASSERT_TRUE(presenter.Save());
    const auto again = *fileio::ReadAll(m_root / "again.MHR");
    EXPECT_TRUE(std::equal(hub.begin(), hub.end(), again.end() - hub.size()));
}

TEST_F(TransformFilesTest, SavesOverTheSourceAndTestsAfterThemTransformTheOriginal)
{
    fileio::WriteAtomic(m_root / "fits.HDR", HubFileBytes(FittingCodes()));
    TransformSettings settings;
    settings.angle = u"90";
    settings.mirrorLeftRight = true;
    ASSERT_EQ(transform.Run(settings), ModuleTransform::RunResult::Done);
    ASSERT_TRUE(TransformFiles::WriteResult(transform, m_root / "once.MDR", ports));
    const auto once = *fileio::ReadAll(m_root / "once.MDR");

    saveOptions = [&] { return std::optional(TransformSaveOptions{true, m_root / "fits.HDR"}); };
    TransformPresenter presenter = Presenter();
    ASSERT_TRUE(presenter.OpenPath(source));
    ASSERT_TRUE(presenter.Transform(settings));
    chooser.chosen = source;
    for (int save = 1; save <= 2; ++save) {
        ASSERT_TRUE(presenter.Save()) << save;
        const auto saved = *fileio::ReadAll(source);
        ASSERT_EQ(saved.size(), once.size()) << save;
        EXPECT_TRUE(std::equal(once.begin(), once.end() - 64, saved.begin())) << save;
    }
    ASSERT_TRUE(presenter.Test());
    const auto tested = *fileio::ReadAll(m_root / "temp" / "zt_test.MDR");
    ASSERT_EQ(tested.size(), once.size());
    EXPECT_TRUE(std::equal(once.begin(), once.end() - 64, tested.begin()));
    // The combined file sent holds that driver file.
    const auto combined = *fileio::ReadAll(m_root / "temp" / "zt_test.MHR");
    EXPECT_TRUE(std::search(combined.begin(), combined.end(), tested.begin(), tested.end()) !=
                combined.end());
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(TransformFilesTest, FlatTablesMoveTheLayoutAsOrderedMapsOfTheSamePairsDo)
{
    DesignFilePorts versioned = ports;
    versioned.version = {1, 2, 3};
    std::vector<TransformSettings> cases(5);
    cases[0].angle = u"90";
    cases[1].angle = u"180";
    cases[1].mirrorLeftRight = cases[1].mirrorUpDown = true;
    cases[2].horizontalZoomOn = true; // two sources on one result: the later one shows
    cases[3].verticalZoomOn = true;
    cases[3].verticalZoom = u"0.5";
    cases[3].angle = u"45";
    cases[4].horizontalZoomOn = cases[4].verticalZoomOn = true;
    cases[4].horizontalZoom = u"3";
    cases[4].angle = u"-30";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        ASSERT_EQ(transform.Run(cases[i]), ModuleTransform::RunResult::Done);
        std::map<std::uint32_t, std::uint32_t> forward, backward;
        for (const auto& [from, to] : transform.Forward()) {
            forward[from] = to;
            backward[to] = from;
        }
        EXPECT_EQ(transform.ResultValidCount(), backward.size()) << i;
        DesignParts parts = transform.Parts();
        parts.moduleInfo.xPixels = static_cast<std::uint16_t>(transform.ResultWidth());
        parts.moduleInfo.yPixels = static_cast<std::uint16_t>(transform.ResultHeight());
        layoutarchive::Remap(parts.layout, transform.ResultWidth(), transform.ResultHeight(),
                             forward, backward);
        parts.background.PlaceMarkers(transform.ResultWidth(), transform.ResultHeight());
        DriverFile::Result result;
        const auto viaMaps = DesignPartsFile::Build(parts, AsStored(versioned), result);
        const auto viaTables = TransformFiles::BuildResult(transform, versioned);
        ASSERT_TRUE(viaMaps && viaTables) << i;
        ASSERT_EQ(viaTables->size(), viaMaps->size()) << i;
        EXPECT_TRUE(std::equal(viaMaps->begin(), viaMaps->end() - 64, viaTables->begin())) << i;
    }
}

} // namespace
} // namespace md::test
