#include "TempProgramFolder.h"

#include "core/io/Utf.h"
#include "core/parameters/ChipLibrary.h"
#include "core/parameters/RuntimeSettings.h"
#include "core/platform/SerialPort.h"
#include "core/support/FakeHost.h"

#include <set>

namespace md {
namespace {

class ChipLibraryTest : public test::TempProgramFolder
{
protected:
    ChipLibrary Load(const std::string& xml, std::u16string_view language = u"lang_en-us")
    {
        return ChipLibrary::Load(Write("ChipLib.xml", xml), language);
    }
};

TEST_F(ChipLibraryTest, ReadsChipsInFileOrderWithLanguageNamesAndDefaults)
{
    const ChipLibrary library = Load(R"(<main>
      <chip name="Driver"><item><Specification lang_en-us="D1">d-one</Specification>
        <Type>48</Type><Polarity>10</Polarity><MaxScans>32</MaxScans></item></chip>
      <chip name="Scan">
        <item><Specification lang_en-us="S1"/><Type>3</Type><Polarity>20480</Polarity>
          <MaxScans>9</MaxScans></item>
        <item><Specification>s-two</Specification><Polarity>5</Polarity></item>
        <item><Specification lang_zh-cn="only zh"/><Type>1</Type></item>
        <item><Type>1</Type></item>
      </chip>
      <chip name="scan"><item><Specification>lower</Specification><Polarity>1</Polarity>
        <Type>2</Type></item></chip>
    </main>)");
    const std::vector<ChipRecord> expected = {
        {u"D1", 48, 0, 10, 32},
        {u"S1", 3, 1, 20480, 0}, // MaxScans is read for driver chips only
        {u"s-two", 0, 1, 5, 0},  // no Type: 0
        // "scan" holds driver chips; Polarity before Type is missed, the search goes forward.
        {u"lower", 2, 0, 0, 0},
    };
    EXPECT_EQ(library.Records(), expected);
    EXPECT_EQ(library.ScanChips().size(), 2u);
    ASSERT_EQ(library.DriverChips().size(), 2u);
    EXPECT_EQ(library.DriverChips()[1].name, u"lower");
    ASSERT_NE(library.Find(u"S1", true), nullptr);
    EXPECT_EQ(library.Find(u"S1", false), nullptr);
}

TEST_F(ChipLibraryTest, MissingFileOrRootGivesAnEmptyLibrary)
{
    EXPECT_TRUE(ChipLibrary::Load(m_root / "none.xml", u"lang_en-us").IsEmpty());
    EXPECT_TRUE(Load("<library><chip><item><Specification>x</Specification></item></chip>"
                     "</library>")
                    .IsEmpty());
    // Text is used when the attribute of the active language is missing.
    const auto library = Load("<main><chip><item><Specification lang_zh-cn=\"zh\">txt"
                              "</Specification></item></chip></main>",
                              u"langlang_zh-cn");
    ASSERT_EQ(library.Records().size(), 1u);
    EXPECT_EQ(library.Records()[0].name, u"txt");
}

TEST_F(ChipLibraryTest, ADamagedLibraryIsEmptyAndSaysWhereItBroke)
{
    // A truncated copy of a library: the scan chips are complete, the driver chips are cut off.
    const std::string truncated = "<main>\n"
                                  "  <chip name=\"Scan\"><item><Specification>S1</Specification>"
                                  "</item></chip>\n"
                                  "  <chip name=\"Driver\">\n"
                                  "    <item><Specification>D1</Specif";
    const ChipLibrary library = Load(truncated);
    EXPECT_TRUE(library.IsEmpty()) << "a damaged library is not taken as a short one";
    const std::string failure = utf::ToUtf8(library.Failure());
    EXPECT_NE(failure.find((m_root / "ChipLib.xml").string()), std::string::npos) << failure;
    EXPECT_NE(failure.find("line 4:"), std::string::npos) << failure;

    const ChipLibrary missing = ChipLibrary::Load(m_root / "none.xml", u"lang_en-us");
    EXPECT_NE(utf::ToUtf8(missing.Failure()).find("none.xml: "), std::string::npos);
    EXPECT_TRUE(Load("<main/>").Failure().empty()) << "an empty library is not a damaged one";
}

TEST_F(ChipLibraryTest, ShippedLibraryCoversTheChipRulesInBothLanguages)
{
    const auto path = ChipLibrary::PathIn(MD_SOURCE_DATA_DIR);
    const ChipLibrary english = ChipLibrary::Load(path, u"lang_en-us");
    const ChipLibrary chinese = ChipLibrary::Load(path, u"lang_zh-cn");
    ASSERT_GE(english.DriverChips().size(), 20u);
    ASSERT_GE(english.ScanChips().size(), 8u);
    ASSERT_EQ(chinese.Records().size(), english.Records().size());
    std::set<std::int32_t> driverTypes;
    bool noMaxScans = false;
    bool differentNames = false;
    for (std::size_t i = 0; i < english.Records().size(); ++i) {
        const ChipRecord& chip = english.Records()[i];
        differentNames |= chip.name != chinese.Records()[i].name;
        if (chip.isScan == 0) {
            driverTypes.insert(chip.type);
            noMaxScans |= chip.maxScans == 0;
        }
    }
    EXPECT_TRUE(differentNames);
    EXPECT_TRUE(noMaxScans);
    for (std::int32_t type : {0, 1, 2, 3, 0x30, 0x31, 0x71, 0x72, 0xA1, 0xE2, 15, 80})
        EXPECT_TRUE(driverTypes.count(type)) << type;
    std::set<std::int32_t> rowBits;
    for (const ChipRecord& chip : english.ScanChips())
        rowBits.insert((chip.polarity >> 12) & 0xF);
    EXPECT_TRUE(rowBits.count(0x5) && rowBits.count(0xA));
}

TEST_F(ChipLibraryTest, RuntimeSettingsGiveLanguageVersionAndCodePage)
{
    const auto settings = RuntimeSettings::FromFile(
        Write("runinfo.ini", "[language]\nactive=_en-us\n[version]\nversion=3.12.260\n"
                             "[system]\ncodepage=CP1252\n"));
    EXPECT_EQ(settings.LanguageAttribute(), u"lang_en-us");
    EXPECT_EQ(settings.Version(), (ProgramVersion{3, 12, 4})); // build is a byte
    EXPECT_EQ(settings.NamesCodePage().Name(), "CP1252");

    const auto empty = RuntimeSettings::FromFile(m_root / "missing.ini");
    EXPECT_EQ(empty.LanguageAttribute(), u"langlang_zh-cn");
    EXPECT_EQ(empty.Version(), ProgramVersion{});
    EXPECT_EQ(empty.NamesCodePage().Name(), "CP936");
    const auto blank = RuntimeSettings::FromFile(
        Write("blank.ini", "[language]\nactive=\n[pointgo]\nbaud=4000001\n"));
    EXPECT_EQ(blank.LanguageAttribute(), u"langlang_zh-cn") << "an empty value names no language";
    EXPECT_EQ(blank.PointGoBaud(), 115200) << "beyond any serial rate";

    EXPECT_EQ(ProgramVersion::Parse(u"2.5"), ProgramVersion{});
    EXPECT_EQ(ProgramVersion::Parse(u"7..9"), (ProgramVersion{7, 0, 9}));
    const RuntimeSettings longValue([](const char*, const char*) {
        return std::optional<std::u16string>(std::u16string(300, u'x'));
    });
    EXPECT_EQ(longValue.ActiveLanguage().size(), RuntimeSettings::kValueCapacity - 1);
}

TEST_F(ChipLibraryTest, TheHostsConfigurationAnswersFirstAndTheFileTheRest)
{
    test::FakeHost host;
    host.config["language/active"] = u"_zh-cn";
    const auto settings = RuntimeSettings::FromHost(
        host, Write("runinfo.ini", "[language]\nactive=_en-us\n[version]\nversion=2.4.1\n"
                                   "[pointgo]\nport=/dev/ttyUSB3\nbaud=57600\n"));
    EXPECT_EQ(settings.LanguageAttribute(), u"lang_zh-cn");
    EXPECT_EQ(settings.Version(), (ProgramVersion{2, 4, 1}));
    EXPECT_EQ(settings.PointGoPort(), "/dev/ttyUSB3");
    EXPECT_EQ(settings.PointGoBaud(), 57600);

    const auto unset = RuntimeSettings::FromFile(Write("bare.ini", "[pointgo]\nport=\n"));
    EXPECT_EQ(unset.PointGoPort(), "");
    EXPECT_EQ(unset.PointGoBaud(), 115200);
}

} // namespace
} // namespace md
