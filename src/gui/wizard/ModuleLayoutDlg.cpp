#include "wizard/ModuleLayoutDlg.h"

#include "design/CCellDesignCtrl.h"
#include "document/ModuleDesignDocument.h"
#include "layout/CLedLayoutCtrl.h"
#include "layout/CStatusBarInfoDlg.h"
#include "layout/PointTracer.h"
#include "layout/StatusBarInfo.h"
#include "plugin/HostLink.h"
#include "ui/HostText.h"
#include "ui/ResourceId.h"
#include "wizard/HubAddressDlg.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QStackedLayout>
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
    {ModuleLayoutDlg::kHubArrangement, "IDS_MODULE_STEP5DLG_LAYOUT_OPATION", "选项",
     "toolbaricon_option.png"},
    {ModuleLayoutDlg::kInsertVirtual, nullptr, "插入虚点", "toolbaricon_ivp.png"},
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

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolbar();
    layout->addWidget(m_toolbar);
    m_stack = new QStackedLayout;
    m_empty = new QLabel(this);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_empty->setText(HostText("IDS_MODULE_STEP5DLG_NEW_LAYOUT_HINT",
                              QStringLiteral("No layout yet. Choose New layout (Ctrl+L) to trace "
                                             "the module, or open a driver file.")));
    m_stack->addWidget(m_empty);
    layout->addLayout(m_stack, 1);
    m_statusView = new CStatusBarInfoDlg(*m_status, m_ports.texts, this);
    layout->addWidget(m_statusView);

    auto* newLayout = new QAction(HostText("IDS_MODULE_STEP5DLG_NEW_LAYOUT", "New layout"), this);
    SetResourceId(newLayout, kNewLayout);
    newLayout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    newLayout->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(newLayout, &QAction::triggered, this, [this] { Command(kNewLayout); });
    addAction(newLayout);
    m_actions[kNewLayout] = newLayout;
    UpdateActions();
}

ModuleLayoutDlg::~ModuleLayoutDlg()
{
    // The child windows work on this dialog's members (texts, status) and the document's
    // models: they go before the members do.
    delete m_cellDesign;
    delete m_grid;
    delete m_statusView;
}

void ModuleLayoutDlg::BuildToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setIconSize(QSize(28, 28));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const std::filesystem::path pictures = m_document.Folder().PluginData();
    for (const StepButton& button : kButtons) {
        const QString text = button.key ? HostText(button.key, QString::fromUtf8(button.fallback))
                                        : QString::fromUtf8(button.fallback);
        QAction* action = m_toolbar->addAction(
            QIcon(QString::fromStdString((pictures / button.image).string())), text);
        SetResourceId(action, button.command);
        const int command = button.command;
        connect(action, &QAction::triggered, this, [this, command] { Command(command); });
        m_actions[command] = action;
    }
    m_actions[kFinish]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    m_actions[kRepeat]->setShortcut(QKeySequence::Undo);
    m_actions[kZoomIn]->setShortcut(QKeySequence::ZoomOut);
    m_actions[kZoomOut]->setShortcut(QKeySequence::ZoomIn);
    for (auto& [id, action] : m_actions)
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
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
    switch (id) {
    case kNewLayout:
        return m_document.Setup().width > 0 && m_document.Setup().height > 0;
    case kZoomIn:
    case kZoomOut:
    case kRepeat:
    case kFinish:
    case kHubArrangement:
    case kToggleDesign:
        return tracer != nullptr;
    case kInsertVirtual: {
        std::uint32_t position = 0, count = 0;
        return tracer &&
               (tracer->AdvancedStarted() || tracer->VirtualPointDialogValues(position, count));
    }
    case 0x1000F: // mark all
    case 0x10010: // the mouse paints marks
    case 0x1001B: // unmark all
    case 0x1001C: // the mouse erases marks
        return tracer != nullptr && m_grid != nullptr;
    default:
        // Point-go over a test device is not part of this grid yet.
        return false;
    }
}

bool ModuleLayoutDlg::Command(int id)
{
    if (!Available(id))
        return false;
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
    case kInsertVirtual:
        m_grid->OpenVirtualPointDialog();
        m_document.SetModified(true);
        break;
    case 0x1000F:
    case 0x1001B:
        m_document.Layout().MarkAll(id == 0x1000F);
        m_grid->Refresh();
        break;
    case 0x10010:
    case 0x1001C:
        tracer->SetEditMode(id == 0x10010 ? 2 : 3);
        break;
    case kToggleDesign:
        m_designVisible = !m_designVisible;
        if (onToggleDesign)
            onToggleDesign(m_designVisible, m_document.Layout().Zoom());
        break;
    default:
        return false;
    }
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
    case kWindowCommand:
        Command(static_cast<int>(argument));
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
    HubAddressDlg dialog(&connector, &row, m_document.Connectors(),
                         static_cast<int>(m_document.Setup().multiClock), m_document.Wizard(),
                         m_document.Controller().Channel(), this);
    dialog.exec();
    tracer->HubAddress() = static_cast<std::uint32_t>(connector);
    tracer->RowAddress() = static_cast<std::uint32_t>(row);
    m_step->TakeConnectorTable();
}

void ModuleLayoutDlg::DropGrid()
{
    if (!m_grid)
        return;
    m_stack->removeWidget(m_grid);
    delete m_grid;
    m_grid = nullptr;
    m_gridTracer = nullptr;
    m_stack->setCurrentWidget(m_empty);
    UpdateActions();
}

void ModuleLayoutDlg::SyncGrid()
{
    PointTracer* tracer = m_document.Tracer();
    if (tracer != m_gridTracer || !tracer)
        DropGrid();
    if (!tracer) {
        UpdateActions();
        return;
    }
    if (!m_grid) {
        m_grid = new CLedLayoutCtrl(m_document.Layout(), *tracer, m_ports.texts, this);
        m_grid->SetStatusBar(m_status.get());
        connect(m_grid, &CLedLayoutCtrl::marksChanged, this,
                [this] { m_document.SetModified(true); });
        connect(m_grid, &CLedLayoutCtrl::traced, this, [this] {
            m_document.SetModified(true);
            UpdateActions();
        });
        m_stack->addWidget(m_grid);
        m_gridTracer = tracer;
        m_grid->Create();
    }
    m_stack->setCurrentWidget(m_grid);
    m_grid->setFocus();
    UpdateActions();
}

int ModuleLayoutDlg::RunCellDesign()
{
    return m_cell->RunCellDesign([this](CellDesignPresenter& cell) {
        if (!m_cellDesign)
            m_cellDesign = new CCellDesignCtrl(cell, this);
        m_cellDesign->Run();
    });
}

} // namespace md
