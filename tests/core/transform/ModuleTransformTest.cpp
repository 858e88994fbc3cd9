// The module transform over real driver files: loading and its result codes, which files are
// combined ones, and the mirror, zoom and rotation rules.
#include "core/transform/ModuleTransform.h"
#include "core/driverfile/DemoDesign.h"
#include "core/io/FileIo.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/parameters/TempProgramFolder.h"
#include "core/platform/Clock.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"

namespace md::test {
namespace {

class ZeroTicks final : public Clock
{
public:
    std::uint32_t TickCount() const override { return 0; }
};

class ModuleTransformTest : public TempProgramFolder
{
protected:
    /// A W x H demo design (every pixel traced) written to name; its path.
    std::filesystem::path Design(std::uint16_t width, std::uint16_t height,
                                 const std::string& name = "m.MDR")
    {
        DemoDesign::Options options;
        options.width = width;
        options.height = height;
        options.groups = 1;
        options.scanRows = 1;
        auto design = DemoDesign::Build(options);
        std::string error;
        const auto bytes = DemoDesign::Bytes(*design, codePage, error);
        EXPECT_FALSE(bytes.empty()) << error;
        const auto path = m_root / name;
        EXPECT_TRUE(fileio::WriteAtomic(path, bytes));
        return path;
    }
    std::pair<int, int> Result(int x, int y) const
    {
        const auto key = static_cast<std::uint32_t>(x) | (static_cast<std::uint32_t>(y) << 16);
        const std::uint32_t to = transform.ResultOf(key).value();
        return {int(to & 0xFFFF), int(to >> 16)};
    }

