#include "KnownDesign.h"

#include "core/driverfile/BackgroundSection.h"
#include "core/driverfile/DriverFile.h"
#include "core/driverfile/FileInspector.h"
#include "core/driverfile/LayoutDesignSection.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/driverfile/SocketFile.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/ByteWriter.h"
#include "core/io/PngWriter.h"
#include "core/io/RgbaImage.h"
#include "core/posix/CodePage.h"

#include <gtest/gtest.h>

namespace md {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Png()
{
    return PngWriter::Encode(RgbaImage(2, 1, 0x336699));
}

Bytes KnownDriverFile()
{
    CodePage codePage;
    test::PrefixCodec codec;
    auto info = test::KnownModuleInfo();
    info.nameParts = {u"模组", u"P10", u"", u""};
    auto socket = test::KnownSocket();
    auto layout = test::KnownLayout();
    BackgroundDesign background;
    background.SetUp(2, 1, "/nonexistent", nullptr);
    background.SetPicture(LightImage{0, 0, Png(), u"bg"});
    NewModuleInfoSection s0(info, codePage);
    SocketSection s1(socket, nullptr);
    LayoutDesignSection s2(layout, codePage);
    BackgroundSection s3(background, codePage, codec);
    test::FixedGuids guids("01234567-89AB-CDEF-0123-456789ABCDEF");
    test::FixedClock clock;
    DriverFile::Result result;
    return *DriverFile::Build({1, 2, 3}, {&s0, &s1, &s2, &s3}, guids, clock, result);
}

Bytes CombinedFileBytes(const Bytes& driver, const Bytes& hub, bool extension)
{
    ByteWriter out;
    out.U8('.');
    out.Ascii("MHR");
    out.U16(4);
    out.Ascii("test");
    out.U32(static_cast<std::uint32_t>(driver.size()));
    out.Bytes(driver);
    out.U16(3);
    out.Ascii("hub");
    out.U32(static_cast<std::uint32_t>(hub.size()));
    out.Bytes(hub);
    if (extension) {
        out.Ascii("{9FA4F71D-2A02-4d66-88BB-2043A1B361A6}");
        out.Bytes(Bytes(26, 0));
        for (std::uint32_t v : {2u, 1u, 0u, 0u, 1u, 0u, 0u})
            out.U32(v);
        out.U16(8);
        out.U16(1);
    }
    out.U16(0);
    out.U16(0);
    out.U16(0);
    out.U32(1);
    return out.Take();
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(FileInspector, DescribesEveryKindOfFile)
{
    CodePage codePage;
    FileInspector inspector(codePage);
    std::string json, error;
    const Bytes driver = KnownDriverFile();
    ASSERT_TRUE(inspector.Describe(driver, json, error)) << error;
    EXPECT_TRUE(Contains(json, R"({"kind":"MDR","version":[1,2,3],"sectionTable":[16,)"));
    EXPECT_TRUE(Contains(json, R"("identity":"{01234567-89AB-CDEF-0123-456789ABCDEF}")"));
    EXPECT_TRUE(Contains(json, R"("name":"模组P10")"));
    EXPECT_TRUE(Contains(json, R"("socket":{"pinCount":2,"scanRows":8,"codes":[16,255]})"));
    EXPECT_TRUE(Contains(json, R"("points":[{"x":1,"y":0,"kind":0,"colourCode":0,)"
                               R"("cellVariant":2,"ordinal":1,"channelIndex":0,"rowTag":0})"));
    EXPECT_TRUE(Contains(json, R"("virtualCodes":[1,2,3])"));
    EXPECT_TRUE(Contains(json, R"("gridPoints":2})"));
    EXPECT_TRUE(Contains(json, R"("point1":[4,0],"point2":[4,0])"));

    const Bytes hub = test::HubFileBytes({15, 16});
    ASSERT_TRUE(inspector.Describe(hub, json, error)) << error;
    EXPECT_EQ(json, R"({"kind":"HDR","pins":[{"index":0,"code":15},{"index":1,"code":16}]})");

    ASSERT_TRUE(inspector.Describe(CombinedFileBytes(driver, hub, true), json, error)) << error;
    EXPECT_TRUE(Contains(json, R"({"kind":"MHR","driver":{"name":"test","length":)"));
    EXPECT_TRUE(Contains(json, R"("hub":{"name":"hub","length":54,"file":{"kind":"HDR")"));
    EXPECT_TRUE(Contains(json, R"("extension":{"xPixels":2,"yPixels":1,)"));
    EXPECT_TRUE(Contains(json, R"("trailer":{"rowDischarge":0,"dataGrouping":0,)"
                               R"("dataLineType":0,"multiClock":1}})"));
    ASSERT_TRUE(inspector.Describe(CombinedFileBytes(driver, hub, false), json, error));
    EXPECT_TRUE(Contains(json, R"("extension":null,"trailer":{)"));

    const Bytes socketFile = SocketFile::Build(test::KnownSocket(), {1, 0, 7});
    ASSERT_TRUE(inspector.Describe(socketFile, json, error)) << error;
    EXPECT_EQ(json,
              R"({"kind":"MJK","version":[1,0,7],"pinCount":2,"scanRows":8,"codes":[16,255]})");
}

TEST(FileInspector, RefusesEveryTruncationOfEveryKind)
{
    CodePage codePage;
    FileInspector inspector(codePage);
    const Bytes driver = KnownDriverFile();
    const Bytes hub = test::HubFileBytes({15, 16});
    const std::vector<Bytes> files = {driver, hub, CombinedFileBytes(driver, hub, true),
                                      SocketFile::Build(test::KnownSocket(), {1, 0, 0})};
    for (const Bytes& file : files) {
        for (std::size_t length = 0; length < file.size(); ++length) {
            std::string json, error;
            const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
            // A combined file cut right after its HUB entry is a valid file without trailer.
            if (&file == &files[2] && length == 4 + 6 + 4 + driver.size() + 5 + 4 + hub.size())
                continue;
            EXPECT_FALSE(inspector.Describe(cut, json, error))
                << FileInspector::Kind(file) << " cut at " << length;
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(FileInspector, NamesSectionAndOffsetOfDamage)
{
    CodePage codePage;
    FileInspector inspector(codePage);
    std::string json, error;
    Bytes driver = KnownDriverFile();

    Bytes table = driver;
    table[table.size() - 104 + 8] ^= 1; // second table entry
    EXPECT_FALSE(inspector.Describe(table, json, error));
    EXPECT_TRUE(Contains(error, "section table at offset")) << error;

    Bytes background = driver;
    const std::size_t pictureAt = background.size() - 104 - Png().size();
    background[pictureAt + 1] = 'X'; // the stored picture no longer decodes
    EXPECT_FALSE(inspector.Describe(background, json, error));
    EXPECT_TRUE(Contains(error, "background section at offset")) << error;
    EXPECT_TRUE(Contains(error, "cannot be decoded")) << error;

    Bytes longer = SocketFile::Build(test::KnownSocket(), {1, 0, 0});
    longer.push_back(0);
    EXPECT_FALSE(inspector.Describe(longer, json, error));
    EXPECT_EQ(error, "unexpected bytes at offset 58");

    Bytes hub = test::HubFileBytes({15, 16});
    hub[10] = 'x';
    EXPECT_FALSE(inspector.Describe(hub, json, error));
    EXPECT_EQ(error, "header at offset 4: identifier mismatch");

    const Bytes unknown = {'A', 'B', 'C', 'D'};
    EXPECT_FALSE(inspector.Describe(unknown, json, error));
}

} // namespace
} // namespace md
