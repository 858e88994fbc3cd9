// The shipped language files: each key once and with a text, every English key translated with
// the same placeholders (scripts/check-texts.sh checks that both files hold exactly the keys the
// sources ask for).
#include "core/io/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace md {
namespace {

constexpr const char* kSection = "ModuleDesignUIPlugin";

const std::filesystem::path kDataDir = MD_SOURCE_DATA_DIR;

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The keys of the plug-in's section in file order, duplicates included.
std::vector<std::string> KeysOf(const std::string& text)
{
    std::vector<std::string> keys;
    std::istringstream lines(text);
    std::string line;
    bool inSection = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inSection = line == "[" + std::string(kSection) + "]";
            continue;
        }
        const auto eq = line.find('=');
        if (inSection && eq != std::string::npos)
            keys.push_back(line.substr(0, eq));
    }
    return keys;
}

struct Language
{
    std::string name;
    IniFile ini;
    std::vector<std::string> keys;
};

Language LoadLanguage(const std::string& name)
{
    const auto path = kDataDir / "lang" / (name + ".ini");
    return {name, IniFile::Load(path), KeysOf(ReadText(path))};
}

/// The printf conversions of a text in order ("%%" included, so a stray percent sign shows).
std::vector<std::string> Placeholders(const std::string& text)
{
    // Numbered arguments of our own texts ("%1 of %2"), then printf conversions.
    static const std::regex conversion(
        R"(%[1-9]\b|%[-+ #0]*(\*|\d+)?(\.(\*|\d+))?(hh|h|ll|l|L|z|j|t)?.)");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), conversion);
         it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

TEST(LanguageFilesTest, EachLanguageHoldsEveryKeyOnceWithText)
{
    const Language english = LoadLanguage("en-us");
    const Language chinese = LoadLanguage("zh-cn");
    ASSERT_GT(english.keys.size(), 100u);

    for (const Language* language : {&english, &chinese}) {
        std::set<std::string> seen;
        for (const std::string& key : language->keys) {
            EXPECT_TRUE(seen.insert(key).second) << language->name << ": " << key << " twice";
            EXPECT_FALSE(language->ini.ValueOr(kSection, key, "").empty())
                << language->name << ": " << key << " has no text";
        }
    }
}

TEST(LanguageFilesTest, EveryTextIsTranslatedWithItsPlaceholders)
{
    EXPECT_EQ(Placeholders("%s : %d"), (std::vector<std::string>{"%s", "%d"}));
    EXPECT_EQ(Placeholders("%1 of %2."), (std::vector<std::string>{"%1", "%2"}));
    EXPECT_EQ(Placeholders("%.1f * %.1f (mm) 100%%"),
              (std::vector<std::string>{"%.1f", "%.1f", "%%"}));

    const Language english = LoadLanguage("en-us");
    const Language chinese = LoadLanguage("zh-cn");
    for (const std::string& key : english.keys) {
        const auto translated = chinese.ini.Value(kSection, key);
        if (!translated) {
            ADD_FAILURE() << key << " is missing in zh-cn";
            continue;
        }
        EXPECT_EQ(Placeholders(english.ini.ValueOr(kSection, key, "")), Placeholders(*translated))
            << key;
    }
}

} // namespace
} // namespace md
