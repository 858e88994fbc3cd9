// The smart-setting wizard end to end over a real shared-memory command area, with scripted
// step dialogs and a host whose components answer like the reference host's.
#include "core/wizard/SmartWizard.h"
#include "core/controller/CommandChannel.h"
#include "core/controller/CommandWords.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"
#include "core/posix/IniProfile.h"
#include "core/posix/PosixCommandArea.h"
#include "core/support/FakeHost.h"
#include "core/support/FakePorts.h"
#include "core/wizard/WizardDialogs.h"
#include "core/wizard/WizardStep6.h"
#include "core/wizard/WizardSteps.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/mman.h>
#include <unistd.h>

namespace md {
namespace {

using test::FakeHost;

/// Step dialogs whose user is a lambda per step; by default Next with the shown choices.
struct ScriptedDialogs final : WizardDialogs
{
    std::function<bool(WizardStep1&)> step1 = [](WizardStep1&) { return true; };
    std::function<bool(WizardStep2&)> step2 = [](WizardStep2&) { return true; };
    std::function<bool(WizardStep3&)> step3 = [](WizardStep3&) { return true; };
    std::function<bool(WizardStep4&)> step4 = [](WizardStep4& s) { return s.Finish(); };
    std::function<bool(WizardStep6&)> step6 = [](WizardStep6&) { return true; };
    std::vector<std::string> shown;

