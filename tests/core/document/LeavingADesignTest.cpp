// Every way to leave a design with unsaved work, against every kind of edit and every answer:
// the question asked, the result, and that the design or the file on disk is what the answer
// promised.
#include "DesignCycleFixture.h"

#include "core/document/DesignFingerprint.h"

#include <functional>

namespace md::test {
namespace {

enum class Way
{
    Close,
    New,
    OpenPath,
    OpenChoose,
    Wizard
};
enum class Answer
{
    YesSaves,
    YesFails,
    YesCancelled,
    No,
    Cancel
};

const char* NameOf(Way way)
{
    constexpr const char* names[] = {"close", "new", "open a path", "open and choose", "wizard"};
    return names[static_cast<int>(way)];
}
const char* NameOf(Answer answer)
{
    constexpr const char* names[] = {"yes, saved", "yes, save fails", "yes, dialog cancelled", "no",
                                     "cancel"};
    return names[static_cast<int>(answer)];
}

class LeavingADesignTest : public DesignCycleFixture
{
protected:
    using Edit = std::function<void()>;

    /// The edits a design can hold, each made on a saved, finished layout.
    std::vector<std::pair<const char*, Edit>> Edits()
    {
        return {
            {"tracing",
             [this] {
                 PointTracer& t = *document->Tracer();
                 t.Reset();
                 for (int x = 0; x < 3; ++x)
                     t.Click(x, 0);
             }},
            {"undo", [this] { document->Tracer()->Undo(); }},
            {"socket",
             [this] {
                 document->Socket().Select(5);
                 ASSERT_TRUE(document->Socket().Assign(4));
             }},
            {"background", [this] { MoveMarker(); }},
            {"cell",
             [this] {
                 CellLed led;
                 led.widthTenthMm = led.heightTenthMm = 30;
                 led.name = u"red";
                 document->Cell().Append(led);
             }},
            {"HUB arrangement",
             [this] {
                 ConnectorTable table;
                 table.ForMultiClock(1);
                 document->SetConnectors(table);
                 step->TakeConnectorTable();
             }},
            {"virtual points",
             [this] {
                 PointTracer& t = *document->Tracer();
                 t.Reset();
                 t.InsertVirtual(2);
             }},
            {"work area", [this] { document->Layout().MarkAll(false); }},
        };
    }

    static std::vector<Answer> AnswersFor(Way way)
    {
        std::vector<Answer> answers{Answer::YesSaves, Answer::YesFails, Answer::YesCancelled,
                                    Answer::No};
        if (way == Way::Close || way == Way::OpenChoose)
            answers.push_back(Answer::Cancel);
        return answers;
    }

    /// Leaves the design the given way; true when the way went through (the host closes, the
    /// design is replaced).
    bool Leave(Way way)
    {
        const std::u16string other = OtherFile().u16string();
        switch (way) {
        case Way::Close:
            return panel->OnNotify(5, 0, 0) == 0;
        case Way::New:
            return panel->NewDesign() == 0;
        case Way::OpenPath:
            return panel->OpenDesign(other.c_str()) == 0;
        case Way::OpenChoose:
            return panel->OpenDesign(nullptr) == 0;
        case Way::Wizard:
            return document->MayReplaceDesign() && HandOver(Record(24, 8, 4, 2)) == 0;
        }
        return false;
    }

    /// Scripts the answer: the question's button, and what the save it may run meets.
    void Script(Way way, Answer answer)
    {
        prompter.answers = {answer == Answer::No       ? PromptAnswer::No
                            : answer == Answer::Cancel ? PromptAnswer::Cancel
                                                       : PromptAnswer::Yes};
        chooser.chosen = OtherFile(); // what open-and-choose opens
        if (answer == Answer::YesFails) {
            // The design's file has become a folder: the rename over it fails.
            std::filesystem::remove(Saved());
            std::filesystem::create_directories(Saved() / "in-the-way");
        } else if (answer == Answer::YesCancelled) {
            document->SetFilePath({});
            chooser.chosen.reset();
        }
        view.newModule.xPixels = 20;
        view.newModule.yPixels = 10;
        view.newModule.pinCount = 16;
        view.newModule.scanRows = 4;
        view.newModule.SetModuleName(u"next");
        view.newModule.confirmed = 1;
        (void)way;
    }

