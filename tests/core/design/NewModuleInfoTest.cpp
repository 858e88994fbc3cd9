#include "core/design/NewModuleInfoPresenter.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/posix/CodePage.h"
#include "core/support/FakePorts.h"

#include <gtest/gtest.h>

namespace md {
namespace {

struct Dialog
{
    NewModuleInfoRecord record;
    NewModuleInfoPresenter presenter{record,
                                     {{u"ICN2038", 0, 0, 7},
                                      {u"SM5166", 1, 1, 9},
                                      {u"MBI5124", 0, 1, 3},
                                      {u"74HC138", 1, 0, 4},
                                      {u"Odd", 2, 5, 1}}};
    test::ScriptedPrompter prompter;
    test::KeyTexts texts;

    Dialog() { presenter.Open(); }
    NewModuleInfoFields Fields(std::u16string pins, std::u16string rows, std::u16string length,
                               std::u16string width)
    {
        return {pins, rows, length, width, {u"P10", u"RGB", u"", u""}};
    }
    bool Confirm(const NewModuleInfoFields& fields)
    {
        return presenter.Confirm(fields, prompter, texts);
    }
};

TEST(NewModuleInfoDialog, SplitsChipListsByKindAndShowsTypes)
{
    Dialog d;
    EXPECT_EQ(d.presenter.DriverChipNames(),
              (std::vector<std::u16string>{u"ICN2038", u"MBI5124", u"Odd"}));
    EXPECT_EQ(d.presenter.ScanChipNames(), (std::vector<std::u16string>{u"SM5166", u"74HC138"}));
    d.presenter.SelectDriverChip(1);
    EXPECT_EQ(d.presenter.DriverTypeText(), u"B");
    EXPECT_EQ(d.record.driverChip, (NewModuleInfoRecord::Chip{u"MBI5124", 0, 1, 3}));
    // A chip of another kind in the driver list is not found by the kind 0 search.
    d.presenter.SelectDriverChip(2);
    EXPECT_EQ(d.record.driverChip.name, u"MBI5124");
    EXPECT_EQ(d.presenter.DriverTypeText(), u"B");
    d.presenter.SelectDriverChip(std::nullopt);
    EXPECT_EQ(d.presenter.DriverTypeText(), u"");

    // One scan row disables the scan chip (checked through the dialog), an empty field leaves
    // it so, more rows enable it again.
    d.presenter.ScanRowsEdited(u"1");
    d.presenter.ScanRowsEdited(u"");
    EXPECT_FALSE(d.presenter.ScanListEnabled());
    d.presenter.ScanRowsEdited(u"16");
    EXPECT_TRUE(d.presenter.ScanListEnabled());
}

TEST(NewModuleInfoDialog, ConfirmChecksInOrderAndStoresFieldsAsTheyPass)
{
    Dialog d;
    d.presenter.SelectDriverChip(0);
    d.presenter.SelectScanChip(0);

    // 65 x 64 is more than 4096 pixels: pins and scan rows are already stored, the size is not.
    EXPECT_FALSE(d.Confirm(d.Fields(u"16", u"8", u"65", u"64")));
    ASSERT_EQ(d.prompter.asked.size(), 1u);
    EXPECT_EQ(d.prompter.Last(), "ID_PARA_ERROR");
    EXPECT_EQ(d.record.pinCount, 16);
    EXPECT_EQ(d.record.scanRows, 8);
    EXPECT_EQ(d.record.xPixels, 0);
    EXPECT_EQ(d.record.confirmed, 0);

    for (const auto& bad : {d.Fields(u"0", u"8", u"8", u"8"), d.Fields(u"41", u"8", u"8", u"8"),
                            d.Fields(u"", u"8", u"8", u"8"), d.Fields(u"4", u"33", u"8", u"8"),
                            d.Fields(u"4", u"8", u"256", u"1"), d.Fields(u"4", u"8", u"1", u"0"),
                            d.Fields(u"4", u"8", u"x", u"1")})
        EXPECT_FALSE(d.Confirm(bad));
    EXPECT_EQ(d.prompter.asked.size(), 8u);

    // An empty name fails after the size was stored.
    auto unnamed = d.Fields(u"20", u"16", u"64", u"64");
    unnamed.nameParts = {};
    EXPECT_FALSE(d.Confirm(unnamed));
    EXPECT_EQ(d.record.xPixels, 64);
    EXPECT_EQ(d.record.confirmed, 0);

    EXPECT_TRUE(d.Confirm(d.Fields(u"20", u"16", u"64", u"64")));
    EXPECT_EQ(d.record.confirmed, 1);
    EXPECT_EQ(d.record.ModuleName(), u"P10RGB");
}

TEST(NewModuleInfoDialog, ScanChipIsRequiredOnlyForSeveralScanRows)
{
    Dialog d;
    d.presenter.SelectDriverChip(0);
    EXPECT_FALSE(d.Confirm(d.Fields(u"16", u"2", u"32", u"16")));
    EXPECT_TRUE(d.Confirm(d.Fields(u"16", u"1", u"32", u"16")));

    Dialog noDriver;
    noDriver.presenter.SelectScanChip(1);
    EXPECT_FALSE(noDriver.Confirm(noDriver.Fields(u"16", u"2", u"32", u"16")));
}

TEST(NewModuleInfoSection, WritesNameInCodePageAndReadsItBackInParts)
{
    CodePage codePage;
    NewModuleInfoRecord record;
    record.pinCount = 16;
    NewModuleInfoSection section(record, codePage);
    std::string error;
    // A name in ASCII is in the known design's bytes. Chinese characters take two bytes each in
    // CP936; 14 characters give three parts.
    record.nameParts = {u"单元板模组规", u"格全彩室内高", u"刷新", u""};
    record.driverChip.name = u"驱动";
    ByteWriter wide;
    ASSERT_TRUE(section.Write(wide, error));
    EXPECT_EQ(wide.Data()[44], 28);
    NewModuleInfoRecord back;
    NewModuleInfoSection reader(back, codePage);
    ByteReader in(wide.Data());
    ASSERT_TRUE(reader.Read(in, error)) << error;
    EXPECT_EQ(back.nameParts,
              (std::array<std::u16string, 4>{u"单元板模组规", u"格全彩室内高", u"刷新", u""}));
    EXPECT_EQ(back.driverChip.name, u"驱动");
    EXPECT_EQ(back.confirmed, 1);
    EXPECT_EQ(in.Remaining(), 0u);

    // Any cut or a changed identifier fails the read.
    for (std::size_t cut = 0; cut < wide.Size(); ++cut) {
        std::vector<std::uint8_t> part(wide.Data().begin(),
                                       wide.Data().begin() + static_cast<std::ptrdiff_t>(cut));
        ByteReader partial(part);
        EXPECT_FALSE(reader.Read(partial, error)) << cut;
    }
    auto damaged = wide.Data();
    damaged[35] = 'x';
    ByteReader bad(damaged);
    EXPECT_FALSE(reader.Read(bad, error));
    EXPECT_EQ(error, "identifier mismatch");
}

TEST(NewModuleInfoRecord, LongNamesKeepTheirParts)
{
    NewModuleInfoRecord record;
    record.nameParts = {u"a", u"b", u"c", u"d"};
    record.SetModuleName(std::u16string(25, u'x'));
    EXPECT_EQ(record.ModuleName(), u"abcd");
    record.SetModuleName(u"1234567");
    EXPECT_EQ(record.nameParts, (std::array<std::u16string, 4>{u"123456", u"7", u"", u""}));
}

} // namespace
} // namespace md
