#include "KnownDesign.h"

#include "driverfile/VersionWords.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(VersionWords, ParsesThreeDottedPartsAndFallsBackOtherwise)
{
    EXPECT_EQ(VersionWords::Parse("2.5.17"), (VersionWords{2, 5, 17}));
    EXPECT_EQ(VersionWords::Parse("4294967295.255.0"), (VersionWords{4294967295u, 255, 0}));
    const VersionWords fallback{0, 0, 0};
    for (const char* bad :
         {"", "2.5", "2.5.17.1", "2.256.0", "2.5.x", "2..5", "2.5.", " 2.5.1", "4294967296.0.0"})
        EXPECT_EQ(VersionWords::Parse(bad), fallback) << bad;

    const auto folder = test::TempFolder("version");
    test::WriteFile(folder / "runinfo.ini",
                    "[language]\nactive=_en-us\n[version]\nversion=3.1.4\n");
    EXPECT_EQ(VersionWords::FromRunInfo(folder / "runinfo.ini"), (VersionWords{3, 1, 4}));
    EXPECT_EQ(VersionWords::FromRunInfo(folder / "missing.ini"), fallback);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace md
