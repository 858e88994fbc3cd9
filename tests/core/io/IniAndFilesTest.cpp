#include "core/io/IniFile.h"
#include "core/parameters/TempProgramFolder.h"
#include "core/posix/CodePage.h"
#include "core/posix/IniProfile.h"

namespace md {
namespace {

TEST(IniFileTest, ReadsSectionsAndKeysWithoutRegardToCase)
{
    const IniFile ini = IniFile::Parse("\xEF\xBB\xBF; comment\r\n[Language]\r\nActive = _en-us\r\n"
                                       "[version]\nversion=1.2.3\nbad line\n[app]\nstart=152\n"
                                       "text=a, b\n");
    EXPECT_EQ(ini.ValueOr("language", "active", "x"), "_en-us");
    EXPECT_EQ(ini.ValueOr("VERSION", "Version", "x"), "1.2.3");
    EXPECT_EQ(ini.ValueOr("app", "text", "x"), "a, b");
    EXPECT_EQ(ini.IntOr("app", "start", 0), 152);
    EXPECT_EQ(ini.IntOr("app", "text", -1), -1); // not a number
    EXPECT_FALSE(ini.Value("app", "missing"));
    EXPECT_FALSE(ini.Value("missing", "start"));
}

TEST(IniFileTest, SetValueReplacesInPlaceAndKeepsComments)
{
    IniFile ini = IniFile::Parse("; keep me\n[app]\nstart=1\n\n[other]\nx=2\n");
    ini.SetValue("app", "start", "152");
    ini.SetValue("app", "added", "7");
    ini.SetValue("new", "k", "v");
    EXPECT_EQ(ini.Text(), "; keep me\n[app]\nstart=152\nadded=7\n\n[other]\nx=2\n[new]\nk=v\n");
}

using IniProfileTest = test::TempProgramFolder;

TEST_F(IniProfileTest, KeepsIntegersAcrossInstances)
{
    const auto path = m_root / "cfg" / "profile.ini";
    IniProfile profile(path);
    EXPECT_EQ(profile.GetInt("app", "start", 5), 5);
    ASSERT_TRUE(profile.SetInt("app", "start", 152));
    ASSERT_TRUE(profile.SetInt("module_paramter", "save_hub", 1));
    EXPECT_EQ(IniProfile(path).GetInt("app", "start", 0), 152);
    EXPECT_EQ(IniProfile(path).GetInt("module_paramter", "save_hub", 0), 1);
}

TEST(CodePageTest, ConvertsChineseNamesBothWays)
{
    const CodePage gbk("CP936");
    ASSERT_TRUE(gbk.IsAvailable());
    const std::u16string name = u"P10全彩";
    const std::string bytes = gbk.FromUtf16(name);
    EXPECT_EQ(bytes, std::string("P10\xC8\xAB\xB2\xCA"));
    EXPECT_EQ(gbk.ToUtf16(bytes), name);
    // A character outside the code page becomes '?'.
    EXPECT_EQ(gbk.FromUtf16(u"A\u0E01B"), "A?B");
    // Bytes that are not valid in the code page are refused.
    EXPECT_FALSE(gbk.ToUtf16("\xFF\xFF"));

    // The characters that would be lost, each once; a surrogate pair is one character.
    EXPECT_EQ(gbk.Unstorable(u"P10全彩"), u"");
    EXPECT_EQ(gbk.Unstorable(u"A\u0E01B\u0E01\U0001F600C"), u"\u0E01\U0001F600");
    EXPECT_EQ(CodePage("NO-SUCH-PAGE").Unstorable(u"ab全"), u"全") << "only ASCII survives";
}

} // namespace
} // namespace md
