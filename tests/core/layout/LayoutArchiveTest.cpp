#include "core/layout/LayoutArchive.h"
#include "TracingHarness.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/layout/LayoutSnapshot.h"
#include "core/posix/CodePage.h"

#include <gtest/gtest.h>

namespace md {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& out, std::initializer_list<unsigned> bytes)
{
    for (unsigned b : bytes)
        out.push_back(static_cast<std::uint8_t>(b));
}

CellLed Led()
{
    CellLed led;
    led.widthTenthMm = 0x0102;
    led.heightTenthMm = 3;
    led.widthPx = 4;
    led.heightPx = 5;
    led.index = 6;
    led.colour = 2;
    led.x = 7;
    led.y = 8;
    led.group = 9;
    led.code = 10;
    led.imageId = 11;
    led.active = 1;
    led.selected = 0;
    led.showInfo = 1;
    led.decompositionMode = -1;
    led.name = u"ignored";
    return led;
}

/// Writes a section and reads it back; the read must take every byte.
LayoutDesign RoundTrip(const LayoutDesign& design, Bytes* written = nullptr)
{
    ByteWriter out;
    EXPECT_TRUE(WriteLayoutSection(design, out, CodePage()));
    ByteReader in(out.Data());
    LayoutDesign read;
    std::string error;
    EXPECT_TRUE(ReadLayoutSection(in, read, CodePage(), error)) << error;
    EXPECT_EQ(in.Remaining(), 0u);
    if (written)
        *written = out.Data();
    return read;
}

/// A range over the whole of a width x height grid, starting at column originX.
LayoutRange Range(std::uint32_t width, std::uint32_t height, std::uint32_t originX = 0)
{
    LayoutRange range;
    range.width = width;
    range.height = height;
    range.originX = originX;
    for (std::uint32_t x = originX; x < width; ++x)
        for (std::uint32_t y = 0; y < height; ++y)
            range.inside.insert(LayoutModel::Key(x, y));
    return range;
}

