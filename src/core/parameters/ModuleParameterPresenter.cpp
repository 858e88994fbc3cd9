#include "core/parameters/ModuleParameterPresenter.h"

#include "core/parameters/ConnectorTable.h"
#include "md/ContractIds.h"

#include "core/parameters/ModuleParameterChoices.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include <algorithm>

namespace md {

namespace {

constexpr const char* kPromptCaption = "IDS_MODULE_FIRSETDLG_PROMPT";

std::vector<std::u16string> Names(const std::vector<ChipRecord>& chips)
{
    std::vector<std::u16string> names;
    names.reserve(chips.size());
    for (const ChipRecord& chip : chips)
        names.push_back(chip.name);
    return names;
}

} // namespace

ModuleParameterPresenter::ModuleParameterPresenter(ModuleParameterView& view, Prompter& prompter,
                                                   const Texts& texts, ChipLibrary library,
                                                   std::filesystem::path programFolder)
    : m_view(view), m_prompter(prompter), m_texts(texts), m_library(std::move(library)),
      m_scanChips(m_library.ScanChips()), m_driverChips(m_library.DriverChips()),
      m_config(std::move(programFolder))
{}

void ModuleParameterPresenter::Initialise()
{
    m_view.ShowChipLists(Names(m_scanChips), Names(m_driverChips));
    m_record = ModuleParameters{};
    m_view.ShowRecord(m_record);
    m_view.ShowVirtualControls(false);
    DriverOrGroupModeChanged();
}

ModuleConfigFile::ListSizes ModuleParameterPresenter::ListSizes() const
{
    ModuleConfigFile::ListSizes lists;
    lists.virtualModes = static_cast<std::int32_t>(choices::VirtualModes().size());
    lists.scanChips = static_cast<std::int32_t>(m_scanChips.size());
    lists.splitModes = static_cast<std::int32_t>(choices::SplitModes().size());
    lists.driverChips = static_cast<std::int32_t>(m_driverChips.size());
    lists.polarities = static_cast<std::int32_t>(choices::Polarities().size());
    lists.discharges = static_cast<std::int32_t>(choices::Discharges().size());
    return lists;
}

void ModuleParameterPresenter::Restore()
{
    m_record = m_view.ReadControls();
    if (!m_config.Read(m_record, ListSizes()))
        return;
    m_view.ShowRecord(m_record);
    m_view.ShowVirtualControls(m_record.moduleType == ModuleType::Virtual);
    DriverOrGroupModeChanged();
}

int ModuleParameterPresenter::Apply()
{
    m_record = m_view.ReadControls();
    return m_config.Write(m_record);
}

void ModuleParameterPresenter::TypeChanged(ModuleType type)
{
    m_view.ShowVirtualControls(type == ModuleType::Virtual);
}

const ChipRecord* ModuleParameterPresenter::ListedChip(std::int32_t index, bool scan) const
{
    const std::vector<ChipRecord>& chips = scan ? m_scanChips : m_driverChips;
    if (index < 0 || static_cast<std::size_t>(index) >= chips.size())
        return nullptr;
    // The record is the one whose name equals the text shown in the list.
    return m_library.Find(chips[static_cast<std::size_t>(index)].name, scan);
}

void ModuleParameterPresenter::TakeWizardPolarities(std::int32_t driverPolarity,
                                                    std::int32_t scanPolarity)
{
    m_library.SetPolarity(m_derived.driverChip.name, false, driverPolarity);
    m_library.SetPolarity(m_derived.scanChip.name, true, scanPolarity);
    m_derived.driverChip.polarity = driverPolarity;
    m_derived.scanChip.polarity = scanPolarity;
}

void ModuleParameterPresenter::TakeModuleSize(std::uint32_t width, std::uint32_t height)
{
    m_record = m_view.ReadControls();
    m_record.xPoints = width;
    m_record.yPoints = height;
    m_view.ShowRecord(m_record);
}

bool ModuleParameterPresenter::HubCheckVisible(std::int32_t driverIndex,
                                               std::uint16_t groupDataMode) const
{
    const ChipRecord* driver = ListedChip(driverIndex, false);
    return driver && driver->type == 0 && (groupDataMode == 1 || groupDataMode == 4);
}

void ModuleParameterPresenter::DriverOrGroupModeChanged()
{
    const ModuleParameters controls = m_view.ReadControls();
    m_record.groupDataMode = controls.groupDataMode;
    m_view.ShowHubAddressCheck(HubCheckVisible(controls.driverChip, controls.groupDataMode));
}

void ModuleParameterPresenter::Prompt(const char* key)
{
    m_prompter.Ask(PromptButtons::Ok, m_texts.Text(kPromptCaption), m_texts.Text(key));
}

bool ModuleParameterPresenter::Next()
{
    ModuleParameters& p = m_record;
    p = m_view.ReadControls();

    const ChipRecord* driver = ListedChip(p.driverChip, false);
    const ChipRecord* scan = ListedChip(p.scanChip, true);
    m_derived.driverChip = driver ? *driver : ChipRecord{};
    m_derived.scanChip = scan ? *scan : ChipRecord{};

    // Chips of the simple types drive at most two clocks.
    if (m_derived.driverChip.type >= 0 && m_derived.driverChip.type <= 3 && p.multiClock > 1) {
        p.multiClock = 1;
        m_view.ShowMultiClock(p.multiClock);
    }
    m_connectors->ForMultiClock(static_cast<std::uint32_t>(std::max(0, p.multiClock)));

    if (m_library.IsEmpty()) {
        std::u16string text = m_texts.Text("IDS_MODULE_FIRSETDLG_CHIPLOADFAILED");
        if (!m_library.Failure().empty())
            text += u"\n\n" + m_library.Failure();
        m_prompter.Ask(PromptButtons::Ok, m_texts.Text(kPromptCaption), text);
        return false;
    }
    if (p.xPoints > ModuleParameters::kMaxPoints || p.yPoints > ModuleParameters::kMaxPoints) {
        Prompt("IDS_MODULE_FIRSETDLG_MODULESIZEERROR");
        return false;
    }
    if (std::uint64_t{p.xPoints} * p.yPoints == 0) {
        Prompt("IDS_MODULE_FIRSETDLG_POINTSERROR");
        return false;
    }
    if (p.dataGroups == 0 || p.dataGroups > ModuleParameters::kMaxGroups) {
        Prompt("IDS_MODULE_FIRSETDLG_GROUPSERROR");
        return false;
    }
    if (p.oneGroupCut) {
        const std::uint32_t k = p.multiClock > 0
                                    ? p.dataGroups / static_cast<std::uint32_t>(p.multiClock + 1)
                                    : p.dataGroups;
        if (p.splitMode == 0 && k != 0 && p.yPoints % k != 0) {
            Prompt("IDS_MODULE_FIRSETDLG_UNSUPPORTHORZSPLIT");
            return false;
        }
        if (p.splitMode == 1 && k != 0 && p.xPoints % k != 0) {
            Prompt("IDS_MODULE_FIRSETDLG_UNSUPPORTVERTSPLIT");
            return false;
        }
    }
    if (m_startWizard)
        m_startWizard(m_record, m_derived);
    return true;
}

void ModuleParameterPresenter::CellDesign()
{
    const std::optional<std::int32_t> count =
        m_send ? m_send(contract::kPluginId, contract::kMsgCellDesign, 0, 0) : std::nullopt;
    if (!count) {
        Prompt("IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD");
        return;
    }
    m_cellCount = *count;
    m_view.ShowCellDesigned(m_cellCount >= 1);
}

} // namespace md