    bool RunStep1(WizardStep1& s) override { return shown.push_back("1"), step1(s); }
    bool RunStep2(WizardStep2& s) override { return shown.push_back("2"), step2(s); }
    bool RunStep3(WizardStep3& s) override { return shown.push_back("3"), step3(s); }
    bool RunStep4(WizardStep4& s) override { return shown.push_back("4"), step4(s); }
    bool RunStep6(WizardStep6& s) override { return shown.push_back("6"), step6(s); }
    bool RunRange(RangeSelection&) override { return false; }
};

std::string Hex(const std::array<std::uint8_t, 4>& word)
{
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", word[0], word[1], word[2], word[3]);
    return text;
}

class SmartWizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("md-wizard-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        areaName = "/md-wizard-" + std::to_string(getpid());
        fd = shm_open(areaName.c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, 32), 0);
        owner = static_cast<std::uint8_t*>(
            mmap(nullptr, 32, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
        std::fill(owner, owner + 32, 0xEE); // bytes the plug-in must not touch stay 0xEE
        area = std::make_unique<PosixCommandArea>(areaName);
        ASSERT_TRUE(area->Open());
        channel.Attach(area.get());
        channel.SetTap([this](const CommandPair& pair) {
            pairs.push_back(Hex(pair.word1) + " " + Hex(pair.word2));
            flagsAtSend.push_back(owner[0]);
        });

        // The design panel writes the driver file on the hand-over; the socket component the
        // HUB file; the other components answer 0.
        host.handlers.push_back(
            {contract::kPluginId,
             [this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
                 if (message != contract::kMsgWizardHandOver)
                     return 0;
                 handedRecord = *reinterpret_cast<ModuleRecord*>(wParam);
                 std::filesystem::create_directories(folder / "temp");
                 const std::vector<std::uint8_t> driver = {'M', 'D', 'R'};
                 return fileio::WriteAtomic(folder / "temp/zt5Module.MDR", driver) ? panelAnswer
                                                                                   : -1;
             }});
        host.handlers.push_back({contract::kSocketComponentId,
                                 [this](std::uint32_t, std::uintptr_t wParam, std::intptr_t) {
                                     request = *reinterpret_cast<SocketRequest*>(wParam);
                                     const std::vector<std::uint8_t> hub = {'H', 'D', 'R'};
                                     fileio::WriteAtomic(folder / "temp/zt5HUB.HDR", hub);
                                     return socketAnswer;
                                 }});

        inputs.driverChip = {u"MBI5124", 0, 0, 0x0100, 16};
        inputs.scanChip = {u"74HC138", 0, 1, 0x0020, 0};
        inputs.colourType = WizardInputs::kFull;
        inputs.dataGroups = 2;
        inputs.xPixels = 64;
        inputs.yPixels = 32;
        inputs.rowBlankingPolarity = 1;
        inputs.groupingMode = 0;
        inputs.multiClock = 1;
    }
    void TearDown() override
    {
        area.reset();
        munmap(owner, 32);
        close(fd);
        shm_unlink(areaName.c_str());
        std::filesystem::remove_all(folder);
        std::filesystem::remove(profile.Path());
    }

    SmartWizard::Outcome Run()
    {
        WizardContext context{channel, dialogs,  prompter, texts,  files,
                              profile, codePage, folder,   memory, host};
        SmartWizard wizard(context, inputs);
        const auto outcome = wizard.Run();
        results = wizard.Results();
        record = wizard.Record();
        return outcome;
    }

    std::uint32_t EndMark() const
    {
        return owner[4] | (owner[5] << 8) | (owner[6] << 16) | (std::uint32_t{owner[7]} << 24);
    }
    std::vector<std::uint32_t> Messages() const
    {
        std::vector<std::uint32_t> messages;
        for (const auto& sent : host.sent)
            messages.push_back(sent.message);
        return messages;
    }

    std::filesystem::path folder;
    std::string areaName;
    int fd = -1;
    std::uint8_t* owner = nullptr;
    std::unique_ptr<PosixCommandArea> area;
    CommandChannel channel;
    std::vector<std::string> pairs;
    std::vector<int> flagsAtSend;
    FakeHost host;
    ScriptedDialogs dialogs;
    test::ScriptedPrompter prompter;
    test::KeyTexts texts;
    test::ScriptedFileChooser files;
    CodePage codePage{"CP936"};
    WizardMemory memory;
    WizardInputs inputs;
    IniProfile profile{std::filesystem::temp_directory_path() /
                       ("md-wizard-profile-" + std::to_string(getpid()) + ".ini")};
    std::int32_t panelAnswer = 0;
    std::int32_t socketAnswer = 0;
    WizardResults results;
    ModuleRecord record{};
    ModuleRecord handedRecord{};
    SocketRequest request{};
};

TEST_F(SmartWizardTest, FullSequenceOfCommandsFlagsAndHandOver)
{
    dialogs.step1 = [](WizardStep1& step) {
        EXPECT_FALSE(step.State2Chosen());
        step.ChooseState1(); // already state 1: nothing sent
        step.ChooseState2(); // sets bit value 2
        step.ChooseState2(); // already set: nothing sent
        return true;
    };
    dialogs.step2 = [](WizardStep2& step) {
        EXPECT_FALSE(step.State1Chosen());
        step.ChooseState1(); // sets bit value 8
        return true;
    };
    dialogs.step3 = [](WizardStep3& step) {
        EXPECT_EQ(step.Rows(), 8);
        return step.SetRows(16);
    };
    dialogs.step4 = [](WizardStep4& step) {
        step.Light(3);
        return step.Finish(); // red, green, blue, black
    };
    ASSERT_EQ(Run(), SmartWizard::Outcome::Finished);

    // S = 0x100 with bits 2 and 8 set; B = 0x20 | (1 << 8); count = 16.
    // Step 4 lights line 3 over 16 rows.
    EXPECT_EQ(pairs, (std::vector<std::string>{"A0000120 03FF10F6", "A0000122 03FF10F6",
                                               "A0000122 03FF10F7", "A000012A 03FF10F7",
                                               "A000012A 03FF10F5", "A000012A 03FF1047"}));
    for (int flag : flagsAtSend)
        EXPECT_EQ(flag, 1); // the wizard flag is set before the first command
    EXPECT_EQ(owner[0], 0);
    EXPECT_EQ(EndMark(), 100u);
    EXPECT_EQ(owner[21], 0);
    EXPECT_EQ(owner[22], 1); // multi-clock 1, line type 0
    EXPECT_EQ(owner[23], 'A');
    EXPECT_EQ(owner[20], 0xEE); // untouched
    EXPECT_EQ(owner[1], 0xEE);

    // Hand-over, socket request, load, send, in that order.
    EXPECT_EQ(Messages(), (std::vector<std::uint32_t>{18, 19, 22, 23}));
    EXPECT_EQ(host.sent[3].wParam, (1u << 24) + 0x10001u);
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"1", "2", "3", "4", "6"}));
    EXPECT_EQ(handedRecord.kind, 40);
    EXPECT_EQ(handedRecord.scanRows, 16);
    EXPECT_EQ(handedRecord.width, 64);
    EXPECT_EQ(handedRecord.pointsPerGroup, 64 * 32 / 2);
    EXPECT_EQ(handedRecord.pointsPerRow, 64);
    EXPECT_EQ(handedRecord.lineCount, 3);
    EXPECT_EQ(handedRecord.lineTotal, 6);
    EXPECT_EQ(handedRecord.driverChip.polarity, 0x10A);
    EXPECT_EQ(handedRecord.scanChip.polarity, 0x120);
    EXPECT_EQ(handedRecord.connectorColumns, 2u);
    EXPECT_EQ(handedRecord.connector[0][1], 1);
    EXPECT_EQ(handedRecord.connector[1][0], -1);
    EXPECT_EQ(request.ledUnit, 96 / 2 / 4);
    EXPECT_EQ(request.lineCount, 3);
    EXPECT_EQ((std::vector<int>{request.lineMap[0], request.lineMap[1], request.lineMap[2],
                                request.lineMap[3]}),
              (std::vector<int>{0, 1, 2, 0}));
    EXPECT_TRUE(std::filesystem::exists(folder / "temp/zt5ModuleHUB.MHR"));
    EXPECT_EQ(results.scanRows, 16);
    EXPECT_EQ(results.driverPolarity, 0x10A);
    EXPECT_EQ(memory.scanRows, 16);
}