TEST(LayoutArchiveTest, SmallLayoutIsWrittenByteForByte)
{
    LayoutDesign design;
    design.layoutPresent = true;
    ChannelRow entry;
    entry.rowLength = 2;
    entry.index = 3;
    entry.pointsPerGroup = 4;
    entry.flag = 1;
    TracedPoint point;
    point.x = 5;
    point.y = 6;
    point.kind = 1;
    point.colourCode = 0x01020304;
    point.spare1 = 7;
    point.cellVariant = 2;
    point.ordinal = 9;
    point.channelIndex = 3;
    point.rowTag = 1;
    entry.rows.push_back({1, {point}}); // one point short: padded with a virtual one
    design.result = {entry};
    design.virtualCodes = {1, 6, 7};
    design.images = {{1, 0, {0xAB, 0xCD}, u"a"}};
    design.background = {0, LightImage::kBackgroundId, {}, u""};
    design.cellSlots[0] = {Led()};
    design.shapeSets = {{Led()}, {}, {}, {}};
    design.points = {{64, 64, 1, 0, 0, 1, 0, 1, 0}};

    ByteWriter out;
    ASSERT_TRUE(WriteLayoutSection(design, out, CodePage()));
    Bytes expected(layoutarchive::kMagic.begin(), layoutarchive::kMagic.end());
    Append(expected, {1, 1, 0, 2, 0, 3, 0, 4, 0, 1, 0, 1, 1, 0});
    Append(expected, {5, 0, 6, 0, 1, 0, 4, 3, 2, 1, 7, 0, 0, 0, 2, 0, 9, 0, 3, 0, 1, 0, 9, 0});
    Append(expected, {0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Append(expected, {1, 6, 7, 1, 0});
    Append(expected, {1, 0, 0, 0, 1, 0, 'a', 2, 0, 0, 0, 0xAB, 0xCD});
    Append(expected, {0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0});
    const Bytes led = {2, 1, 3, 0,  4, 0,  5, 0, 6, 0, 2,    0,    7,    0,   8,
                       0, 9, 0, 10, 0, 11, 0, 1, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF};
    Append(expected, {1, 0});
    expected.insert(expected.end(), led.begin(), led.end());
    Append(expected, {0, 0, 0, 0, 0, 0});
    Append(expected, {1, 0, 64, 0, 0, 0, 64, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0});
    expected.insert(expected.end(), led.begin(), led.end());
    EXPECT_EQ(out.Data(), expected);

    // Without a layout neither the result nor the per-pixel lists are stored.
    design.layoutPresent = false;
    ByteWriter bare;
    ASSERT_TRUE(WriteLayoutSection(design, bare, CodePage()));
    EXPECT_EQ(bare.Size(), 36u + 1 + 3 + 2 + 13 + 10 + 2 + 29 + 6 + 2 + 16);

    // Every truncation of a section is refused cleanly.
    for (std::size_t cut = 0; cut < expected.size(); ++cut) {
        ByteReader in(std::span(expected.data(), cut));
        LayoutDesign read;
        std::string error;
        EXPECT_FALSE(ReadLayoutSection(in, read, CodePage(), error)) << cut;
        EXPECT_FALSE(error.empty());
    }
}

// Flag bytes other than 0 and 1 read back as stored and are written again unchanged, so the
// tool shows what a file holds and a re-save keeps it.
TEST(LayoutArchiveTest, KeepsFlagBytesAsStoredAndRefusesOverlongNames)
{
    LayoutDesign design;
    design.layoutPresent = true;
    ChannelRow entry;
    entry.rowLength = 1;
    entry.flag = 2;
    entry.rows.push_back({0, {TracedPoint::Virtual()}});
    design.result = {entry};
    CellLed led = Led();
    led.name.clear();
    led.active = 3;
    led.selected = 4;
    led.showInfo = 5;
    design.cellSlots[0] = {led};
    design.shapeSets = {{led}, {}, {}, {}};
    design.points = {{64, 64, 1, 0, 0, 6, 7, 8, 0}};

    Bytes written, again;
    const LayoutDesign read = RoundTrip(design, &written);
    EXPECT_EQ(read, design);
    RoundTrip(read, &again);
    EXPECT_EQ(again, written);

    // A picture name must fit its 16-bit length; a refused section writes nothing.
    design.images = {{1, 0, {}, std::u16string(65536, u'a')}};
    ByteWriter refused;
    EXPECT_FALSE(WriteLayoutSection(design, refused, CodePage()));
    EXPECT_EQ(refused.Size(), 0u);
    design.images[0].name.pop_back();
    EXPECT_TRUE(WriteLayoutSection(design, refused, CodePage()));
}

TEST(LayoutArchiveTest, TracedLayoutRoundTripsThroughTheSection)
{
    test::TracingHarness h(test::MakeSetup(120, 100, 10, 10, {0, 1, 2}));
    std::array<std::vector<CellLed>, 4> slots;
    for (std::size_t s = 0; s < 4; ++s)
        slots[s].assign(s + 1, Led());
    h.model.Construct(120, 100, slots);
    h.tracer->Create();
    h.model.SetLedActive(h.model.Points()[5], 0, false);
    h.Click(test::Line(0, 0, 1, 0, 120));
    ASSERT_TRUE(h.tracer->Analyse(true));

    const LayoutDesign design =
        layoutsnapshot::Capture(*h.tracer, Range(120, 100), {{1, 0, {1, 2, 3}, u"红灯"}},
                                {0, 65535, {9}, u"bg.png"}, slots);
    EXPECT_EQ(design.points.size(), 12000u);
    EXPECT_EQ(design.shapeSets.size(), 5u) << "one list differs from its slot";

    const LayoutDesign read = RoundTrip(design);
    ASSERT_EQ(read.result.size(), design.result.size());
    for (std::size_t e = 0; e < read.result.size(); ++e)
        for (std::size_t r = 0; r < read.result[e].rows.size(); ++r)
            for (std::size_t i = 0; i < read.result[e].rows[r].points.size(); ++i) {
                TracedPoint expected = design.result[e].rows[r].points[i];
                expected.pixel = TracedPoint::kNoPixel;
                ASSERT_EQ(read.result[e].rows[r].points[i], expected);
            }
    EXPECT_EQ(read.points, design.points);
    EXPECT_EQ(read.shapeSets.size(), design.shapeSets.size());
    for (std::size_t i = 0; i < read.points.size(); i += 997)
        EXPECT_EQ(read.ShapesOf(read.points[i]).size(), design.ShapesOf(design.points[i]).size());
    EXPECT_EQ(read.images[0].name, u"红灯");
    EXPECT_EQ(read.background, design.background);

    test::TracingHarness restored(test::MakeSetup(1, 1, 1, 1));
    layoutsnapshot::Restore(read, *restored.tracer);
    EXPECT_EQ(restored.model.Width(), 120u);
    EXPECT_EQ(restored.model.Height(), 100u);
    EXPECT_TRUE(restored.tracer->LayoutPresent());
    EXPECT_EQ(restored.model.ShapesOf(restored.model.Points()[5])[0].active, 0);
}

TEST(LayoutArchiveTest, SavingMovesPointsIntoTheModuleRange)
{
    std::vector<ChannelRow> result(1);
    TracedPoint a, b, c, d;
    a.x = 5, a.y = 3, b.x = 2, b.y = 1, c.x = 9, c.y = 9, d.x = 4, d.y = 7;
    a.ordinal = b.ordinal = c.ordinal = 4;
    c.rowTag = 2;
    result[0].rows.push_back({0, {a, b, c, d}});
    LayoutRange range;
    range.originX = 2;
    range.originY = 1;
    range.inside = {LayoutModel::Key(5, 3), LayoutModel::Key(2, 1), LayoutModel::Key(4, 7)};
    range.splitMode = 1;
    range.splitPosition = 6;
    range.splitGap = 2;
    layoutarchive::ApplyModuleRange(result, range);
    const auto& points = result[0].rows[0].points;
    EXPECT_EQ(points[0].x, 3);
    EXPECT_EQ(points[0].y, 2);
    EXPECT_EQ(points[1].x, 0);
    EXPECT_EQ(points[1].y, 0);
    EXPECT_TRUE(points[2].IsVirtual()) << "outside the range";
    EXPECT_EQ(points[2].ordinal, 4);
    EXPECT_EQ(points[2].rowTag, 2);
    EXPECT_EQ(points[3].y, 4) << "below the split the gap is taken out";

    // Split mode 2 cuts across x: right of the split the gap is taken out of x, y only moves.
    std::vector<ChannelRow> across(1);
    across[0].rows.push_back({0, {a, b, d}});
    range.splitMode = 2;
    range.splitPosition = 4;
    range.splitGap = 1;
    layoutarchive::ApplyModuleRange(across, range);
    const auto& moved = across[0].rows[0].points;
    EXPECT_EQ(moved[0].x, 2) << "(5, 3): right of the split";
    EXPECT_EQ(moved[0].y, 2);
    EXPECT_EQ(moved[1].x, 0) << "(2, 1): left of the split";
    EXPECT_EQ(moved[2].x, 1) << "(4, 7): on the split counts as right of it";
    EXPECT_EQ(moved[2].y, 6);
}

TEST(LayoutArchiveTest, CapturingWithARangeOriginLeavesTheOpenLayoutAsItIs)
{
    test::TracingHarness h(test::MakeSetup(4, 2, 2, 1));
    h.Click(test::Line(0, 0, 1, 0, 4));
    ASSERT_TRUE(h.tracer->Analyse(true));
    const std::vector<ChannelRow> live = h.tracer->Result();
    const LayoutRange range = Range(4, 2, 1);
    const LayoutDesign first = layoutsnapshot::Capture(*h.tracer, range, {}, {}, {});
    const LayoutDesign second = layoutsnapshot::Capture(*h.tracer, range, {}, {}, {});
    EXPECT_EQ(h.tracer->Result(), live);
    EXPECT_EQ(second.result, first.result) << "a second save writes the same layout";
    const auto& row = first.result[0].rows[0].points;
    EXPECT_TRUE(row[0].IsVirtual()) << "(0, 0) lies left of the range";
    EXPECT_EQ(row[1].x, 0) << "(1, 0) moved by the origin";
    EXPECT_EQ(row[3].x, 2);
}

TEST(LayoutArchiveTest, RemapMovesTracedAndGridPoints)
{
    // The same with a grid point far outside the grid, as a damaged file may hold one.
    for (const bool farPoint : {false, true}) {
        LayoutDesign design;
        design.layoutPresent = true;
        TracedPoint a, b;
        a.x = 1, a.y = 0, b.x = 0, b.y = 1;
        design.result.resize(1);
        design.result[0].rows.push_back({0, {a, b}});
        design.shapeSets = {{}, {}, {}, {}, {Led()}};
        for (std::uint16_t x = 0; x < 2; ++x)
            for (std::uint16_t y = 0; y < 2; ++y)
                design.points.push_back({64, 64, LayoutModel::VariantOf(x, y), x, y, 1, 0, 0,
                                         x == 1 && y == 0 ? 4U : 0U});
        design.points.push_back({64, 64, 2, 1, 0, 1, 0, 0, 0}); // a second (1, 0): the first counts
        if (farPoint)
            design.points.push_back({32, 32, 4, 65535, 65535, 1, 0, 0, 4});
        // Mirror horizontally into a 3 x 2 result; (0, 1) has no result position.
        const std::map<std::uint32_t, std::uint32_t> forward = {
            {LayoutModel::Key(0, 0), LayoutModel::Key(2, 0)},
            {LayoutModel::Key(1, 0), LayoutModel::Key(1, 0)},
            {LayoutModel::Key(1, 1), LayoutModel::Key(1, 1)}};
        std::map<std::uint32_t, std::uint32_t> backward;
        for (const auto& [from, to] : forward)
            backward[to] = from;
        backward[LayoutModel::Key(0, 1)] = LayoutModel::Key(65535, 65535);
        layoutarchive::Remap(design, 3, 2, forward, backward);
        EXPECT_EQ(design.result[0].rows[0].points[0].x, 1);
        EXPECT_TRUE(design.result[0].rows[0].points[1].IsVirtual());
        ASSERT_EQ(design.points.size(), 6u);
        EXPECT_EQ(design.points[2].shapeSet, 4u) << "(1, 0) keeps its own LED list";
        EXPECT_EQ(design.points[4].x, 2);
        EXPECT_EQ(design.points[4].cellVariant, 1u) << "taken from (0, 0)";
        EXPECT_EQ(design.points[5].cellVariant, 3u) << "(2, 1) had no source";
        EXPECT_EQ(design.points[1].drawWidth, farPoint ? 32u : 64u) << "(0, 1) from the far point";
        EXPECT_EQ(design.points[1].y, 1);
    }
}

} // namespace
} // namespace md
