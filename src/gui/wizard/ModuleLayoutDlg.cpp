#include "gui/wizard/ModuleLayoutDlg.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointGoPort.h"
#include "core/layout/PointTracer.h"
#include "core/layout/StatusBarInfo.h"
#include "core/posix/IniProfile.h"
#include "gui/camera/CameraTraceDock.h"
#include "gui/design/CCellDesignCtrl.h"
#include "gui/design/PixDecomposeModeDlg.h"
#include "gui/host/HostLink.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/layout/CStatusBarInfoDlg.h"
#include "gui/layout/PointGoActions.h"
#include "gui/layout/PointGoLedPicker.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"
#include "gui/wizard/HubAddressDlg.h"
#include "md/OwnIds.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QLabel>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace md {

namespace {

struct StepButton
{
    int command;
    const char* key;
    const char* fallback;
    const char* image;
};

constexpr StepButton kButtons[] = {
    {ModuleLayoutDlg::kZoomOut, "IDS_MODULE_STEP5DLG_LAYOUT_ZOONOUT", "放大",
     "toolbaricon_magnify.png"},
    {ModuleLayoutDlg::kZoomIn, "IDS_MODULE_STEP5DLG_LAYOUT_ZOONIN", "缩小",
     "toolbaricon_zoolout.png"},
    {ModuleLayoutDlg::kRepeat, "IDS_MODULE_STEP5DLG_LAYOUT_REPEAT", "撤销",
     "toolbaricon_repeat.png"},
    {ModuleLayoutDlg::kFinish, "IDS_MODULE_STEP5DLG_LAYOUT_FINISH", "完成",
     "toolbaricon_finish.png"},
    {ModuleLayoutDlg::kHubArrangement, "IDS_MODULE_STEP5DLG_LAYOUT_OPATION", "HUB插头排列",
     "toolbaricon_option.png"},
    {ModuleLayoutDlg::kInsertVirtual, "IDS_MD_STEP5_INSERT_VIRTUAL", "插入虚点",
     "toolbaricon_ivp.png"},
};

} // namespace

