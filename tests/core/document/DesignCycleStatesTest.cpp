// The design panel's cycle: new, open and save with every answer to their questions.
#include "DesignCycleFixture.h"

#include <cerrno>
#include <cstring>

namespace md::test {
namespace {

using DesignCycleStatesTest = DesignCycleFixture;

TEST_F(DesignCycleStatesTest, NewDesignAsksFirstAndRunsTheNewModuleDialog)
{
    view.newModule.xPixels = 20;
    view.newModule.yPixels = 10;
    view.newModule.pinCount = 16;
    view.newModule.scanRows = 4;
    view.newModule.SetModuleName(u"P10");
    view.newModule.confirmed = 1;

    // No design yet: no question, straight to the dialog, then the socket view.
    EXPECT_EQ(panel->NewDesign(), 0);
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_EQ(panel->DesignState(), DesignPanelPresenter::kNewSetUp);
    EXPECT_EQ(view.shown, "socket");
    EXPECT_EQ(document->Setup().width, 20);
    EXPECT_EQ(step->State(), 1);

    // An untouched new design holds nothing to save: the give-up question; Yes gives it up.
    EXPECT_FALSE(step->HasUnsavedChanges());
    prompter.answers = {PromptAnswer::Yes};
    view.newModule.xPixels = 30;
    EXPECT_EQ(panel->NewDesign(), 0);
    EXPECT_EQ(prompter.asked.back().second, "ID_GIVEUP_EDIT_MODULE_DESIGN");
    EXPECT_EQ(document->ModuleInfo().xPixels, 30);

    // Cancelling the dialog keeps the open design.
    view.confirmNewModule = false;
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(panel->NewDesign(), -1);
    EXPECT_EQ(document->ModuleInfo().xPixels, 30);
}

TEST_F(DesignCycleStatesTest, GivingUpAnUnchangedDesignCanBeRefused)
{
    TracedDesign();
    ASSERT_EQ(SaveAs("a.MDR"), LayoutStepPresenter::kSaved);
    EXPECT_EQ(step->State(), 2);
    EXPECT_FALSE(step->HasUnsavedChanges());

    // Saved and unchanged: the give-up question; No keeps the design for new and for open.
    prompter.answers = {PromptAnswer::No};
    EXPECT_EQ(panel->NewDesign(), -1);
    EXPECT_EQ(prompter.asked.back().second, "ID_GIVEUP_EDIT_MODULE_DESIGN");
    EXPECT_EQ(view.newModuleDialogs, 0);
    const std::u16string other = (m_root / "other.MDR").u16string();
    prompter.answers = {PromptAnswer::No};
    EXPECT_EQ(panel->OpenDesign(other.c_str()), -1);
    EXPECT_NE(document->Tracer(), nullptr);
    EXPECT_EQ(document->FilePath(), m_root / "ModLib" / "a.MDR");
}

TEST_F(DesignCycleStatesTest, OpenWithoutAPathAsksYesNoCancel)
{
    TracedDesign();
    ASSERT_EQ(SaveAs("a.MDR"), LayoutStepPresenter::kSaved);
    MoveMarker();

    prompter.answers = {PromptAnswer::Cancel};
    EXPECT_EQ(panel->OpenDesign(nullptr), -1);
    EXPECT_EQ(prompter.asked.back().second, "ID_MODULE_DESIGN_CHANGED_SAVE");
    EXPECT_EQ(prompter.asked.back().first, PromptButtons::YesNoCancel);
    EXPECT_TRUE(chooser.requests.size() == 1); // only the save's dialog so far

    // No: the user picks the file to open; the design is replaced.
    prompter.answers = {PromptAnswer::No};
    chooser.chosen = m_root / "ModLib" / "a.MDR";
    EXPECT_EQ(panel->OpenDesign(nullptr), 0);
    EXPECT_EQ(chooser.requests.back().title, u"ID_OPEN_MODULE_DRIVER_FILE");
    EXPECT_TRUE(chooser.requests.back().mustExist);
    EXPECT_EQ(panel->DesignState(), DesignPanelPresenter::kOpened);
    EXPECT_EQ(view.shown, "socket");
    EXPECT_FALSE(step->HasUnsavedChanges());

    // Yes saves first (through the checked save), then opens.
    MoveMarker();
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(panel->OpenDesign(nullptr), 0);
    EXPECT_EQ(panel->DesignState(), DesignPanelPresenter::kOpened);
}

TEST_F(DesignCycleStatesTest, ADamagedFileLeavesTheOpenDesignAsItWas)
{
    TracedDesign();
    ASSERT_EQ(SaveAs("good.MDR"), LayoutStepPresenter::kSaved);
    auto bytes = *fileio::ReadAll(m_root / "ModLib" / "good.MDR");
    // Cut into the layout section: every section before it still reads.
    bytes.resize(bytes.size() / 2);
    Write("bad.MDR", std::string(bytes.begin(), bytes.end()));
    const auto resultBefore = document->Tracer()->Result();
    const int resets = view.resets;

    prompter.answers = {PromptAnswer::Yes};
    const std::u16string bad = (m_root / "bad.MDR").u16string();
    EXPECT_EQ(panel->OpenDesign(bad.c_str()), LayoutStepPresenter::kFormatIncorrect);
    // The message names the file and what the reader found, on a second line.
    EXPECT_EQ(prompter.Last().substr(0, prompter.Last().find('\n')),
              "ID_DRIVER_FILE_FORMAT_INCORRECT");
    EXPECT_NE(prompter.Last().find("\n" + (m_root / "bad.MDR").string() + ": layout section"),
              std::string::npos)
        << prompter.Last();
    EXPECT_EQ(view.resets, resets); // no window was reset
    ASSERT_NE(document->Tracer(), nullptr);
    EXPECT_EQ(document->Tracer()->Result(), resultBefore);
    EXPECT_EQ(document->FilePath(), m_root / "ModLib" / "good.MDR");
    EXPECT_EQ(document->ModuleInfo().xPixels, 16);
}

TEST_F(DesignCycleStatesTest, SaveChecksInOrderAndCancelWritesNothing)
{
    ASSERT_EQ(HandOver(Record()), 0);
    view.shown = "layout";
    EXPECT_EQ(step->Save(false), LayoutStepPresenter::kNotSaved);
    EXPECT_EQ(prompter.Last(), "Please check socket design.");
    CompleteSocket();
    EXPECT_EQ(step->Save(false), LayoutStepPresenter::kNotSaved);
    EXPECT_EQ(prompter.Last(), "ID_LAYOUT_DESIGN_NOT_COMPLETE");
    EXPECT_EQ(prompter.LastCaption(), "ID_PROMPT");

    TracedDesign();
    chooser.chosen.reset();
    EXPECT_EQ(step->Save(false), LayoutStepPresenter::kNotSaved);
    EXPECT_TRUE(document->FilePath().empty());
    EXPECT_FALSE(std::filesystem::exists(m_root / "ModLib" / "zt5module.MDR"));
    EXPECT_EQ(chooser.requests.back().defaultName, u"zt5module.MDR");
    EXPECT_EQ(chooser.requests.back().filter, u"ID_MODULE_DRIVER_FILE(.MDR)|*.MDR||");
    EXPECT_TRUE(chooser.requests.back().promptOverwrite);

    // A write that fails keeps the path empty; the panel reports it.
    chooser.chosen = m_root / "missing" / "x.MDR";
    view.shown = "layout";
    EXPECT_EQ(panel->SaveDesign(), LayoutStepPresenter::kWriteFailed);
    EXPECT_EQ(prompter.Last(),
              "ID_SAVE_FAILURE\n" + chooser.chosen->string() + ": " + std::strerror(ENOENT));
    EXPECT_TRUE(document->FilePath().empty());
}

TEST_F(DesignCycleStatesTest, SaveUsesTheKnownPathAndSaveAsAsksAgain)
{
    TracedDesign();
    ASSERT_EQ(SaveAs("first.MDR"), LayoutStepPresenter::kSaved);
    EXPECT_EQ(document->FileTitle(), u"first.MDR");
    const std::size_t asked = chooser.requests.size();
    MoveMarker();
    EXPECT_EQ(step->Save(false), LayoutStepPresenter::kSaved);
    EXPECT_EQ(chooser.requests.size(), asked); // the known path, no dialog
    EXPECT_EQ(SaveAs("second.MDR"), LayoutStepPresenter::kSaved);
    EXPECT_EQ(chooser.requests.size(), asked + 1);
    EXPECT_EQ(chooser.requests.back().defaultName, u"first.MDR");
    EXPECT_EQ(document->FileTitle(), u"second.MDR");

    // Saving twice writes the same layout: the save does not move the open layout.
    const auto once = ReadBack(m_root / "ModLib" / "second.MDR");
    ASSERT_EQ(step->Save(false), LayoutStepPresenter::kSaved);
    const auto twice = ReadBack(m_root / "ModLib" / "second.MDR");
    EXPECT_EQ(once.layout, twice.layout);
}

TEST_F(DesignCycleStatesTest, NamesTheCodePageCannotHoldAreNamedBeforeSaving)
{
    TracedDesign();
    document->ModuleInfo().SetModuleName(u"P10☃模组☃é");
    document->ModuleInfo().scanChip.name = u"Straße";
    prompter.answers = {PromptAnswer::No};
    EXPECT_EQ(SaveAs("named.MDR"), LayoutStepPresenter::kNotSaved);
    EXPECT_FALSE(std::filesystem::exists(m_root / "ModLib" / "named.MDR"));
    ASSERT_EQ(prompter.asked.back().first, PromptButtons::YesNo);
    EXPECT_EQ(prompter.LastCaption(), "ID_PROMPT");
    EXPECT_EQ(prompter.Last(), "IDS_MD_SAVE_UNSTORABLE_NAMES\n\nCP936:\n"
                               "IDS_MD_FIELD_MODULE_NAME \"P10☃模组☃é\": ☃\n"
                               "IDS_MD_FIELD_SCAN_CHIP \"Straße\": ß");
    EXPECT_TRUE(chooser.requests.empty()) << "asked before the file dialog";

    prompter.answers = {PromptAnswer::Yes};
    ASSERT_EQ(SaveAs("named.MDR"), LayoutStepPresenter::kSaved);
    const auto saved = ReadBack(m_root / "ModLib" / "named.MDR");
    EXPECT_EQ(saved.moduleInfo.ModuleName(), u"P10?模组?é");
    EXPECT_EQ(saved.moduleInfo.scanChip.name, u"Stra?e");
}

TEST_F(DesignCycleStatesTest, NewLayoutAnsweredNoKeepsTheGrid)
{
    TracedDesign();
    PointTracer* before = document->Tracer();
    const auto result = before->Result();
    prompter.answers = {PromptAnswer::No};
    EXPECT_FALSE(step->NewLayout());
    EXPECT_EQ(prompter.Last(), "ID_LAYOUT_EXIST_ABORT");
    EXPECT_EQ(document->Tracer(), before);
    EXPECT_EQ(before->Result(), result);
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(step->NewLayout());
    EXPECT_FALSE(document->Tracer()->LayoutDone());
}

} // namespace
} // namespace md::test
