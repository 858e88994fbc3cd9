#include "KnownDesign.h"

#include "core/driverfile/BackgroundSection.h"
#include "core/driverfile/DemoDesign.h"
#include "core/driverfile/DriverFile.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/driverfile/LayoutDesignSection.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace md {
namespace {

using Bytes = std::vector<std::uint8_t>;

/// Appends literal pieces to an expected byte string.
struct Expect
{
    Bytes bytes;
    Expect& Text(std::string_view text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Expect& Raw(std::initializer_list<std::uint8_t> values)
    {
        bytes.insert(bytes.end(), values);
        return *this;
    }
};

/// Stands in for the layout grid's archive: a fixed body, or a failure.
class StandInLayout final : public DriverFileSection
{
public:
    bool fail = false;
    bool Write(ByteWriter& out, std::string& error) override
    {
        if (fail) {
            error = "grid too large";
            return false;
        }
        out.Ascii("LAYOUT");
        return true;
    }
    bool Read(ByteReader& in, std::string&) override { return in.Expect("LAYOUT"); }
};

struct Design
{
    CodePage codePage;
    test::PrefixCodec codec;
    NewModuleInfoRecord info = test::KnownModuleInfo();
    SocketDesign socket = test::KnownSocket();
    BackgroundDesign background;
    StandInLayout layout;
    NewModuleInfoSection infoSection{info, codePage};
    SocketSection socketSection{socket, nullptr};
    BackgroundSection backgroundSection{background, codePage, codec};