    std::filesystem::path Saved() const { return m_root / "ModLib" / "a.MDR"; }
    std::filesystem::path OtherFile() const { return m_root / "other.MDR"; }
    std::vector<std::uint8_t> SavedBytes() const
    {
        return fileio::ReadAll(Saved()).value_or(std::vector<std::uint8_t>{});
    }
};

TEST_F(LeavingADesignTest, EveryWayEveryEditEveryAnswerKeepsTheWork)
{
    // The file that open (with a path or chosen) replaces the design with.
    TracedDesign();
    ASSERT_EQ(step->SaveTo(OtherFile()), LayoutStepPresenter::kSaved);

    int combinations = 0;
    int asked = 0;
    for (Way way : {Way::Close, Way::New, Way::OpenPath, Way::OpenChoose, Way::Wizard}) {
        const std::size_t editCount = Edits().size();
        for (std::size_t e = 0; e < editCount; ++e) {
            for (Answer answer : AnswersFor(way)) {
                MakeDocument();
                std::filesystem::remove_all(Saved());
                TracedDesign();
                ASSERT_EQ(SaveAs("a.MDR"), LayoutStepPresenter::kSaved);
                const auto before = SavedBytes();
                const auto edit = Edits()[e];
                SCOPED_TRACE(std::string(NameOf(way)) + " after " + edit.first + ", " +
                             NameOf(answer));
                edit.second();
                ASSERT_TRUE(panel->HasUnsavedChanges());
                Script(way, answer);
                const std::uint64_t edited = DesignFingerprint::Of(*document);
                PointTracer* const tracer = document->Tracer();
                const std::size_t questions = prompter.asked.size();

                const bool left = Leave(way);

                ++combinations;
                ASSERT_GT(prompter.asked.size(), questions) << "no question was asked";
                ++asked;
                const auto& question = prompter.asked[questions];
                EXPECT_EQ(question.second, way == Way::OpenChoose ? "ID_MODULE_DESIGN_CHANGED_SAVE"
                                                                  : "ID_SAVE_EDIT_MODULE_DESIGN");
                const bool threeButtons = way == Way::Close || way == Way::OpenChoose;
                EXPECT_EQ(question.first,
                          threeButtons ? PromptButtons::YesNoCancel : PromptButtons::YesNo);
                const bool goesOn = answer == Answer::YesSaves || answer == Answer::No;
                EXPECT_EQ(left, goesOn);
                if (answer == Answer::YesSaves) {
                    // The edit reached the file.
                    EXPECT_NE(SavedBytes(), before);
                } else if (answer != Answer::YesFails) {
                    EXPECT_EQ(SavedBytes(), before);
                }
                if (!goesOn) {
                    // The design stands exactly as edited, still unsaved.
                    EXPECT_EQ(document->Tracer(), tracer);
                    EXPECT_EQ(DesignFingerprint::Of(*document), edited);
                    EXPECT_TRUE(panel->HasUnsavedChanges());
                    EXPECT_EQ(document->ModuleInfo().ModuleName(), u"zt5module");
                } else if (way == Way::New) {
                    EXPECT_EQ(document->ModuleInfo().ModuleName(), u"next");
                } else if (way == Way::OpenPath || way == Way::OpenChoose) {
                    EXPECT_EQ(document->FilePath(), OtherFile());
                    EXPECT_FALSE(panel->HasUnsavedChanges());
                } else if (way == Way::Wizard) {
                    EXPECT_EQ(document->ModuleInfo().xPixels, 24);
                }
            }
        }
    }
    // Every combination asked first: 8 edits x 22 ways and answers.
    EXPECT_EQ(asked, combinations);
    EXPECT_EQ(combinations, 176);
}

TEST_F(LeavingADesignTest, OnlyContentCountsAndTheHostHearsEachFlip)
{
    TracedDesign();
    ASSERT_EQ(SaveAs("a.MDR"), LayoutStepPresenter::kSaved);
    document->Refresh();
    const int notified = panelNotified;

    // Looking about: arrow keys, zoom, a selected pin, a finished layout clicked, no virtual
    // points inserted.
    PointTracer& tracer = *document->Tracer();
    tracer.MoveFocus(PointTracer::Key::Right);
    tracer.MoveFocus(PointTracer::Key::Down);
    document->Layout().ZoomOut();
    document->Socket().Select(2);
    document->Background().ZoomOut();
    tracer.InsertVirtual(0);
    document->Refresh();
    EXPECT_FALSE(panel->HasUnsavedChanges());
    EXPECT_EQ(panelNotified, notified);

    // An edit flips the state once, however many changes follow; undoing it by hand flips it
    // back.
    MoveMarker();
    document->Refresh();
    EXPECT_TRUE(panel->HasUnsavedChanges());
    EXPECT_EQ(panelNotified, notified + 1);
    MoveMarker();
    document->Refresh();
    EXPECT_EQ(panelNotified, notified + 1);
    BackgroundDesign& background = document->Background();
    background.SetPoints({background.Point1().x - 2, background.Point1().y}, background.Point2());
    document->Refresh();
    EXPECT_FALSE(panel->HasUnsavedChanges());
    EXPECT_EQ(panelNotified, notified + 2);

    // A save clears it; closing then asks nothing.
    MoveMarker();
    ASSERT_EQ(step->Save(false), LayoutStepPresenter::kSaved);
    EXPECT_FALSE(panel->HasUnsavedChanges());
    const std::size_t questions = prompter.asked.size();
    EXPECT_EQ(panel->OnNotify(5, 0, 0), 0);
    EXPECT_EQ(prompter.asked.size(), questions);
}

} // namespace
} // namespace md::test
