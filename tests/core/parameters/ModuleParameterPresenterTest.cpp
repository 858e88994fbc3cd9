#include "TempProgramFolder.h"

#include "core/parameters/ConnectorTable.h"
#include "core/parameters/ModuleParameterChoices.h"
#include "core/parameters/ModuleParameterPresenter.h"
#include "core/support/FakePorts.h"
#include "core/wizard/SmartWizard.h"
#include "md/ContractIds.h"

#include <cstring>
#include <string>
#include <vector>

namespace md {
namespace {

/// Controls as plain values.
class FakeView : public ModuleParameterView
{
public:
    void ShowChipLists(const std::vector<std::u16string>& scan,
                       const std::vector<std::u16string>& driver) override
    {
        scanNames = scan;
        driverNames = driver;
    }
    ModuleParameters ReadControls() const override { return controls; }
    void ShowRecord(const ModuleParameters& parameters) override { controls = parameters; }
    void ShowMultiClock(std::int32_t index) override { controls.multiClock = index; }
    void ShowVirtualControls(bool on) override { virtualControls = on; }
    void ShowHubAddressCheck(bool visible) override { hubCheck = visible; }
    void ShowCellDesigned(bool on) override { cellDesigned = on; }

    ModuleParameters controls;
    std::vector<std::u16string> scanNames, driverNames;
    bool virtualControls = true, hubCheck = true, cellDesigned = false;
};

ChipLibrary TestChips()
{
    return ChipLibrary({
        {u"row", 0, 1, 0x5001, 0},
        {u"simple", 2, 0, 8, 16},
        {u"generic", 0, 0, 0, 32},
        {u"pwm", 0x30, 0, 2, 64},
        {u"row2", 1, 1, 0xA000, 0},
    });
}

class ModuleParameterPresenterTest : public test::TempProgramFolder
{
protected:
    void SetUp() override
    {
        TempProgramFolder::SetUp();
        presenter.emplace(view, prompter, texts, TestChips(), m_root);
        presenter->SetWizardStarter([this](const ModuleParameters& p, const ModuleDerivedValues&) {
            started.push_back(p);
        });
        presenter->Initialise();
    }
    /// Next with the given controls; the key of the message shown, or "" when the wizard started.
    std::string NextWith(std::uint32_t x, std::uint32_t y, std::uint32_t groups = 2)
    {
        view.controls.xPoints = x;
        view.controls.yPoints = y;
        view.controls.dataGroups = groups;
        const std::size_t shown = prompter.asked.size();
        const std::size_t before = started.size();
        const bool ok = presenter->Next();
        EXPECT_EQ(ok, started.size() == before + 1);
        EXPECT_EQ(ok, prompter.asked.size() == shown);
        return ok ? "" : prompter.Last();
    }

    /// Every message the page shows is a plain one under the page's caption.
    void TearDown() override
    {
        for (const auto& [buttons, text] : prompter.asked)
            EXPECT_EQ(buttons, PromptButtons::Ok) << text;
        for (const std::string& caption : prompter.captions)
            EXPECT_EQ(caption, "IDS_MODULE_FIRSETDLG_PROMPT");
        TempProgramFolder::TearDown();
    }