ModuleLayoutDlg::ModuleLayoutDlg(ModuleDesignDocument& document, QWidget* parent,
                                 CellDesignPresenter::LightSource lights)
    : QDialog(parent), m_document(document), m_ports(document.Folder().RunInfo())
{
    SetResourceId(this, kResourceId);
    setWindowFlags(Qt::Widget);
    setWindowTitle(HostText("IDS_MODULE_STEP5DLG_LAYOUT_TITLE", QStringLiteral("智能设置--步骤5")));
    if (!lights)
        lights = &HostLink::Lights;
    m_step = std::make_unique<LayoutStepPresenter>(
        document, LayoutStepPorts{m_ports.prompter, m_ports.texts, m_ports.chooser, m_ports.Files(),
                                  [this] { Changed(); }});
    m_cell = std::make_unique<ModuleLayoutPresenter>(
        CellDesignPresenter::Ports{m_ports.prompter, m_ports.texts, m_ports.codec, m_ports.chooser,
                                   std::move(lights)},
        document.Folder(), &document.Cell());
    m_status = std::make_unique<StatusBarInfo>(m_ports.texts, m_ports.prompter);
    m_onChanged = HostLink::NotifyDesignChanged;
    // Tracing lights the module through the command area: the step maps it for as long as it
    // exists, whether or not the module parameter page was ever made.
    m_document.Controller().Hold(IniProfile(IniProfile::DefaultPath()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolbar();
    layout->addWidget(m_toolbar);
    m_stack = new QStackedLayout;
    m_empty = new QLabel(this);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_empty->setText(HostText("IDS_MD_STEP5DLG_NEW_LAYOUT_HINT",
                              QStringLiteral("No layout yet. Choose New layout (Ctrl+L) to trace "
                                             "the module, or open a driver file.")));
    m_stack->addWidget(m_empty);
    layout->addLayout(m_stack, 1);
    m_statusView = new CStatusBarInfoDlg(*m_status, m_ports.texts, this);
    layout->addWidget(m_statusView);

    auto* newLayout = new QAction(HostText("IDS_MD_STEP5DLG_NEW_LAYOUT", "New layout"), this);
    SetResourceId(newLayout, kNewLayout);
    newLayout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    newLayout->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(newLayout, &QAction::triggered, this, [this] { Command(kNewLayout); });
    addAction(newLayout);
    m_actions[kNewLayout] = newLayout;
    BuildPointGoActions();
    UpdateActions();
}

ModuleLayoutDlg::~ModuleLayoutDlg()
{
    m_pointGo.reset();
    // The child windows work on this dialog's members (texts, status) and the document's
    // models: they go before the members do.
    delete m_cellDesign;
    // Tracing by camera stops before the grid's blink timer goes.
    delete m_cameraDock;
    delete m_grid;
    delete m_statusView;
    m_document.Controller().LetGo();
}

void ModuleLayoutDlg::BuildToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setIconSize(QSize(28, 28));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const std::filesystem::path pictures = m_document.Folder().PluginData();
    for (const StepButton& button : kButtons) {
        const QString text = HostText(button.key, QString::fromUtf8(button.fallback));
        QAction* action = m_toolbar->addAction(
            QIcon(QString::fromStdString((pictures / button.image).string())), text);
        SetResourceId(action, button.command);
        const int command = button.command;
        connect(action, &QAction::triggered, this, [this, command] { Command(command); });
        m_actions[command] = action;
    }
    auto* camera = m_toolbar->addAction(
        QIcon(QString::fromStdString((pictures / "toolbaricon_camera.png").string())),
        HostText("IDS_MD_CAMERA_TRACE", QStringLiteral("Trace by camera")));
    SetResourceId(camera, own::kTraceByCamera);
    camera->setCheckable(true);
    camera->setToolTip(
        HostText("IDS_MD_CAMERA_TRACE_TIP",
                 QStringLiteral(
                     "Trace the module hands-free: a camera watches it and clicks each lit LED")));
    connect(camera, &QAction::toggled, this, &ModuleLayoutDlg::ShowCameraDock);
    m_actions[own::kTraceByCamera] = camera;
    m_actions[kFinish]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    // Ctrl+Z belongs to the panel's undo, which takes back a tracing step too.
    m_actions[kZoomIn]->setShortcut(QKeySequence::ZoomOut);
    m_actions[kZoomOut]->setShortcut(QKeySequence::ZoomIn);
    for (auto& [id, action] : m_actions)
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
}

void ModuleLayoutDlg::BuildPointGoActions()
{
    // Keyboard and automation reach the work-area and point-go commands here; the design
    // panel's toolbar offers them as buttons.
    for (const PointGoAction& entry : PointGoActions()) {
        auto* action = new QAction(HostText(entry.key, QString::fromUtf8(entry.fallback)), this);
        SetResourceId(action, entry.command);
        if (entry.shortcut != QKeyCombination())
            action->setShortcut(QKeySequence(entry.shortcut));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        const int command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { Command(command); });
        addAction(action);
        m_actions[command] = action;
    }
}

void ModuleLayoutDlg::ShowCameraDock(bool shown)
{
    if (!m_cameraDock) {
        if (!shown)
            return;
        m_cameraDock =
            new CameraTraceDock(m_document.Controller().Channel(), HostLink::Services(), this);
        m_cameraDock->SetTracer(m_grid ? m_document.Tracer() : nullptr,
                                m_grid ? &m_grid->Timer() : nullptr);
        connect(m_cameraDock, &CameraTraceDock::traced, this, [this] {
            if (m_grid)
                m_grid->Refresh();
            UpdateActions();
        });
        // Closing the window unchecks the button.
        connect(m_cameraDock, &CameraTraceDock::visibilityChanged, this,
                [this](bool visible) { m_actions[own::kTraceByCamera]->setChecked(visible); });
    }
    m_cameraDock->setVisible(shown);
}

std::optional<std::size_t> ModuleLayoutDlg::ChooseLed(const std::vector<CellLed>& leds,
                                                      const std::vector<std::size_t>& candidates)
{
    return ChoosePointGoLed(m_document.Cell(), leds, candidates, QCursor::pos(), this);
}

