// Step 6's Finish saves and hands on only the combined file this run of the wizard wrote from
// the current driver file, atomically, and says why when it cannot; Crop says why it failed.
#include "core/controller/CommandChannel.h"
#include "core/io/FileIo.h"
#include "core/parameters/TempProgramFolder.h"
#include "core/posix/CodePage.h"
#include "core/posix/IniProfile.h"
#include "core/support/FakeHost.h"
#include "core/support/FakePorts.h"
#include "core/wizard/CombinedFile.h"
#include "core/wizard/RangeSelection.h"
#include "core/wizard/SmartWizard.h"
#include "core/wizard/WizardDialogs.h"
#include "core/wizard/WizardStep6.h"

namespace md::test {
namespace {

/// The range dialog closes with the whole module chosen; no other step runs here.
struct WholeRange final : WizardDialogs
{
    bool RunStep1(WizardStep1&) override { return false; }
    bool RunStep2(WizardStep2&) override { return false; }
    bool RunStep3(WizardStep3&) override { return false; }
    bool RunStep4(WizardStep4&) override { return false; }
    bool RunStep6(WizardStep6&) override { return false; }
    bool RunRange(RangeSelection& selection) override
    {
        selection.SelectRectangle(0, 0, selection.Width(), selection.Height());
        return true;
    }
};

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

class FinishSavesThisRunsCombinedFileTest : public TempProgramFolder
{
protected:
    void SetUp() override
    {
        TempProgramFolder::SetUp();
        temp = m_root / "temp";
        out = m_root / "out";
        std::filesystem::create_directories(out);
        std::filesystem::create_directories(temp);
        profile = std::make_unique<IniProfile>(m_root / "profile.ini");
        ASSERT_TRUE(fileio::WriteAtomic(temp / "zt5Module.MDR", Bytes("driver")));
        ASSERT_TRUE(fileio::WriteAtomic(temp / "zt5HUB.HDR", Bytes("hub")));
        ASSERT_TRUE(Combine());
        // The design panel's answer to a range: it writes the cut driver file, then combines
        // it again, as far as `panel` lets it.
        host.handlers.push_back(
            {contract::kPluginId, [this](std::uint32_t message, std::uintptr_t, std::intptr_t) {
                 if (message != contract::kMsgModuleRange || panel == Panel::WritesNothing)
                     return -1;
                 fileio::WriteAtomic(temp / "zt5Module.MDR", Bytes("cut driver"));
                 return panel == Panel::Combines && Combine() ? 0 : -1;
             }});
        // The controller side reads the path while the message is handled, as the real one does.
        host.handlers.push_back({contract::kControllerSenderId,
                                 [this](std::uint32_t, std::uintptr_t, std::intptr_t lParam) {
                                     handed = reinterpret_cast<const char16_t*>(lParam);
                                     return 0;
                                 }});
        step =
            std::make_unique<WizardStep6>(WizardContext{channel, dialogs, prompter, texts, files,
                                                        *profile, codePage, m_root, memory, host},
                                          64, 32);
        step->TakeCombinedFile();
    }

    bool Combine()
    {
        return CombinedFile::Combine(temp / "zt5Module.MDR", temp / "zt5HUB.HDR",
                                     temp / "zt5ModuleHUB.MHR", {}, codePage);
    }
    /// The message shown last: the text, then the path and the reason.
    static std::string Refusal(const char* key, const std::filesystem::path& path,
                               const char* reason)
    {
        return std::string(key) + "\n" + path.string() + ": " + reason;
    }
    std::size_t Handed() const
    {
        return std::count_if(host.sent.begin(), host.sent.end(), [](const FakeHost::Sent& sent) {
            return sent.message == contract::kMsgSendCombined;
        });
    }

