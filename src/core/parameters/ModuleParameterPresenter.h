#pragma once

#include "core/parameters/ChipLibrary.h"
#include "core/parameters/ConnectorTable.h"
#include "core/parameters/ModuleConfigFile.h"
#include "core/parameters/ModuleDerivedValues.h"
#include "core/parameters/ModuleParameterView.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace md {

class Prompter;
class Texts;

/// The logic of the module parameter page: fills and enables its controls, checks the entries
/// in a fixed order on Next and derives what the wizard needs, and keeps the parameters in the
/// module configuration file.
class ModuleParameterPresenter
{
public:
    /// Sends a notification (target, message, wParam, lParam); nothing without the service.
    using Sender = std::function<std::optional<std::int32_t>(const char*, std::uint32_t,
                                                             std::uintptr_t, std::intptr_t)>;
    /// Starts the smart-setting wizard after a successful Next.
    using WizardStarter = std::function<void(const ModuleParameters&, const ModuleDerivedValues&)>;

    ModuleParameterPresenter(ModuleParameterView& view, Prompter& prompter, const Texts& texts,
                             ChipLibrary library, std::filesystem::path programFolder);

    /// Next rebuilds this connector table for the chosen multi-clock mode (the design's).
    void UseConnectorTable(ConnectorTable& table) { m_connectors = &table; }
    const ConnectorTable& Connectors() const { return *m_connectors; }

    /// Fills the chip lists and shows the default record.
    void Initialise();
    /// Shows the record stored in the module configuration file, when there is one.
    void Restore();
    /// Writes the control values to the module configuration file; 0 or -1.
    int Apply();

    void TypeChanged(ModuleType type);
    /// After a change of the driver chip or the grouping mode.
    void DriverOrGroupModeChanged();
    /// Checks and derives; true when the wizard was started (or would be, without a starter).
    bool Next();
    /// Takes what the wizard found out: the chips' polarities with its answers and the module
    /// size it settled on (after a split by one group or a crop).
    void TakeWizardPolarities(std::int32_t driverPolarity, std::int32_t scanPolarity);
    void TakeModuleSize(std::uint32_t width, std::uint32_t height);
    /// Asks the design panel how many cells are designed.
    void CellDesign();

    void SetWizardStarter(WizardStarter starter) { m_startWizard = std::move(starter); }
    void SetSender(Sender sender) { m_send = std::move(sender); }

    const ModuleParameters& Record() const { return m_record; }
    const ModuleDerivedValues& Derived() const { return m_derived; }
    const ChipLibrary& Library() const { return m_library; }
    std::int32_t CellCount() const { return m_cellCount; }
    /// The scan (or driver) chip at a list index; nullptr for -1 or beyond the list.
    const ChipRecord* ListedChip(std::int32_t index, bool scan) const;
    /// Whether the HUB-address check belongs on the page for this driver chip and grouping mode.
    bool HubCheckVisible(std::int32_t driverIndex, std::uint16_t groupDataMode) const;

private:
    void Prompt(const char* key);
    ModuleConfigFile::ListSizes ListSizes() const;

    ModuleParameterView& m_view;
    Prompter& m_prompter;
    const Texts& m_texts;
    ChipLibrary m_library;
    std::vector<ChipRecord> m_scanChips;
    std::vector<ChipRecord> m_driverChips;
    ModuleConfigFile m_config;
    ModuleParameters m_record;
    ModuleDerivedValues m_derived;
    std::int32_t m_cellCount = 0;
    WizardStarter m_startWizard;
    Sender m_send;
    ConnectorTable m_ownConnectors;
    ConnectorTable* m_connectors = &m_ownConnectors;
};

} // namespace md