TEST_F(SmartWizardTest, DriverTypeOneSkipsTheFirstTwoStepsButSendsTheirPatterns)
{
    inputs.driverChip.type = 1;
    inputs.multiClock = 0;
    ASSERT_EQ(Run(), SmartWizard::Outcome::Finished);
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"3", "4", "6"}));
    ASSERT_GE(pairs.size(), 3u);
    EXPECT_EQ(pairs[0].substr(9), "03FF10F6");
    EXPECT_EQ(pairs[1].substr(9), "03FF10F7");
    EXPECT_EQ(pairs[2].substr(9), "03FF10F5");
    EXPECT_EQ(owner[23], 'B');
}

TEST_F(SmartWizardTest, TooManyLinesForSingleColourAbandonsWithTheLinesError)
{
    inputs.colourType = WizardInputs::kSingle;
    dialogs.step4 = [](WizardStep4& step) {
        step.Choose(2, WizardStep4::kBlack);
        return step.Finish(); // red and green: two lines where one is expected
    };
    ASSERT_EQ(Run(), SmartWizard::Outcome::Abandoned);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.Last(), "IDS_MODULE_FIRSETDLG_LINESERROR");
    EXPECT_EQ(prompter.LastCaption(), "IDS_MODULE_FIRSETDLG_PROMPT");
    EXPECT_EQ(owner[0], 0);
    EXPECT_EQ(EndMark(), 100u);
    EXPECT_TRUE(host.sent.empty());
}

TEST_F(SmartWizardTest, CancelOrARefusingComponentAbandonsCleanly)
{
    dialogs.step3 = [](WizardStep3&) { return false; };
    EXPECT_EQ(Run(), SmartWizard::Outcome::Cancelled);
    EXPECT_EQ(owner[0], 0);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(results.scanRows, 0);

    dialogs.step3 = [](WizardStep3&) { return true; };
    panelAnswer = -1; // the design panel cannot take the record
    EXPECT_EQ(Run(), SmartWizard::Outcome::Abandoned);
    EXPECT_EQ(Messages(), std::vector<std::uint32_t>{18});
    EXPECT_EQ(owner[0], 0);

    host.sent.clear();
    panelAnswer = 0;
    socketAnswer = 1;
    EXPECT_EQ(Run(), SmartWizard::Outcome::Abandoned);
    EXPECT_EQ(Messages(), (std::vector<std::uint32_t>{18, 19}));
    EXPECT_FALSE(std::filesystem::exists(folder / "temp/zt5ModuleHUB.MHR"));

    host.sent.clear();
    host.withNotifyService = false;
    socketAnswer = 0;
    EXPECT_EQ(Run(), SmartWizard::Outcome::Abandoned);
    EXPECT_EQ(prompter.Last(), "IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD");
    EXPECT_TRUE(host.sent.empty());
}

// Black lines are left out and the later lines move up; the all-black refusal and grouping
// mode 4's list are checked through the step's dialog.
TEST(WizardStep4Test, LinesInOrderWithTheirLineNumbers)
{
    CommandChannel channel;
    WizardStep4 step(0, 8, 0, 0, channel);
    step.Choose(0, WizardStep4::kBlue);
    step.Choose(1, WizardStep4::kRed);
    step.Choose(2, WizardStep4::kBlack);
    step.Choose(3, WizardStep4::kGreen);
    ASSERT_TRUE(step.Finish());
    EXPECT_EQ(step.LineColours(), (std::vector<std::uint16_t>{2, 0, 1}));
    EXPECT_EQ(step.LineMap(), (std::array<std::uint8_t, 4>{0, 1, 3, 0}));

    // Grouping mode 4: the fourth line stays black and is no line.
    WizardStep4 mode4(0, 8, 4, 0, channel);
    EXPECT_FALSE(mode4.Choose(3, WizardStep4::kRed));
    ASSERT_TRUE(mode4.Finish());
    EXPECT_EQ(mode4.LineColours().size(), 3u);
}

} // namespace
} // namespace md
