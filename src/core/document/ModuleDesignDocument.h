#pragma once

#include "core/controller/ControllerLink.h"
#include "core/design/BackgroundDesign.h"
#include "core/design/CellDesign.h"
#include "core/design/NewModuleInfoRecord.h"
#include "core/design/SocketDesign.h"
#include "core/io/ProgramFolder.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/LayoutSetup.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/panel/ToolbarModel.h"
#include "core/parameters/ConnectorTable.h"
#include "core/wizard/SmartWizard.h"
#include "md/ModuleRecord.h"

#include <filesystem>
#include <memory>
#include <string>

namespace md {

class CodePage;
class PointTracer;
class Prompter;
class Texts;

/// Everything a design is while it is open: the module record the wizard handed over, the
/// module information, the socket, the cell, the layout grid with its tracing, the background,
/// the connector table, the controller link, the current file and whether it holds unsaved
/// changes. One per plug-in object; the panel, the layout step, the settings page and the
/// wizard all work on it.
class ModuleDesignDocument
{
public:
    explicit ModuleDesignDocument(ProgramFolder folder);
    ~ModuleDesignDocument();
    ModuleDesignDocument(const ModuleDesignDocument&) = delete;
    ModuleDesignDocument& operator=(const ModuleDesignDocument&) = delete;

    const ProgramFolder& Folder() const { return m_folder; }

    /// The module record of the last hand-over (zero before one).
    const ModuleRecord& Record() const { return m_record; }
    bool HasRecord() const { return m_hasRecord; }
    /// Takes a handed-over record: the module information's kind, scan rows and size, the
    /// layout setup and the connector table come from it.
    void TakeRecord(const ModuleRecord& record);
    /// A design read from a file without a wizard run: the setup follows the module
    /// information's size and scan rows.
    void SetupFromModuleInfo();

    NewModuleInfoRecord& ModuleInfo() { return m_moduleInfo; }
    SocketDesign& Socket() { return m_socket; }
    BackgroundDesign& Background() { return m_background; }
    CellDesign& Cell() { return m_cell; }
    LayoutSetup& Setup() { return m_setup; }
    LayoutModel& Layout() { return m_layout; }
    ConnectorTable& Connectors() { return m_connectors; }
    WizardMemory& Wizard() { return m_wizard; }
    ControllerLink& Controller() { return m_controller; }
    /// The toolbar strip's groups: filled by the panel's views, shown by the strip.
    ToolbarModel& Toolbar() { return m_toolbar; }
    /// The serial line to a point-go test device; open from hardware start to the design's end.
    SerialPointGoLink& PointGoLink() { return m_pointGoLink; }
    /// The words the handshake announces polarity pins with: the record's driver and scan
    /// polarity, and the state chosen in wizard step 1 (2 when its bit is set, else 1).
    HandshakeWords PointGoWords() const;

    /// The layout grid's tracing; null until a new layout is made or a layout is read.
    PointTracer* Tracer() const { return m_tracer.get(); }
    /// Builds the grid for the setup's size from the cell's four slots and its tracing.
    PointTracer& CreateLayout(const Texts& texts, Prompter& prompter);
    /// Drops the grid and its tracing.
    void DestroyLayout();

    const std::filesystem::path& FilePath() const { return m_filePath; }
    /// The file name part of the path (empty for a new design).
    std::u16string FileTitle() const;
    void SetFilePath(std::filesystem::path path) { m_filePath = std::move(path); }
    /// Unsaved changes since the last new, open or save.
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    /// Combines the temporary driver and HUB files into the combined file again with the
    /// wizard's last values for a module of the given size; false when there were none or a
    /// file is missing.
    bool CombineTemporaryFiles(std::uint32_t width, std::uint32_t height, const CodePage& codePage);

    /// Back to no design: every model empty, no file, no layout. The controller link, the
    /// wizard's answers and the cell design stay (they belong to the parameter page's work).
    void Clear();

private:
    ProgramFolder m_folder;
    ModuleRecord m_record{};
    bool m_hasRecord = false;
    ToolbarModel m_toolbar;
    NewModuleInfoRecord m_moduleInfo;
    SocketDesign m_socket;
    BackgroundDesign m_background;
    CellDesign m_cell;
    LayoutSetup m_setup;
    LayoutModel m_layout;
    std::unique_ptr<PointTracer> m_tracer;
    ConnectorTable m_connectors;
    WizardMemory m_wizard;
    ControllerLink m_controller;
    SerialPointGoLink m_pointGoLink;
    std::filesystem::path m_filePath;
    bool m_modified = false;
};

} // namespace md
