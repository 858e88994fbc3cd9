// Whatever the core writes it reads back to the same file: generated designs of every shape go
// through write, read and write again.
#include "core/support/DesignGenerator.h"

#include "core/posix/CodePage.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(DriverFileRoundTrip, GeneratedDesignsWriteReadAndWriteTheSameBytes)
{
    const CodePage codePage;
    test::DesignGenerator generator(20261207);
    int checked = 0;
    while (checked < 60) {
        auto design = generator.Next();
        if (!design)
            continue;
        ++checked;
        std::string error;
        const auto written = DemoDesign::Bytes(*design, codePage, error);
        ASSERT_FALSE(written.empty()) << error;
        DriverFileContents read;
        ASSERT_TRUE(read.Parse(written, codePage, error)) << "design " << checked << ": " << error;
        const auto rewritten = DemoDesign::Bytes(read, codePage, error);
        ASSERT_EQ(rewritten.size(), written.size()) << "design " << checked;
        const auto differs = std::mismatch(written.begin(), written.end(), rewritten.begin()).first;
        ASSERT_TRUE(differs == written.end())
            << "design " << checked << " differs at byte " << (differs - written.begin()) << " of "
            << written.size();
    }
}

} // namespace
} // namespace md