    CodePage codePage{"CP936"};
    PictureHeaderCodec codec;
    RandomGuids guids;
    ZeroTicks clock;
    DesignFilePorts ports{codePage, codec, guids, clock, {}};
    ModuleTransform transform;
};

TEST_F(ModuleTransformTest, LoadGivesTheFirstFailingSectionAndKeepsTheOldSource)
{
    EXPECT_EQ(transform.Load(m_root / "missing.MDR", ports), ModuleTransform::kCannotOpen);
    ASSERT_EQ(transform.Load(Design(4, 2), ports), ModuleTransform::kLoaded);
    EXPECT_EQ(transform.SourceWidth(), 4u);
    EXPECT_EQ(transform.SourcePoints().size(), 8u);

    // Cut inside the layout section: module information and socket still read.
    auto bytes = *fileio::ReadAll(Design(16, 16, "big.MDR"));
    bytes.resize(bytes.size() / 2);
    fileio::WriteAtomic(m_root / "cut.MDR", bytes);
    EXPECT_EQ(transform.Load(m_root / "cut.MDR", ports), ModuleTransform::kLayoutFailed);
    bytes.resize(20);
    fileio::WriteAtomic(m_root / "short.MDR", bytes);
    EXPECT_EQ(transform.Load(m_root / "short.MDR", ports), ModuleTransform::kModuleInfoFailed);
    EXPECT_EQ(transform.SourceWidth(), 4u); // the loaded source stays
    EXPECT_EQ(transform.SourcePoints().size(), 8u);
}

TEST(ModuleTransformFiles, CombinedFilesAreKnownByTheirExtensionInAnyCase)
{
    // What their entries become is checked through the dialog's presenter (TransformFilesTest).
    EXPECT_TRUE(ModuleTransform::IsCombined("a/b.mhr"));
    EXPECT_TRUE(ModuleTransform::IsCombined("b.MhR"));
    EXPECT_FALSE(ModuleTransform::IsCombined("b.MDR"));
}

TEST_F(ModuleTransformTest, RotationRoundsAndTheCornersGiveTheOffsets)
{
    TransformSettings settings;
    EXPECT_EQ(transform.Run(settings), ModuleTransform::RunResult::NotLoaded);
    ASSERT_EQ(transform.Load(Design(4, 2), ports), 0);
    settings.angle = u"90";
    ASSERT_EQ(transform.Run(settings), ModuleTransform::RunResult::Done);
    EXPECT_EQ(Result(0, 0), std::make_pair(1, 0));
    EXPECT_EQ(Result(3, 1), std::make_pair(0, 3));
    EXPECT_EQ(transform.ResultWidth(), 2u);
    EXPECT_EQ(transform.ResultHeight(), 4u);
    EXPECT_EQ(transform.ResultValidCount(), 8u);

    // 180 degrees turns the module round in place; a text that is no number is 0 degrees.
    settings.angle = u"180";
    transform.Run(settings);
    EXPECT_EQ(Result(0, 0), std::make_pair(3, 1));
    EXPECT_EQ(Result(3, 0), std::make_pair(0, 1));
    settings.angle = u"abc";
    transform.Run(settings);
    EXPECT_EQ(Result(3, 1), std::make_pair(3, 1));
    EXPECT_EQ(ModuleTransform::LeadingInteger(u" 270deg"), 270);
    EXPECT_EQ(ModuleTransform::LeadingInteger(u"-90"), -90);
}

TEST_F(ModuleTransformTest, MirrorsAndZoomsMoveColumnsAndRows)
{
    ASSERT_EQ(transform.Load(Design(16, 8), ports), 0);
    TransformSettings settings;
    settings.mirrorLeftRight = true;
    transform.Run(settings);
    EXPECT_EQ(Result(0, 3), std::make_pair(15, 3));
    EXPECT_EQ(transform.ResultWidth(), 16u);

    // Zoom 2 across: columns pair up by truncation; the forward map keeps every source.
    settings.mirrorLeftRight = false;
    settings.horizontalZoomOn = true;
    transform.Run(settings);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(Result(x, 0).first, x / 2);
    EXPECT_EQ(transform.Forward().size(), 128u);
    EXPECT_EQ(transform.ResultValidCount(), 64u);
    EXPECT_EQ(transform.ResultWidth(), 8u);
    // Two sources on one result: the later one (in key order) is the backward source.
    EXPECT_EQ(transform.SourceAt(0), 1u);

    // Zoom 0.5 down: rows spread to every other row.
    settings.horizontalZoomOn = false;
    settings.verticalZoomOn = true;
    settings.verticalZoom = u"0.5";
    transform.Run(settings);
    EXPECT_EQ(Result(0, 7), std::make_pair(0, 14));
    EXPECT_EQ(transform.ResultHeight(), 15u);

    // A zoom below 1 with a rotation stays inside the result: the offsets come from the
    // zoomed corners.
    settings.angle = u"90";
    transform.Run(settings);
    for (const auto& [from, to] : transform.Forward()) {
        EXPECT_LT(to & 0xFFFF, transform.ResultWidth());
        EXPECT_LT(to >> 16, transform.ResultHeight());
    }
    EXPECT_EQ(transform.ResultWidth(), 15u);
    EXPECT_EQ(transform.ResultHeight(), 16u);

    // A zoom that is on must be a positive number; nothing changes otherwise.
    const auto before = transform.Forward();
    for (const char16_t* bad : {u"0", u"-2", u"two", u""}) {
        settings.verticalZoom = bad;
        EXPECT_EQ(transform.Run(settings), ModuleTransform::RunResult::BadZoom);
        EXPECT_EQ(transform.Forward(), before);
    }
}

TEST_F(ModuleTransformTest, A45DegreeTurnRoundsWithoutZoomAndTruncatesWithIt)
{
    ASSERT_EQ(transform.Load(Design(4, 4), ports), 0);
    TransformSettings settings;
    settings.angle = u"45";
    transform.Run(settings);
    const auto rounded = Result(1, 0); // x' = 0.707: rounds to 1
    settings.horizontalZoomOn = true;
    settings.horizontalZoom = u"1";
    transform.Run(settings);
    const auto truncated = Result(1, 0); // truncates to 0
    EXPECT_EQ(rounded.second - truncated.second, 1);
}

} // namespace
} // namespace md::test
