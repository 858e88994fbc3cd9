#include "core/driverfile/VersionWords.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(VersionWords, CarryTheProgramVersionAsThreeWords)
{
    EXPECT_EQ(VersionWords::Of(ProgramVersion::Parse(u"2.5.17")), (VersionWords{2, 5, 17}));
    EXPECT_EQ(VersionWords::Of(ProgramVersion::Parse(u"2.5")), (VersionWords{0, 0, 0}));
    ProgramVersion big;
    big.major = 70000;
    big.minor = 255;
    EXPECT_EQ(VersionWords::Of(big), (VersionWords{70000, 255, 0}));
}

} // namespace
} // namespace md
