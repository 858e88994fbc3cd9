#pragma once

#include "core/document/LayoutStepPresenter.h"
#include "core/wizard/ModuleLayoutPresenter.h"
#include "gui/platform/QtDesignPorts.h"

#include <QDialog>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QStackedLayout;
class QToolBar;

namespace md {

class CameraTraceDock;
class CCellDesignCtrl;
class CLedLayoutCtrl;
class CStatusBarInfoDlg;
class ModuleDesignDocument;
class PointGo;
struct PointGoPortChoice;
class PointTracer;
class StatusBarInfo;

/// The layout step (dialog 20006), the working window of a design: the step toolbar, the layout
/// grid in which the module is traced, its status bar, and the commands of the design panel.
/// Its logic is LayoutStepPresenter's; this window binds it to widgets.
class ModuleLayoutDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20006;
    // Step toolbar and design commands.
    static constexpr int kNewLayout = 0x1000E;
    static constexpr int kFirstGridCommand = 0x1000F;
    static constexpr int kLastGridCommand = 0x1001E;
    static constexpr int kToggleDesign = 0x10020;
    static constexpr int kZoomIn = 0x10021;
    static constexpr int kZoomOut = 0x10022;
    static constexpr int kRepeat = 0x10023;
    static constexpr int kFinish = 0x10024;
    static constexpr int kHubArrangement = 0x10025;
    static constexpr int kInsertVirtual = 0x10026;
    // Window commands forwarded by the design panel.
    static constexpr int kWindowZoomIn = 5123;
    static constexpr int kWindowZoomOut = 5122;
    static constexpr int kWindowRepeat = 5138;
    /// The mouse wheel with its delta as the argument: scrolls the grid.
    static constexpr int kWindowWheel = 5142;

    /// lights: the light library; the host's record set when not given.
    explicit ModuleLayoutDlg(ModuleDesignDocument& document, QWidget* parent = nullptr,
                             CellDesignPresenter::LightSource lights = {});
    ~ModuleLayoutDlg() override;

    LayoutStepPresenter& Step() { return *m_step; }
    /// The message boxes, dialogs, texts and file settings this step (and its panel) use.
    QtDesignPorts& Ports() { return m_ports; }
    ModuleLayoutPresenter& Presenter() { return *m_cell; }
    /// The cell design dialog; created on first use.
    CCellDesignCtrl* CellDesignCtrl() const { return m_cellDesign; }
    /// Runs the cell design (asking first when a cell exists) and returns its pixel count.
    int RunCellDesign();

    /// A step or panel command; false when it is not available now.
    bool Command(int id);
    /// Whether a command can run now (the grid answers for its own).
    bool Available(int id) const;
    /// Ctrl+Z while point-go is selected: its last LED is taken back (not redoable); false when
    /// point-go is not selected and the design's undo applies.
    bool PointGoUndo();
    /// A window command of the design panel (5122, 5123, 5138, 5142); the others are ignored.
    void WindowCommand(int message, std::intptr_t argument);
    /// Shows the document's grid (a new one after New layout or Open), or the empty state.
    void SyncGrid();
    /// Repaints the grid after its tracing changed elsewhere (an undo or redo).
    void RefreshGrid();
    /// Drops the grid window (the document's layout went away or changes).
    void DropGrid();

    CLedLayoutCtrl* Grid() const { return m_grid; }
    /// Point-go on the current grid; null without one.
    PointGo* PointGoRun() const { return m_pointGo.get(); }
    QToolBar* StepToolbar() const { return m_toolbar; }
    /// The tool window of tracing by camera; created when first shown.
    CameraTraceDock* CameraDock() const { return m_cameraDock; }
    /// Sent after every change of the design (notification 6 goes to the host).
    void SetChangedHandler(std::function<void()> handler) { m_onChanged = std::move(handler); }
    /// The background designer should be shown (0x10020) with the grid's zoom.
    std::function<void(bool show, double zoom)> onToggleDesign;

private:
    void BuildToolbar();
    void BuildPointGoActions();
    void ShowCameraDock(bool shown);
    bool PointGoCommand(int id);
    std::optional<std::size_t> ChooseLed(const std::vector<CellLed>& leds,
                                         const std::vector<std::size_t>& candidates);
    /// The test device's port and rate as point-go opens them (the user's choice first).
    PointGoPortChoice ChosenPointGoPort() const;
    /// Chooses and tests the test device's port and rate (own::kPointGoPortCommand).
    void RunPointGoPortDialog();
    void UpdateActions();
    void RunHubArrangement();
    void Changed();

    ModuleDesignDocument& m_document;
    QtDesignPorts m_ports;
    std::unique_ptr<LayoutStepPresenter> m_step;
    std::unique_ptr<ModuleLayoutPresenter> m_cell;
    std::unique_ptr<StatusBarInfo> m_status;
    CCellDesignCtrl* m_cellDesign = nullptr;
    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_actions;
    QStackedLayout* m_stack = nullptr;
    QLabel* m_empty = nullptr;
    CLedLayoutCtrl* m_grid = nullptr;
    std::unique_ptr<PointGo> m_pointGo;
    CStatusBarInfoDlg* m_statusView = nullptr;
    CameraTraceDock* m_cameraDock = nullptr;
    const PointTracer* m_gridTracer = nullptr;
    std::uint64_t m_gridLayout = 0; ///< the document's layout number the grid was made for
    bool m_designVisible = false;
    std::function<void()> m_onChanged;
};

} // namespace md