    enum class Panel
    {
        Combines,
        WritesNothing,
        CutOnly
    } panel = Panel::Combines;
    std::filesystem::path temp, out;
    std::u16string handed; ///< the path the controller side was handed
    CommandChannel channel;
    WholeRange dialogs;
    ScriptedPrompter prompter;
    KeyTexts texts;
    ScriptedFileChooser files;
    std::unique_ptr<IniProfile> profile;
    CodePage codePage{"CP936"};
    WizardMemory memory;
    FakeHost host;
    std::unique_ptr<WizardStep6> step;
};

TEST_F(FinishSavesThisRunsCombinedFileTest, AStaleOrMissingCombinedFileIsRefusedWithItsReason)
{
    const std::filesystem::path target = out / "x.MHR";
    ASSERT_TRUE(fileio::WriteAtomic(target, Bytes("an earlier module")));
    files.chosen = target;
    const std::filesystem::path combined = temp / "zt5ModuleHUB.MHR";

    // The panel cuts the driver file but cannot combine it again: the old combined file no
    // longer holds the design, and Finish must not hand it on.
    panel = Panel::CutOnly;
    EXPECT_FALSE(step->Crop());
    EXPECT_EQ(prompter.Last(),
              Refusal("IDS_MD_STEP6_CROP_FAILED", combined, "IDS_MD_STEP6_NOT_COMBINED_AGAIN"));
    EXPECT_FALSE(step->Finish());
    EXPECT_EQ(prompter.Last(), Refusal("IDS_MODULE_STEP6DLG_SAVEMHRFAILED", combined,
                                       "IDS_MD_STEP6_NOT_COMBINED_AGAIN"));
    // A combine that could not read its files leaves no combined file at all.
    std::filesystem::remove(temp / "zt5HUB.HDR");
    panel = Panel::Combines;
    EXPECT_FALSE(step->Crop());
    EXPECT_FALSE(std::filesystem::exists(combined));
    EXPECT_FALSE(step->Finish());
    EXPECT_EQ(prompter.Last(), Refusal("IDS_MODULE_STEP6DLG_SAVEMHRFAILED", combined,
                                       "IDS_MD_STEP6_NOT_COMBINED_AGAIN"));
    EXPECT_EQ(fileio::ReadAll(target), Bytes("an earlier module"));
    EXPECT_EQ(Handed(), 0u);

    // A panel that refuses before writing anything leaves the driver file as it was.
    panel = Panel::WritesNothing;
    EXPECT_FALSE(step->Crop());
    EXPECT_EQ(prompter.Last(), Refusal("IDS_MD_STEP6_CROP_FAILED", temp / "zt5Module.MDR",
                                       "IDS_MD_STEP6_CUT_NOT_WRITTEN"));

    // Once a crop combines again, Finish saves that file and hands it on.
    ASSERT_TRUE(fileio::WriteAtomic(temp / "zt5HUB.HDR", Bytes("hub")));
    panel = Panel::Combines;
    int cropped = 0;
    step->onCropped = [&cropped](int width, int) { cropped = width; };
    ASSERT_TRUE(step->Crop());
    EXPECT_EQ(cropped, 64);
    const std::size_t shown = prompter.asked.size();
    ASSERT_TRUE(step->Finish());
    EXPECT_EQ(prompter.asked.size(), shown);
    EXPECT_EQ(fileio::ReadAll(target), fileio::ReadAll(combined));
    const auto saved = *fileio::ReadAll(target);
    const auto cut = Bytes("cut driver");
    EXPECT_NE(std::search(saved.begin(), saved.end(), cut.begin(), cut.end()), saved.end());
    ASSERT_EQ(Handed(), 1u);
    EXPECT_EQ(handed, target.u16string());

    // A combined file this run did not write (another wizard on the same program folder), or
    // none at all, is not saved either.
    ASSERT_TRUE(fileio::WriteAtomic(combined, Bytes(".MHR of another run")));
    EXPECT_FALSE(step->Finish());
    EXPECT_EQ(prompter.Last(),
              Refusal("IDS_MODULE_STEP6DLG_SAVEMHRFAILED", combined, "IDS_MD_STEP6_NOT_THIS_RUN"));
    std::filesystem::remove(combined);
    EXPECT_FALSE(step->Finish());
    EXPECT_EQ(prompter.Last(),
              Refusal("IDS_MODULE_STEP6DLG_SAVEMHRFAILED", combined, "IDS_MD_STEP6_FILE_MISSING"));
    EXPECT_EQ(Handed(), 1u);
}

TEST_F(FinishSavesThisRunsCombinedFileTest, ATargetNamedLikeItsOwnCopyIsRefusedBeforeAnyWrite)
{
    step->SetSaveDriverFile(true);
    step->SetSaveHubFile(false);
    for (const char* name : {"x.MDR", "y.mdr"}) {
        files.chosen = out / name;
        ASSERT_TRUE(fileio::WriteAtomic(*files.chosen, Bytes("kept")));
        EXPECT_FALSE(step->Finish()) << name;
        EXPECT_EQ(prompter.Last(), Refusal("IDS_MODULE_STEP6DLG_SAVEMHRFAILED", *files.chosen,
                                           "IDS_MD_STEP6_NAME_OF_COPY"));
        EXPECT_EQ(fileio::ReadAll(*files.chosen), Bytes("kept")) << name;
    }
    step->SetSaveDriverFile(false);
    step->SetSaveHubFile(true);
    files.chosen = out / "z.HDR";
    EXPECT_FALSE(step->Finish());
    EXPECT_FALSE(std::filesystem::exists(out / "z.HDR"));
    EXPECT_TRUE(host.sent.empty());

    // A copy that cannot be made is named, after the combined file was saved and handed on.
    std::filesystem::remove(temp / "zt5HUB.HDR");
    files.chosen = out / "w.MHR";
    ASSERT_TRUE(step->Finish());
    EXPECT_EQ(prompter.Last(), Refusal("IDS_MD_STEP6_COPY_FAILED", temp / "zt5HUB.HDR",
                                       "IDS_MD_STEP6_FILE_MISSING"));
    EXPECT_EQ(fileio::ReadAll(out / "w.MHR"), fileio::ReadAll(temp / "zt5ModuleHUB.MHR"));
    EXPECT_EQ(Handed(), 1u);
}

TEST_F(FinishSavesThisRunsCombinedFileTest, SavesTheCompanionsAskedForAndKeepsTheChoices)
{
    EXPECT_FALSE(step->SaveDriverFile());
    files.chosen.reset();
    EXPECT_FALSE(step->Finish()) << "save dialog cancelled: the step stays open";
    step->SetSaveDriverFile(true);
    step->SetSaveHubFile(true);
    files.chosen = out / "x.MHR";
    ASSERT_TRUE(step->Finish());
    EXPECT_EQ(files.requests.back().defaultExtension, u"MHR");
    EXPECT_EQ(fileio::ReadAll(out / "x.MDR"), Bytes("driver"));
    EXPECT_EQ(fileio::ReadAll(out / "x.HDR"), Bytes("hub"));
    EXPECT_EQ(host.sent.back().message, contract::kMsgSendCombined);
    EXPECT_EQ(host.sent.back().wParam, 0u);
    // The choices are kept in the profile for the next run.
    IniProfile reread(m_root / "profile.ini");
    EXPECT_TRUE((WizardStep6(WizardContext{channel, dialogs, prompter, texts, files, reread,
                                           codePage, m_root, memory, host},
                             64, 32)
                     .SaveHubFile()));

    // A target that cannot be written: the failure message, the step stays open.
    files.chosen = out / "no-such-folder" / "y.MHR";
    EXPECT_FALSE(step->Finish());
    EXPECT_EQ(prompter.Last(), Refusal("IDS_MODULE_STEP6DLG_SAVEMHRFAILED", *files.chosen,
                                       "IDS_MD_STEP6_NOT_WRITTEN"));
}

TEST_F(FinishSavesThisRunsCombinedFileTest, TheSaveDialogOpensInModLibThenWhereTheLastFileWent)
{
    files.chosen.reset();
    EXPECT_FALSE(step->Finish());
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].folder, m_root / "ModLib");
    EXPECT_TRUE(std::filesystem::is_directory(m_root / "ModLib"));
    files.chosen = out / "x.MHR";
    ASSERT_TRUE(step->Finish());
    files.chosen.reset();
    step->Finish();
    EXPECT_EQ(files.requests.back().folder, out);
}

} // namespace
} // namespace md::test