bool ModuleLayoutDlg::PointGoCommand(int id)
{
    PointGo::CommandContext context;
    context.socket = &m_document.Socket();
    context.words = m_document.PointGoWords();
    context.decompose =
        [this](std::array<std::uint32_t, 3> codes) -> std::optional<std::array<std::uint32_t, 3>> {
        PixDecomposeModeDlg dialog(m_document.Folder(), this);
        dialog.SetModes(codes);
        if (dialog.Run() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Modes();
    };
    context.confirmReset = [this] {
        return m_ports.prompter.Ask(PromptButtons::YesNo, m_ports.texts.TextOrKey("ID_PROMPT"),
                                    m_ports.texts.TextOr("IDS_MD_POINT_GO_RESET_ASK",
                                                         u"Throw away the layout point-go has "
                                                         u"built so far?")) == PromptAnswer::Yes;
    };
    bool handled = false;
    if (id == PointGo::kMarkAllCommand || id == PointGo::kUnmarkAllCommand)
        m_document.Edits().Marks([&] { handled = m_pointGo->Command(id, context); });
    else
        handled = m_pointGo->Command(id, context);
    // The device's answers are taken from the grid's timer, also after a finished tracing
    // stopped it.
    if (m_document.Tracer()->EditMode() >= PointTracer::kFirstDeviceMode &&
        !m_grid->Timer().isActive())
        m_grid->Timer().start();
    m_grid->Refresh();
    if (id == PointGo::kFirstLayerCommand + 1 || id == PointGo::kFirstLayerCommand + 2)
        m_grid->Grid()->setFocus();
    m_status->SetStatusText(m_pointGo->StatusText());
    return handled;
}

void ModuleLayoutDlg::Changed()
{
    UpdateActions();
    if (m_onChanged)
        m_onChanged();
}

void ModuleLayoutDlg::UpdateActions()
{
    for (auto& [id, action] : m_actions)
        action->setEnabled(Available(id));
}

bool ModuleLayoutDlg::Available(int id) const
{
    PointTracer* tracer = m_document.Tracer();
    // While point-go is selected it holds the layout: undo steps back its last LED, Finish
    // takes its result once complete, and tracing's own steps wait.
    const bool pointGo = m_pointGo && m_pointGo->Selected();
    switch (id) {
    case kNewLayout:
        return m_document.Setup().width > 0 && m_document.Setup().height > 0;
    case kRepeat:
        return tracer != nullptr && (!pointGo || m_document.PointGoLayout().Cursor() > 0);
    case kFinish:
        return tracer != nullptr && (!pointGo || m_document.PointGoLayout().Complete());
    case kZoomIn:
    case kZoomOut:
    case kHubArrangement:
    case kToggleDesign:
        return tracer != nullptr;
    case own::kPointGoPortCommand:
    case own::kTraceByCamera:
        return true;
    case kInsertVirtual: {
        std::uint32_t position = 0, count = 0;
        return tracer && !pointGo &&
               (tracer->AdvancedStarted() || tracer->VirtualPointDialogValues(position, count));
    }
    case PointGo::kSkipCommand:
        return tracer != nullptr && m_grid != nullptr && pointGo;
    default:
        // The grid's own commands go to it while it exists; each says itself when it cannot
        // run (no test device answered, no work area).
        return id >= kFirstGridCommand && id <= kLastGridCommand && tracer != nullptr &&
               m_grid != nullptr && m_pointGo != nullptr;
    }
}

bool ModuleLayoutDlg::Command(int id)
{
    if (!Available(id)) {
        // Finish reached while point-go has not recorded every LED: the step says why.
        if (id == kFinish && m_pointGo && m_pointGo->Selected())
            m_step->Finish();
        return false;
    }
    PointTracer* tracer = m_document.Tracer();
    switch (id) {
    case kNewLayout:
        if (m_step->NewLayout())
            SyncGrid();
        break;
    case kZoomIn:
        m_grid->ZoomOut();
        break;
    case kZoomOut:
        m_grid->ZoomIn();
        break;
    case kRepeat:
        if (!PointGoUndo())
            tracer->Undo();
        m_grid->Refresh();
        break;
    case kFinish:
        if (!m_step->Finish())
            return false;
        m_grid->Refresh();
        break;
    case kHubArrangement:
        RunHubArrangement();
        break;
    case own::kPointGoPortCommand:
        RunPointGoPortDialog();
        break;
    case own::kTraceByCamera:
        m_actions[id]->toggle();
        break;
    case kInsertVirtual:
        m_grid->OpenVirtualPointDialog();
        break;
    case kToggleDesign:
        m_designVisible = !m_designVisible;
        if (onToggleDesign)
            onToggleDesign(m_designVisible, m_document.Layout().Zoom());
        break;
    default:
        if (!PointGoCommand(id))
            return false;
        break;
    }
    UpdateActions();
    return true;
}

bool ModuleLayoutDlg::PointGoUndo()
{
    if (!m_pointGo || !m_pointGo->Selected())
        return false;
    m_pointGo->StepBack();
    if (m_grid)
        m_grid->Refresh();
    m_status->SetStatusText(m_pointGo->StatusText());
    UpdateActions();
    return true;
}

void ModuleLayoutDlg::WindowCommand(int message, std::intptr_t argument)
{
    switch (message) {
    case kWindowZoomIn:
        Command(kZoomOut);
        break;
    case kWindowZoomOut:
        Command(kZoomIn);
        break;
    case kWindowRepeat:
        Command(kRepeat);
        break;
    case kWindowWheel:
        // As one notch of the wheel over the grid: down for a negative delta, up otherwise.
        if (m_grid) {
            QScrollBar* bar = m_grid->Grid()->verticalScrollBar();
            const int step = bar->singleStep() * QApplication::wheelScrollLines();
            bar->setValue(bar->value() + (argument < 0 ? step : -step));
        }
        break;
    default:
        break;
    }
}

void ModuleLayoutDlg::RunHubArrangement()
{
    PointTracer* tracer = m_document.Tracer();
    std::int32_t connector = static_cast<std::int32_t>(tracer->HubAddress());
    std::int32_t row = static_cast<std::int32_t>(tracer->RowAddress());
    m_document.Edits().Connectors([&] {
        HubAddressDlg dialog(&connector, &row, m_document.Connectors(),
                             static_cast<int>(m_document.Setup().multiClock), m_document.Wizard(),
                             m_document.Controller().Channel(), this);
        dialog.exec();
        tracer->HubAddress() = static_cast<std::uint32_t>(connector);
        tracer->RowAddress() = static_cast<std::uint32_t>(row);
        m_step->TakeConnectorTable();
    });
}

void ModuleLayoutDlg::DropGrid()
{
    if (!m_grid)
        return;
    if (m_cameraDock)
        m_cameraDock->SetTracer(nullptr, nullptr); // before the blink timer goes
    m_stack->removeWidget(m_grid);
    delete m_grid;
    m_grid = nullptr;
    m_pointGo.reset();
    m_gridTracer = nullptr;
    m_stack->setCurrentWidget(m_empty);
    UpdateActions();
}

void ModuleLayoutDlg::SyncGrid()
{
    PointTracer* tracer = m_document.Tracer();
    if (tracer != m_gridTracer || m_document.LayoutNumber() != m_gridLayout || !tracer)
        DropGrid();
    if (!tracer) {
        UpdateActions();
        return;
    }
    if (!m_grid) {
        m_grid = new CLedLayoutCtrl(m_document.Layout(), *tracer, m_ports.texts, this);
        m_grid->SetStatusBar(m_status.get());
        connect(m_grid, &CLedLayoutCtrl::traced, this, [this] { UpdateActions(); });
        connect(m_grid, &CLedLayoutCtrl::dragStarted, this,
                [this] { m_document.Edits().Stack().BeginMacro(); });
        connect(m_grid, &CLedLayoutCtrl::dragEnded, this,
                [this] { m_document.Edits().Stack().EndMacro(); });
        m_pointGo = std::make_unique<PointGo>(
            *tracer, m_document.PointGoLayout(), m_document.PointGoLink(),
            PointGo::Ports{m_ports.prompter, m_ports.texts, m_ports.clock,
                           [this](const std::vector<CellLed>& leds,
                                  const std::vector<std::size_t>& candidates) {
                               return ChooseLed(leds, candidates);
                           },
                           [this](std::u16string& reason) {
                               return OpenPointGoPort(ChosenPointGoPort(), m_ports.texts, reason);
                           }});
        m_pointGo->SetChangedHandler([this] { UpdateActions(); });
        m_grid->SetPointGo(m_pointGo.get());
        m_stack->addWidget(m_grid);
        m_gridTracer = tracer;
        m_gridLayout = m_document.LayoutNumber();
        m_grid->Create();
        if (m_cameraDock)
            m_cameraDock->SetTracer(tracer, &m_grid->Timer());
    }
    m_stack->setCurrentWidget(m_grid);
    m_grid->setFocus();
    UpdateActions();
}

int ModuleLayoutDlg::RunCellDesign()
{
    // A run of the cell design is one edit.
    int result = 0;
    m_document.Edits().Cell([&] {
        result = m_cell->RunCellDesign([this](CellDesignPresenter& cell) {
            if (!m_cellDesign)
                m_cellDesign = new CCellDesignCtrl(cell, this);
            m_cellDesign->Run();
        });
        return true;
    });
    return result;
}

void ModuleLayoutDlg::RefreshGrid()
{
    if (m_pointGo)
        m_pointGo->FollowTracer();
    if (m_grid)
        m_grid->Refresh();
    UpdateActions();
}

} // namespace md