    FakeView view;
    test::ScriptedPrompter prompter;
    test::KeyTexts texts;
    std::optional<ModuleParameterPresenter> presenter;
    std::vector<ModuleParameters> started;
};

TEST_F(ModuleParameterPresenterTest, InitialisationFillsChipListsAndDefaults)
{
    EXPECT_EQ(view.scanNames, (std::vector<std::u16string>{u"row", u"row2"}));
    EXPECT_EQ(view.driverNames, (std::vector<std::u16string>{u"simple", u"generic", u"pwm"}));
    EXPECT_EQ(view.controls, ModuleParameters{});
    EXPECT_FALSE(view.virtualControls);
    EXPECT_FALSE(view.hubCheck); // "simple" is type 2
}

TEST_F(ModuleParameterPresenterTest, NextChecksSizePointsAndGroupsInOrderAtTheirBounds)
{
    EXPECT_EQ(NextWith(256, 256), "");
    EXPECT_EQ(NextWith(257, 1), "IDS_MODULE_FIRSETDLG_MODULESIZEERROR");
    EXPECT_EQ(NextWith(1, 257), "IDS_MODULE_FIRSETDLG_MODULESIZEERROR");
    EXPECT_EQ(NextWith(0, 16), "IDS_MODULE_FIRSETDLG_POINTSERROR");
    EXPECT_EQ(NextWith(0, 300), "IDS_MODULE_FIRSETDLG_MODULESIZEERROR");
    EXPECT_EQ(NextWith(16, 16, 32), "");
    EXPECT_EQ(NextWith(16, 16, 33), "IDS_MODULE_FIRSETDLG_GROUPSERROR");
    EXPECT_EQ(NextWith(0, 16, 33), "IDS_MODULE_FIRSETDLG_POINTSERROR");
    EXPECT_EQ(NextWith(16, 16, 0), "IDS_MODULE_FIRSETDLG_GROUPSERROR");
    // The user's entries stay on the page after a refusal.
    EXPECT_EQ(view.controls.dataGroups, 0u);

    ModuleParameterPresenter empty(view, prompter, texts, ChipLibrary{}, m_root);
    view.controls.xPoints = 300;
    EXPECT_FALSE(empty.Next());
    EXPECT_EQ(prompter.Last(), "IDS_MODULE_FIRSETDLG_CHIPLOADFAILED");

    ModuleParameterPresenter damaged(
        view, prompter, texts, ChipLibrary::Load(Write("ChipLib.xml", "<main><chip>"), {}), m_root);
    view.controls = {};
    EXPECT_FALSE(damaged.Next()) << "no wizard with an empty driver chip";
    EXPECT_EQ(prompter.Last().rfind("IDS_MODULE_FIRSETDLG_CHIPLOADFAILED\n\n", 0), 0u);
    EXPECT_NE(prompter.Last().find("ChipLib.xml, line 1: "), std::string::npos) << prompter.Last();
}

TEST_F(ModuleParameterPresenterTest, OneGroupCutNeedsRowsOrColumnsDivisibleByTheGroups)
{
    view.controls.oneGroupCut = true;
    view.controls.driverChip = 2; // "pwm", type 0x30: multi-clock stays
    EXPECT_EQ(NextWith(16, 16, 3), "IDS_MODULE_FIRSETDLG_UNSUPPORTHORZSPLIT");
    view.controls.multiClock = 2; // k = 3 / 3 = 1
    EXPECT_EQ(NextWith(16, 16, 3), "");
    view.controls.multiClock = 1; // k = 4 / 2 = 2
    EXPECT_EQ(NextWith(16, 15, 4), "IDS_MODULE_FIRSETDLG_UNSUPPORTHORZSPLIT");
    EXPECT_EQ(NextWith(15, 16, 4), "");
    view.controls.splitMode = 1;
    EXPECT_EQ(NextWith(15, 16, 4), "IDS_MODULE_FIRSETDLG_UNSUPPORTVERTSPLIT");
    view.controls.multiClock = 3; // k = 2 / 4 = 0: nothing to test
    EXPECT_EQ(NextWith(15, 15, 2), "");
    view.controls.oneGroupCut = false;
    view.controls.multiClock = 0;
    EXPECT_EQ(NextWith(15, 16, 4), "");
}

TEST_F(ModuleParameterPresenterTest, SimpleDriverChipsLowerMultiClockBeforeAnyCheck)
{
    view.controls.driverChip = 0; // type 2
    view.controls.multiClock = 3;
    EXPECT_EQ(NextWith(300, 16), "IDS_MODULE_FIRSETDLG_MODULESIZEERROR");
    EXPECT_EQ(view.controls.multiClock, 1);
    EXPECT_EQ(presenter->Connectors().columns, 2u);
    EXPECT_EQ(presenter->Connectors().cells[0][1], 1);
    EXPECT_EQ(presenter->Connectors().cells[0][2], -1);
    EXPECT_EQ(presenter->Connectors().cells[1][0], -1);

    // The lowered value decides the split test: 3 groups / 2 gives k = 1.
    view.controls.multiClock = 2;
    view.controls.oneGroupCut = true;
    EXPECT_EQ(NextWith(16, 16, 3), "");
    EXPECT_EQ(started.back().multiClock, 1);

    view.controls.driverChip = 2; // type 0x30 keeps its clocks
    view.controls.multiClock = 3;
    view.controls.oneGroupCut = false;
    EXPECT_EQ(NextWith(16, 16), "");
    EXPECT_EQ(view.controls.multiClock, 3);
    EXPECT_EQ(presenter->Connectors().columns, 4u);
    EXPECT_EQ(presenter->Connectors().cells[0][3], 3);
}

TEST_F(ModuleParameterPresenterTest, NextTakesTheChosenChipsFromTheLibraries)
{
    view.controls.scanChip = 1;
    view.controls.driverChip = 1;
    view.controls.polarity = 1;
    view.controls.moduleType = ModuleType::Virtual;
    view.controls.virtualMode = 3;
    ASSERT_EQ(NextWith(32, 16), "");
    const ModuleDerivedValues& derived = presenter->Derived();
    EXPECT_EQ(derived.scanChip.name, u"row2");
    EXPECT_EQ(derived.driverChip.name, u"generic");
}

// The wizard's line factor for every grouping mode and line type the page offers: a full
// colour module has three lines per group where the mode carries the colours in threes, four
// otherwise, and one when they run in series on one line.
TEST(ModuleLineFactorTest, TheWizardFollowsTheTypeGroupingModeAndLineTypeOfThePage)
{
    for (const Choice& mode : choices::GroupDataModes()) {
        for (const Choice& line : choices::DataLineTypes()) {
            WizardInputs in;
            in.groupingMode = mode.value;
            in.dataLineType = line.value;
            const bool threeLines = in.groupingMode == 1 || in.groupingMode == 4 ||
                                    in.groupingMode == 6 || in.groupingMode == 8;
            in.colourType = WizardInputs::kFull;
            EXPECT_EQ(SmartWizard::LineFactor(in), in.dataLineType != 0 ? 1 : (threeLines ? 3 : 4))
                << in.groupingMode << "," << in.dataLineType;
            for (const auto& [type, factor] : {std::pair{WizardInputs::kSingle, 1},
                                               {WizardInputs::kDouble, 2},
                                               {WizardInputs::kVirtual, 4}}) {
                in.colourType = type;
                EXPECT_EQ(SmartWizard::LineFactor(in), factor);
            }
        }
    }
    EXPECT_EQ(choices::IndexOfValue(choices::DataLineTypes(), 5), 2);
    EXPECT_EQ(choices::IndexOfValue(choices::DataLineTypes(), 3), 0);
    EXPECT_STREQ(choices::GroupDataModes()[5].labelKey, "IDC_BOX_SETTING_STATIC_GROUP_6_DATA_MODE");
}

TEST_F(ModuleParameterPresenterTest, HubCheckAndVirtualControlsFollowTheChoices)
{
    view.controls.driverChip = 1; // "generic", type 0
    for (std::uint16_t mode = 0; mode <= 8; ++mode) {
        view.controls.groupDataMode = mode;
        presenter->DriverOrGroupModeChanged();
        EXPECT_EQ(view.hubCheck, mode == 1 || mode == 4) << mode;
    }
    view.controls.driverChip = 2; // type 0x30
    presenter->DriverOrGroupModeChanged();
    EXPECT_FALSE(view.hubCheck);
    view.controls.driverChip = -1;
    presenter->DriverOrGroupModeChanged();
    EXPECT_FALSE(view.hubCheck);

    presenter->TypeChanged(ModuleType::Virtual);
    EXPECT_TRUE(view.virtualControls);
    presenter->TypeChanged(ModuleType::DoubleColour);
    EXPECT_FALSE(view.virtualControls);
}

TEST_F(ModuleParameterPresenterTest, ApplyAndRestoreRoundTripThroughTheFile)
{
    view.controls.moduleType = ModuleType::Virtual;
    view.controls.virtualMode = 2;
    view.controls.scanChip = 1;
    view.controls.driverChip = 2;
    view.controls.xPoints = 64;
    view.controls.yPoints = 32;
    const ModuleParameters applied = view.controls;
    ASSERT_EQ(presenter->Apply(), 0);
    view.controls.xPoints = 65;
    view.controls.yPoints = 64;
    EXPECT_EQ(presenter->Apply(), -1);

    FakeView fresh;
    ModuleParameterPresenter reopened(fresh, prompter, texts, TestChips(), m_root);
    reopened.Initialise();
    reopened.Restore();
    EXPECT_EQ(fresh.controls, applied);
    EXPECT_TRUE(fresh.virtualControls);

    // A smaller library leaves the stored driver index without selection.
    FakeView smaller;
    ModuleParameterPresenter shrunk(smaller, prompter, texts,
                                    ChipLibrary({{u"row", 0, 1, 0, 0}, {u"only", 0, 0, 0, 0}}),
                                    m_root);
    shrunk.Initialise();
    shrunk.Restore();
    EXPECT_EQ(smaller.controls.driverChip, -1);
    EXPECT_EQ(smaller.controls.scanChip, -1);
}

TEST_F(ModuleParameterPresenterTest, CellDesignAsksThePanelForTheCellCount)
{
    std::vector<std::uint32_t> sent;
    std::optional<std::int32_t> answer = 0;
    presenter->SetSender(
        [&](const char* target, std::uint32_t message, std::uintptr_t, std::intptr_t) {
            EXPECT_STREQ(target, contract::kPluginId);
            sent.push_back(message);
            return answer;
        });
    presenter->CellDesign();
    EXPECT_FALSE(view.cellDesigned);
    answer = 3;
    presenter->CellDesign();
    EXPECT_TRUE(view.cellDesigned);
    EXPECT_EQ(presenter->CellCount(), 3);
    EXPECT_EQ(sent, (std::vector<std::uint32_t>{17, 17}));
    answer.reset();
    presenter->CellDesign();
    EXPECT_EQ(prompter.Last(), "IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD");
}

} // namespace
} // namespace md