    Design()
    {
        background.SetUp(32, 16, "/nonexistent", nullptr);
        background.SetPicture(LightImage{0, 0, {'P', 'I', 'C'}, u"bg"});
    }
    DriverFile::Sections Sections()
    {
        return {&infoSection, &socketSection, &layout, &backgroundSection};
    }
};

Bytes U64(std::uint64_t v)
{
    Bytes out;
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return out;
}

TEST(DriverFileContainer, WritesKnownDesignByteForByte)
{
    Design design;
    test::FixedGuids guids("01234567-89ab-cdef-0123-456789abcdef");
    test::FixedClock clock;
    DriverFile::Result result;
    const auto bytes = DriverFile::Build({1, 2, 3}, design.Sections(), guids, clock, result);
    ASSERT_TRUE(bytes) << result.message;

    Expect e;
    e.Text(".MDR").Raw({1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0});
    const std::size_t p0 = e.bytes.size();
    e.Text("70ABEE71-F4AB-4c5c-87F8-3C064AB39FE7").Raw({16, 0, 8, 0, 32, 0, 16, 0});
    e.Raw({6, 0}).Text("P10RGB");
    e.Raw({0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 7, 0}).Text("ICN2038");
    e.Raw({1, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0, 6, 0}).Text("SM5166");
    const std::size_t p1 = e.bytes.size();
    e.Text("094D7714-905C-4b37-AF57-DB3A8624D4AB").Raw({2, 0, 8, 0, 0x10, 0xFF});
    const std::size_t p2 = e.bytes.size();
    e.Text("LAYOUT");
    const std::size_t p3 = e.bytes.size();
    e.Text("1AA84514-4D4D-4e2d-9E09-A7436B3E04C5");
    e.Raw({4, 0, 0, 0, 32, 0, 0, 0, 124, 0, 0, 0, 32, 0, 0, 0});
    e.Raw({0, 0, 0, 0, 2, 0}).Text("bg").Raw({3, 0, 0, 0}).Text("PIC");
    const std::size_t p4 = e.bytes.size();
    for (std::size_t p : {p0, p1, p2, p3, p4}) {
        const Bytes word = U64(p);
        e.bytes.insert(e.bytes.end(), word.begin(), word.end());
    }
    Bytes identity(64, 0);
    const std::string text = "{01234567-89AB-CDEF-0123-456789ABCDEF}";
    std::memcpy(identity.data(), text.data(), text.size());
    e.bytes.insert(e.bytes.end(), identity.begin(), identity.end());

    EXPECT_EQ(p0, 16u);
    EXPECT_EQ(*bytes, e.bytes);
}

TEST(DriverFileContainer, IdentityFallsBackToTickCount)
{
    test::FixedClock clock;
    test::FixedGuids none("");
    test::FixedGuids garbage("not-a-guid");
    EXPECT_EQ(DriverFile::IdentityText(none, clock), "123456");
    EXPECT_EQ(DriverFile::IdentityText(garbage, clock), "123456");
}

TEST(DriverFileContainer, FailingSectionWriterStopsTheWriteAndKeepsTheOldFile)
{
    Design design;
    design.layout.fail = true;
    test::FixedGuids guids("01234567-89AB-CDEF-0123-456789ABCDEF");
    test::FixedClock clock;
    const auto folder = test::TempFolder("fail");
    test::WriteFile(folder / "old.MDR", "old contents");
    const auto result =
        DriverFile::Write(folder / "old.MDR", {1, 0, 0}, design.Sections(), guids, clock);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.section, DriverFile::Layout);
    EXPECT_NE(result.message.find("layout section: grid too large"), std::string::npos);
    EXPECT_EQ(fileio::ReadAll(folder / "old.MDR")->size(), 12u);
    std::filesystem::remove_all(folder);
}

TEST(DriverFileContainer, ReadsSectionsInOrderAndReportsTheFirstFailure)
{
    Design source;
    test::FixedGuids guids("01234567-89AB-CDEF-0123-456789ABCDEF");
    test::FixedClock clock;
    DriverFile::Result result;
    auto bytes = *DriverFile::Build({4, 5, 6}, source.Sections(), guids, clock, result);

    Design target;
    target.info = {};
    target.background.SetPoints({0, 0}, {0, 0});
    VersionWords version;
    ASSERT_TRUE(DriverFile::Parse(bytes, target.Sections(), &version));
    EXPECT_EQ(version, (VersionWords{4, 5, 6}));
    EXPECT_EQ(target.info.ModuleName(), u"P10RGB");
    EXPECT_EQ(target.info.xPixels, 32);
    EXPECT_EQ(target.info.scanChip, source.info.scanChip);
    EXPECT_EQ(target.info.confirmed, 1);
    EXPECT_EQ(target.socket.Pins()[0].code, 16u);
    EXPECT_EQ(target.background.Point2(), source.background.Point2());
    EXPECT_EQ(target.background.Picture(), source.background.Picture());

    // Damage the socket identifier: the module information is read, the background is not.
    const std::size_t socketAt = 16 + 36 + 10 + 6 + 14 + 7 + 14 + 6;
    bytes[socketAt] = 'X';
    Design damaged;
    damaged.info = {};
    damaged.background.SetPoints({9, 9}, {9, 9});
    result = DriverFile::Parse(bytes, damaged.Sections());
    EXPECT_FALSE(result);
    EXPECT_EQ(result.section, DriverFile::Socket);
    EXPECT_EQ(result.offset, socketAt);
    EXPECT_EQ(result.message,
              "socket section at offset " + std::to_string(socketAt) + ": identifier mismatch");
    EXPECT_EQ(damaged.info.ModuleName(), u"P10RGB");
    EXPECT_EQ(damaged.background.Point1(), (BackgroundDesign::Point{9, 9}));
}

TEST(DriverFileContainer, LayoutRoundTripsAndRefusesOversizedGrids)
{
    CodePage codePage;
    LayoutDesign layout = test::KnownLayout();
    layout.images[0].name = u"灯珠";
    ByteWriter out;
    std::string error;
    ASSERT_TRUE(LayoutDesignSection(layout, codePage).Write(out, error)) << error;
    LayoutDesign back;
    ByteReader in(out.Data());
    ASSERT_TRUE(LayoutDesignSection(back, codePage).Read(in, error)) << error;
    EXPECT_EQ(back, layout);
    EXPECT_EQ(in.Remaining(), 0u);

    // Without a layout the grid points carry no traced flag and no LEDs.
    LayoutDesign bare = test::KnownLayout(false);
    ByteWriter bareOut;
    ASSERT_TRUE(LayoutDesignSection(bare, codePage).Write(bareOut, error));
    const std::size_t tail = 2 + 2 * (4 + 4 + 6 + 2);
    EXPECT_EQ(bareOut.Data()[36], 0);
    EXPECT_EQ(bareOut.Data()[bareOut.Size() - tail], 2);

    LayoutDesign huge;
    huge.points.resize(65536);
    ByteWriter hugeOut;
    EXPECT_FALSE(LayoutDesignSection(huge, codePage).Write(hugeOut, error));
    EXPECT_EQ(error, "grid of 65536 pixels exceeds the 65535 points a layout can store");
    huge.points.resize(65535);
    EXPECT_TRUE(LayoutDesignSection(huge, codePage).Write(hugeOut, error));
}

// A sample design's pixels keep their LEDs, its traced rows and its pictures through its file
// (DriverFileRoundTripTest checks that generated designs read back to the same bytes).
TEST(DriverFileContainer, DemoDesignSurvivesItsFile)
{
    CodePage codePage;
    DemoDesign::Options options;
    options.width = 8;
    options.height = 8;
    options.scanRows = 2;
    options.ledsPerCell = 3;
    auto demo = DemoDesign::Build(options);
    ASSERT_TRUE(demo);
    demo->layout.images.push_back(LightImage{1, 0, {'P', 'I', 'C'}, u"红灯"});
    demo->layout.virtualCodes = {4, 5, 6};
    demo->layout.result[1].flag = 1;
    demo->layout.result[0].rows[1].points[3].kind = 4;
    std::string error;
    const auto bytes = DemoDesign::Bytes(*demo, codePage, error);
    ASSERT_FALSE(bytes.empty()) << error;

    DriverFileContents back;
    ASSERT_TRUE(back.Parse(bytes, codePage, error)) << error;
    ASSERT_EQ(back.layout.points.size(), 64u);
    for (std::size_t i = 0; i < back.layout.points.size(); ++i) {
        EXPECT_EQ(back.layout.ShapesOf(back.layout.points[i]).size(), 3u) << i;
        EXPECT_EQ(back.layout.ShapesOf(back.layout.points[i]),
                  demo->layout.ShapesOf(demo->layout.points[i]));
    }
    EXPECT_EQ(back.layout.result, demo->layout.result);
    EXPECT_EQ(back.layout.images, demo->layout.images);
}

} // namespace
} // namespace md
