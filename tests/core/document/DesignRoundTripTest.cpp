// A driver file opened through the panel and saved again by the document holds every byte it
// had, but for the identity block that names each save: nothing of a design is lost by opening
// and saving it.
#include "DesignCycleFixture.h"

#include "core/support/DesignGenerator.h"

#include <random>

namespace md::test {
namespace {

using DesignRoundTripTest = DesignCycleFixture;

TEST_F(DesignRoundTripTest, OpenThenSaveWritesTheSameFile)
{
    DesignGenerator generator(7122026);
    std::mt19937 random(7122026);
    int checked = 0;
    while (checked < 30) {
        auto design = generator.Next();
        if (!design)
            continue;
        ++checked;
        SCOPED_TRACE("design " + std::to_string(checked));
        design->version = version;
        // Signals as the socket view assigns them: a pin keeps only a code it has a picture of.
        for (SocketPin& pin : design->socket.Pins())
            pin.code = random() % 3 == 0
                           ? SocketDesign::kUnassigned
                           : *SocketDesign::CodeOfType(static_cast<int>(random() % 12));
        std::string error;
        const auto written = DemoDesign::Bytes(*design, codePage, error);
        ASSERT_FALSE(written.empty()) << error;
        const auto source = Write("source.MDR", std::string(written.begin(), written.end()));

        // Another design was open before, with a cell of its own: none of it may leak in.
        MakeDocument();
        TracedDesign();
        document->Cell().AddImage(u"stale", {1, 2, 3});
        prompter.answers = {PromptAnswer::No};
        ASSERT_EQ(panel->OpenDesign(source.u16string().c_str()), 0) << prompter.Last();
        EXPECT_FALSE(panel->HasUnsavedChanges());
        const auto again = m_root / "again.MDR";
        ASSERT_TRUE(step->WriteDriverFile(again));
        const auto rewritten = *fileio::ReadAll(again);

        ASSERT_EQ(rewritten.size(), written.size());
        const std::size_t compared = written.size() - DriverFile::kIdentitySize;
        const auto differs =
            std::mismatch(written.begin(), written.begin() + compared, rewritten.begin()).first;
        EXPECT_TRUE(differs == written.begin() + compared)
            << "differs at byte " << (differs - written.begin()) << " of " << written.size();
    }
}

TEST_F(DesignRoundTripTest, OpenStartsFromAnEmptyDesign)
{
    // The open design's socket was saved to a file of its own.
    TracedDesign();
    ASSERT_EQ(SaveAs("a.MDR"), LayoutStepPresenter::kSaved);
    document->Socket().SetFilePath(m_root / "first.mjk");
    const std::u16string path = (m_root / "ModLib" / "a.MDR").u16string();
    prompter.answers = {PromptAnswer::Yes};
    ASSERT_EQ(panel->OpenDesign(path.c_str()), 0);
    // Save in the socket view must ask where, not overwrite the other design's socket file.
    EXPECT_TRUE(document->Socket().FilePath().empty());
    view.shown = "socket";
    EXPECT_EQ(panel->DocumentName(), u"a.MDR");
}

TEST_F(DesignRoundTripTest, TracingOnAfterASaveRefusesPixelsTracedBefore)
{
    ASSERT_EQ(HandOver(Record()), 0);
    CompleteSocket();
    ASSERT_TRUE(step->NewLayout());
    PointTracer& tracer = *document->Tracer();
    tracer.Create();
    for (int x = 0; x < 8; ++x)
        tracer.Click(x, 0);
    ASSERT_EQ(SaveAs("half.MDR"), LayoutStepPresenter::kSaved);
    const auto rowBefore = tracer.ChannelRows();
    tracer.Click(3, 0); // traced before the save
    EXPECT_EQ(tracer.ChannelRows(), rowBefore);
    const auto saved = ReadBack(m_root / "ModLib" / "half.MDR");
    for (const ArchivedPoint& point : saved.layout.points)
        EXPECT_EQ(point.traced, 0);
}

} // namespace
} // namespace md::test
