// Numbers read from text (dialogs, ini and XML files, the command line) mean the same under
// every locale: '.' is the decimal point even where the C library takes ','.
#include "core/io/IniFile.h"
#include "core/io/NumberText.h"
#include "core/support/CommaDecimalLocale.h"
#include "core/transform/ModuleTransform.h"

#include <cstdlib>
#include <limits>

namespace md::test {
namespace {

using NumbersUnderAGermanLocale = CommaDecimalLocale;

TEST_F(NumbersUnderAGermanLocale, ZoomFactorsAndSizesReadTheDecimalPoint)
{
    // The environment is the one that broke the zoom: the C library now refuses the '.'.
    ASSERT_NE(std::strtod("0.5", nullptr), 0.5);

    EXPECT_EQ(ModuleTransform::ZoomFactor(u"0.5"), 0.5);
    EXPECT_EQ(ModuleTransform::ZoomFactor(u" 0.25 "), 0.25);
    EXPECT_EQ(ModuleTransform::ZoomFactor(u"+2"), 2.0);
    EXPECT_EQ(ModuleTransform::ZoomFactor(u"1e-1"), 0.1);
    EXPECT_FALSE(ModuleTransform::ZoomFactor(u"0,5"));
    EXPECT_FALSE(ModuleTransform::ZoomFactor(u"1.000,5"));

    // The cell size box reads as atof in the C locale would: the number that starts the text.
    EXPECT_EQ(numbertext::LeadingReal(u"12.5"), 12.5);
    EXPECT_EQ(numbertext::LeadingReal(u"12,5"), 12.0);

    EXPECT_EQ(IniFile::Parse("[pointgo]\nbaud=1.000\nrate=115200\n").IntOr("pointgo", "baud", 7),
              7);
    EXPECT_EQ(IniFile::Parse("[pointgo]\nrate=115200\n").IntOr("pointgo", "rate", 7), 115200);
}

TEST(NumberTextTest, WholeNumbersRefuseAnythingElse)
{
    EXPECT_EQ(numbertext::Parse<int>(" 42\t"), 42);
    EXPECT_EQ(numbertext::Parse<int>("+7"), 7);
    EXPECT_EQ(numbertext::Parse<int>("-7"), -7);
    EXPECT_EQ(numbertext::Parse<double>(u".5"), 0.5);
    for (const char* bad : {"", "  ", "+", "+-1", "1 2", "12abc", "0x10", "1,5"})
        EXPECT_FALSE(numbertext::Parse<double>(bad)) << bad;
    EXPECT_FALSE(numbertext::Parse<std::uint16_t>("65536"));
    EXPECT_FALSE(numbertext::Parse<std::uint16_t>("-1"));
    EXPECT_FALSE(numbertext::Parse<int>(u"４２")); // full-width digits are no number
}

TEST(NumberTextTest, LeadingNumbersReadAsTheCLibraryDoes)
{
    EXPECT_EQ(numbertext::LeadingInteger(u" -12abc"), -12);
    EXPECT_EQ(numbertext::LeadingInteger(u"+3"), 3);
    EXPECT_EQ(numbertext::LeadingInteger(u"x1"), 0);
    EXPECT_EQ(numbertext::LeadingInteger(u"99999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(numbertext::LeadingInteger(u"-99999999999"),
              std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(numbertext::LeadingReal(u" 1.5mm"), 1.5);
    EXPECT_EQ(numbertext::LeadingReal(u"-2e1x"), -20.0);
    EXPECT_FALSE(numbertext::LeadingReal(u"--5"));
    EXPECT_FALSE(numbertext::LeadingReal(u"mm"));
}

} // namespace
} // namespace md::test
