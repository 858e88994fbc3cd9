#include "KnownDesign.h"

#include "design/BackgroundSection.h"
#include "design/NewModuleInfoSection.h"
#include "design/SocketSection.h"
#include "driverfile/DemoDesign.h"
#include "driverfile/DriverFile.h"
#include "driverfile/LayoutDesignSection.h"
#include "io/ByteReader.h"
#include "io/ByteWriter.h"
#include "layout/LayoutArchive.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace md {
namespace {

// The command-line tool reads layouts through plain data while the design reads them into the
// layout grid's archive; both must agree on every byte.
TEST(LayoutSectionAgreement, PlainDataAndLayoutArchiveReadEachOthersBytes)
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
    demo->layout.entries[1].flag = 1;
    demo->layout.entries[0].rows[1].points[3].kind = 4;

    for (bool present : {true, false}) {
        LayoutSectionData plain = demo->layout;
        plain.present = present;
        if (!present) {
            plain.entries.clear();
            for (auto& point : plain.grid)
                point.leds.clear();
        }
        ByteWriter plainOut;
        std::string error;
        ASSERT_TRUE(plain.Write(plainOut, codePage, error)) << error;

        LayoutDesign design;
        LayoutDesignSection section(design, codePage);
        ByteReader in(plainOut.Data());
        ASSERT_TRUE(section.Read(in, error)) << error;
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(design.layoutPresent, present);
        EXPECT_EQ(design.points.size(), 64u);

        ByteWriter archiveOut;
        ASSERT_TRUE(section.Write(archiveOut, error)) << error;
        EXPECT_EQ(archiveOut.Data(), plainOut.Data()) << "present " << present;

        LayoutSectionData back;
        ByteReader again(archiveOut.Data());
        ASSERT_TRUE(back.Read(again, codePage, error)) << error;
        EXPECT_EQ(back, plain);
    }
}

TEST(LayoutSectionAgreement, ContainerRefusesGridsBeyondSixteenBits)
{
    CodePage codePage;
    LayoutDesign design;
    design.points.resize(65536);
    LayoutDesignSection layout(design, codePage);
    auto info = test::KnownModuleInfo();
    NewModuleInfoSection s0(info, codePage);
    auto socket = test::KnownSocket();
    SocketSection s1(socket, nullptr);
    BackgroundDesign background;
    test::PrefixCodec codec;
    BackgroundSection s3(background, codePage, codec);
    test::FixedGuids guids("01234567-89AB-CDEF-0123-456789ABCDEF");
    test::FixedClock clock;
    DriverFile::Result result;
    EXPECT_FALSE(DriverFile::Build({1, 0, 0}, {&s0, &s1, &layout, &s3}, guids, clock, result));
    EXPECT_EQ(result.message,
              "layout section: grid of 65536 pixels exceeds the 65535 points a layout can store");
    design.points.resize(65535);
    EXPECT_TRUE(DriverFile::Build({1, 0, 0}, {&s0, &s1, &layout, &s3}, guids, clock, result));
}

} // namespace
} // namespace md
