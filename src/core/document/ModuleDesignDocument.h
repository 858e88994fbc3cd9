#pragma once

#include "core/controller/ControllerLink.h"
#include "core/design/BackgroundDesign.h"
#include "core/design/CellDesign.h"
#include "core/design/NewModuleInfoRecord.h"
#include "core/design/SocketDesign.h"
#include "core/document/DesignEdits.h"
#include "core/io/ProgramFolder.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/LayoutSetup.h"
#include "core/layout/PointGoResult.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/panel/ToolbarModel.h"
#include "core/parameters/ConnectorTable.h"
#include "core/wizard/SmartWizard.h"
#include "md/ModuleRecord.h"

#include <filesystem>
#include <functional>
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
    const NewModuleInfoRecord& ModuleInfo() const { return m_moduleInfo; }
    SocketDesign& Socket() { return m_socket; }
    const SocketDesign& Socket() const { return m_socket; }
    BackgroundDesign& Background() { return m_background; }
    const BackgroundDesign& Background() const { return m_background; }
    CellDesign& Cell() { return m_cell; }
    const CellDesign& Cell() const { return m_cell; }
    LayoutSetup& Setup() { return m_setup; }
    const LayoutSetup& Setup() const { return m_setup; }
    LayoutModel& Layout() { return m_layout; }
    const LayoutModel& Layout() const { return m_layout; }
    ConnectorTable& Connectors() { return m_connectors; }
    const ConnectorTable& Connectors() const { return m_connectors; }
    /// Replaces the connector table (the HUB connector arrangement confirmed).
    void SetConnectors(const ConnectorTable& table);
    WizardMemory& Wizard() { return m_wizard; }
    ControllerLink& Controller() { return m_controller; }
    /// The toolbar strip's groups: filled by the panel's views, shown by the strip.
    ToolbarModel& Toolbar() { return m_toolbar; }
    /// The serial line to a point-go test device; open from hardware start to the design's end.
    SerialPointGoLink& PointGoLink() { return m_pointGoLink; }
    /// The words the handshake announces polarity pins with: the record's driver and scan
    /// polarity, and the state chosen in wizard step 1 (2 when its bit is set, else 1).
    HandshakeWords PointGoWords() const;
    /// The layout point-go builds LED by LED, apart from the tracer's layout result until
    /// Finish takes it; it goes with the grid it was recorded on.
    PointGoResult& PointGoLayout() { return m_pointGoLayout; }
    const PointGoResult& PointGoLayout() const { return m_pointGoLayout; }

    /// The layout grid's tracing; null until a new layout is made or a layout is read.
    PointTracer* Tracer() const { return m_tracer.get(); }
    /// Builds the grid for the setup's size from the cell's four slots and its tracing.
    PointTracer& CreateLayout(const Texts& texts, Prompter& prompter);
    /// A grid was made or read and stands ready: the tracing listener hears a Reset, so what
    /// follows counts from this grid.
    void LayoutReady();
    /// Drops the grid and its tracing.
    void DestroyLayout();
    /// Counts the grids made and dropped: a view shows the grid it was made for while this
    /// stands (a new tracing may take the old one's place in memory).
    std::uint64_t LayoutNumber() const { return m_layoutNumber; }

    /// The design's undo history; a new layout, a new, opened or cleared design start it over.
    DesignEdits& Edits() { return m_edits; }
    const DesignEdits& Edits() const { return m_edits; }

    const std::filesystem::path& FilePath() const { return m_filePath; }
    /// The file name part of the path (empty for a new design).
    std::u16string FileTitle() const;
    void SetFilePath(std::filesystem::path path) { m_filePath = std::move(path); }
    /// Unsaved changes: the design differs from the one last saved, opened or started. The
    /// models raise their change signals; what counts is the design's content, so an edit
    /// undone again leaves the design unmodified.
    bool Modified() const;
    /// The design as it stands is the saved one (a successful save or open, a new design).
    void MarkSaved();
    /// A design brought back from its recovery record: unsaved, whatever it holds.
    void MarkUnsaved();
    /// Told of every tracing step after the undo history took it (the recovery record).
    void SetTracingListener(std::function<void(const PointTracer::Event&)> listener)
    {
        m_tracingListener = std::move(listener);
    }
    /// Called with the new state whenever the modified state flips.
    void SetModifiedHandler(std::function<void(bool)> handler);
    /// How a change is looked at later: the views post Refresh to their event loop, so a burst
    /// of changes is compared once. Without one, changes are looked at by the next Refresh.
    void SetRefreshScheduler(std::function<void()> schedule);
    /// A model's content may have changed.
    void Touch();
    /// Compares the design with the saved one and reports a flip of the modified state.
    void Refresh();

    /// Whether the open design may be replaced (by the wizard's hand-over): asks the question
    /// the panel asks before a new design, and saves on Yes. True without a panel.
    bool MayReplaceDesign();
    void SetReplaceGuard(std::function<bool()> guard) { m_replaceGuard = std::move(guard); }

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
    std::uint64_t m_layoutNumber = 0;
    ConnectorTable m_connectors;
    WizardMemory m_wizard;
    ControllerLink m_controller;
    SerialPointGoLink m_pointGoLink;
    PointGoResult m_pointGoLayout;
    std::filesystem::path m_filePath;
    DesignEdits m_edits{*this};
    std::uint64_t m_savedFingerprint = 0;
    bool m_reportedModified = false;
    bool m_refreshPending = false;
    std::function<void(bool)> m_onModified;
    std::function<void(const PointTracer::Event&)> m_tracingListener;
    std::function<void()> m_scheduleRefresh;
    std::function<bool()> m_replaceGuard;
};

} // namespace md
