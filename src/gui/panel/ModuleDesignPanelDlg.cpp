#include "gui/panel/ModuleDesignPanelDlg.h"

#include "gui/layout/PointGoActions.h"

#include "core/design/SocketDesign.h"
#include "core/document/DesignRecovery.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/layout/PointTracer.h"
#include "gui/design/CBackgroundDesignDlg.h"
#include "gui/design/NewFrameInfoDlg.h"
#include "gui/design/NewModuleInfo.h"
#include "gui/design/SocketDesignDlg.h"
#include "gui/host/HostLink.h"
#include "gui/panel/SocketScrollArea.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"
#include "gui/wizard/ModuleLayoutDlg.h"
#include "md/ContractIds.h"
#include "md/OwnIds.h"

#include <QAction>
#include <QDateTime>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

namespace md {

namespace {

constexpr const char* kSocketGroup = "socket";
constexpr const char* kLayoutGroup = "layout";
constexpr const char* kBackgroundGroup = "background";

} // namespace

ModuleDesignPanelDlg::ModuleDesignPanelDlg(ModuleDesignDocument& document, QWidget* parent)
    : QDialog(parent), m_document(document)
{
    SetResourceId(this, kResourceId);
    setWindowFlags(Qt::Widget);
    BuildContent();
    BuildUndoActions();
    // The panel asks and chooses through the same ports as its layout step.
    QtDesignPorts& ports = m_layoutDlg->Ports();
    m_presenter = std::make_unique<DesignPanelPresenter>(
        document, m_layoutDlg->Step(), static_cast<DesignPanelView&>(*this),
        DesignPanelPorts{ports.prompter, ports.texts, ports.chooser, ports.codePage, ports.version,
                         HostLink::NotifyDesignChanged});
    // A burst of changes (a drag, a whole trace row) is compared with the saved design once,
    // when control is back in the event loop.
    m_document.SetRefreshScheduler(
        [this] { QTimer::singleShot(0, this, [this] { m_document.Refresh(); }); });
    RegisterToolbarGroups();
    // Unsaved work is kept in the recovery record, looked at once a second. Tests that kill
    // the program at a given moment shorten the interval between two writes with
    // MD_RECOVERY_INTERVAL_MS.
    m_recovery = std::make_unique<DesignRecovery>(document, ports.Files(), ports.clock);
    bool shortened = false;
    const int interval = qEnvironmentVariableIntValue("MD_RECOVERY_INTERVAL_MS", &shortened);
    if (shortened && interval > 0)
        m_recovery->SetInterval(static_cast<std::uint32_t>(interval));
    auto* recoveryTimer = new QTimer(this);
    connect(recoveryTimer, &QTimer::timeout, this, [this] { m_recovery->Tick(); });
    recoveryTimer->start(static_cast<int>(std::min<std::uint32_t>(m_recovery->Interval(), 1000)));
    QTimer::singleShot(0, this, [this] { OfferRecovery(); });
}

ModuleDesignPanelDlg::~ModuleDesignPanelDlg()
{
    m_recovery.reset();
    m_document.SetRefreshScheduler({});
    // The toolbar's groups call into this panel's views: they go with it.
    for (const char* key : {kSocketGroup, kLayoutGroup, kBackgroundGroup})
        m_document.Toolbar().RemoveGroup(key);
    // The sub-windows work on the document's models: they go before the panel's members.
    delete m_views;
    delete m_moduleInfo;
}

void ModuleDesignPanelDlg::BuildContent()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_views = new QStackedWidget(this);
    layout->addWidget(m_views);

    m_empty = new QLabel(m_views);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    const QString picture =
        QString::fromStdString((m_document.Folder().PluginData() / "module_bkground.png").string());
    const QString hint = HostText(
        "IDS_MD_PANEL_EMPTY_HINT",
        QStringLiteral("No module design is open. Start one from the module settings page, "
                       "or open a driver file."));
    m_empty->setText(QStringLiteral("<img src=\"%1\"><p style=\"color:#606060\">%2</p>")
                         .arg(picture.toHtmlEscaped(), hint.toHtmlEscaped()));
    m_views->addWidget(m_empty);

    m_socketScroll = new SocketScrollArea(m_views);
    m_socket =
        new SocketDesignDlg(m_document.Socket(), &m_document.ModuleInfo(), &m_document.Toolbar());
    m_socketScroll->setWidget(m_socket);
    m_views->addWidget(m_socketScroll);

    m_layoutDlg = new ModuleLayoutDlg(m_document, m_views);
    m_views->addWidget(m_layoutDlg);
    m_layoutDlg->onToggleDesign = [this](bool show, double zoom) {
        if (!m_background)
            return;
        if (show) {
            m_background->SetScale(static_cast<int>(16 / zoom));
            m_views->setCurrentWidget(m_background);
        } else {
            m_views->setCurrentWidget(m_layoutDlg);
        }
    };

    m_moduleInfo = new NewModuleInfo(this);
    m_views->setCurrentWidget(m_empty);
}

void ModuleDesignPanelDlg::BuildUndoActions()
{
    const auto add = [this](std::int32_t id, QList<QKeySequence> keys, auto run) {
        auto* action = new QAction(this);
        SetResourceId(action, id);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, id, run] {
            // While point-go is selected, Ctrl+Z in the layout view takes back its last LED.
            if (id == own::kUndo && LayoutViewVisible() && m_layoutDlg->PointGoUndo())
                return;
            if ((m_document.Edits().*run)())
                EditsReplayed();
        });
    };
    add(own::kUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &DesignEdits::Undo);
    add(own::kRedo,
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        &DesignEdits::Redo);
}

void ModuleDesignPanelDlg::OfferRecovery()
{
    const auto found = DesignRecovery::Find(m_document.Folder());
    if (!found)
        return;
    const auto written = std::chrono::file_clock::to_sys(found->time);
    const QString time =
        QDateTime::fromSecsSinceEpoch(
            std::chrono::duration_cast<std::chrono::seconds>(written.time_since_epoch()).count())
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString name =
        found->name.empty() ? QStringLiteral("-") : QString::fromStdU16String(found->name);
    const QString text =
        HostText("IDS_MD_RECOVER_DESIGN",
                 QStringLiteral("The design %1 was not closed when the program last ended. Its "
                                "unsaved work was kept at %2. Restore it?"))
            .arg(name, time);
    QtDesignPorts& ports = m_layoutDlg->Ports();
    const PromptAnswer answer = ports.prompter.Ask(
        PromptButtons::YesNo, HostText("ID_PROMPT").toStdU16String(), text.toStdU16String());
    if (answer != PromptAnswer::Yes) {
        DesignRecovery::Discard(m_document.Folder());
        return;
    }
    if (m_presenter->OpenDesign(found->driverFile.u16string().c_str()) != 0 || !m_document.Tracer())
        return;
    // The grid stands as the record's layout section left it; the steps since are traced again.
    DesignRecovery::Restore(m_document, *found);
    EditsReplayed();
    HostLink::NotifyDesignChanged();
}

void ModuleDesignPanelDlg::EditsReplayed()
{
    if (m_socket->Frame())
        m_socket->Frame()->update();
    m_layoutDlg->RefreshGrid();
    if (m_background)
        m_background->Refresh();
}

bool ModuleDesignPanelDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The viewport is remembered apart: while the background window is being deleted, its
    // viewport still sends events and the window is no scroll area any more.
    if (watched != nullptr && watched == m_markerViewport) {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_document.Edits().MarkersPressed();
        else if (event->type() == QEvent::MouseButtonRelease)
            m_document.Edits().MarkersReleased();
    }
    return QDialog::eventFilter(watched, event);
}

void ModuleDesignPanelDlg::RegisterToolbarGroups()
{
    ToolbarModel* toolbar = &m_document.Toolbar();
    std::vector<ToolbarButton> socket;
    for (int i = 0; i < SocketDesign::kTypeCount; ++i)
        socket.push_back({SocketDesign::kFirstTypeCommand + static_cast<std::uint32_t>(i),
                          "socket_frame_background_" + std::to_string(i) + ".bmp", "",
                          HostText("IDS_MD_SOCKET_PIN_TYPE", QStringLiteral("Pin type %1"))
                              .arg(i + 1)
                              .toStdU16String(),
                          false});
    socket.push_back(
        {SocketDesign::kClearCommand, "none.png", "IDS_MD_SOCKET_CLEAR", u"Clear pin", true});
    toolbar->AddGroup(kSocketGroup, std::move(socket), [this](std::uint32_t command) {
        if (m_socket)
            m_document.Edits().Socket([&] {
                m_socket->OnCommand(command);
                return true;
            });
    });
    std::vector<ToolbarButton> layout{{ModuleLayoutDlg::kNewLayout, "toolbaricon_newlayout.png",
                                       "IDS_MD_STEP5DLG_NEW_LAYOUT", u"New layout", true},
                                      {ModuleLayoutDlg::kZoomOut, "toolbaricon_magnify.png",
                                       "IDS_MODULE_STEP5DLG_LAYOUT_ZOONOUT", u"Zoom in", true},
                                      {ModuleLayoutDlg::kZoomIn, "toolbaricon_zoolout.png",
                                       "IDS_MODULE_STEP5DLG_LAYOUT_ZOONIN", u"Zoom out", true},
                                      {ModuleLayoutDlg::kFinish, "toolbaricon_finish.png",
                                       "IDS_MODULE_STEP5DLG_LAYOUT_FINISH", u"Finish", true},
                                      {ModuleLayoutDlg::kToggleDesign, "toolbaricon_background.png",
                                       "IDS_MD_STEP5DLG_BACKGROUND", u"Background", true}};
    for (const PointGoAction& action : PointGoActions())
        layout.push_back({static_cast<std::uint32_t>(action.command), action.image, action.key,
                          QString::fromUtf8(action.fallback).toStdU16String(), true});
    toolbar->AddGroup(kLayoutGroup, std::move(layout), [this](std::uint32_t command) {
        m_layoutDlg->Command(static_cast<int>(command));
    });
    toolbar->AddGroup(kBackgroundGroup,
                      {{CBackgroundDesignDlg::kZoomIn, "toolbaricon_magnify.png",
                        "IDS_MODULE_STEP5DLG_LAYOUT_ZOONOUT", u"Zoom in", true},
                       {CBackgroundDesignDlg::kZoomOut, "toolbaricon_zoolout.png",
                        "IDS_MODULE_STEP5DLG_LAYOUT_ZOONIN", u"Zoom out", true}},
                      [this](std::uint32_t command) {
                          if (m_background)
                              m_background->OnMessage(command);
                      });
}

void ModuleDesignPanelDlg::SelectToolbarGroup(const char* key)
{
    m_document.Toolbar().SelectGroup(key);
}

bool ModuleDesignPanelDlg::CreateWindow(WindowHandle parent)
{
    return m_window.Attach(parent);
}

void ModuleDesignPanelDlg::DestroyWindow()
{
    m_window.Detach();
}

int ModuleDesignPanelDlg::RunModal()
{
    QWidget* oldParent = parentWidget();
    const bool hadWindow = m_window.Attached();
    setParent(oldParent, Qt::Dialog);
    setWindowTitle(HostText("IDS_MD_MODULE_DESIGN_TITLE", QStringLiteral("Module design")));
    resize(900, 600);
    const int result = exec();
    setParent(oldParent, Qt::Widget);
    if (hadWindow)
        show();
    return result;
}

// The design cycle.

std::int32_t ModuleDesignPanelDlg::OnNotify(std::uint32_t message, std::uintptr_t wParam,
                                            std::intptr_t lParam)
{
    if (message == kMsgSocketContentSize) {
        const auto* size = reinterpret_cast<const std::int32_t*>(lParam);
        if (size)
            m_socketScroll->SetContentSize(size[0], size[1]);
        return 0;
    }
    return m_presenter->OnNotify(message, wParam, lParam);
}

std::int32_t ModuleDesignPanelDlg::NewDesign()
{
    return m_presenter->NewDesign();
}

std::int32_t ModuleDesignPanelDlg::OpenDesign(const char16_t* path)
{
    return m_presenter->OpenDesign(path);
}

std::int32_t ModuleDesignPanelDlg::SaveDesign()
{
    return m_presenter->SaveDesign();
}

std::int32_t ModuleDesignPanelDlg::SaveSocketOrDriverFile()
{
    return m_presenter->SaveSocketOrDriverFile();
}

std::int32_t ModuleDesignPanelDlg::SaveDesignChecked()
{
    return m_presenter->SaveDesignChecked();
}

std::int32_t ModuleDesignPanelDlg::ForwardZoomIn()
{
    if (LayoutViewVisible())
        m_layoutDlg->WindowCommand(ModuleLayoutDlg::kWindowZoomIn, 0);
    if (m_background && m_background->isVisible())
        m_background->OnMessage(CBackgroundDesignDlg::kZoomIn);
    return 0;
}

std::int32_t ModuleDesignPanelDlg::ForwardZoomOut()
{
    if (LayoutViewVisible())
        m_layoutDlg->WindowCommand(ModuleLayoutDlg::kWindowZoomOut, 0);
    if (m_background && m_background->isVisible())
        m_background->OnMessage(CBackgroundDesignDlg::kZoomOut);
    return 0;
}

std::int32_t ModuleDesignPanelDlg::ForwardRepeat()
{
    if (LayoutViewVisible())
        m_layoutDlg->WindowCommand(ModuleLayoutDlg::kWindowRepeat, 0);
    return 0;
}

std::int32_t ModuleDesignPanelDlg::ForwardWithArgument(std::int32_t argument)
{
    if (LayoutViewVisible())
        m_layoutDlg->WindowCommand(ModuleLayoutDlg::kWindowWheel, argument);
    if (m_background && m_background->isVisible())
        m_background->OnMessage(CBackgroundDesignDlg::kWheel, argument);
    return 0;
}

std::uint32_t ModuleDesignPanelDlg::QueryView(std::uint32_t argument)
{
    return m_presenter->QueryView(argument);
}

const char16_t* ModuleDesignPanelDlg::DocumentName()
{
    if (!IsDesignOpen())
        return nullptr;
    m_documentName = m_presenter->DocumentName();
    return m_documentName.c_str();
}

bool ModuleDesignPanelDlg::IsDesignOpen()
{
    return m_presenter->IsDesignOpen();
}

std::int32_t ModuleDesignPanelDlg::HasUnsavedChanges()
{
    return m_presenter->HasUnsavedChanges() ? 1 : 0;
}

// The views.

bool ModuleDesignPanelDlg::RunNewModuleInfo(NewModuleInfoRecord& record)
{
    m_moduleInfo->SetFromRecord(record);
    if (!m_moduleInfo->RunModal())
        return false;
    record = m_moduleInfo->Record();
    return true;
}

void ModuleDesignPanelDlg::ShowSocketView()
{
    m_views->setCurrentWidget(m_socketScroll);
    // The socket page enables its buttons in the current group: the socket group.
    SelectToolbarGroup(kSocketGroup);
    m_socket->SetMode(5);
}

void ModuleDesignPanelDlg::ShowLayoutView()
{
    m_layoutDlg->SyncGrid();
    const bool socketShown = SocketViewVisible();
    m_views->setCurrentWidget(m_layoutDlg);
    if (socketShown)
        m_socket->SetMode(0);
    SelectToolbarGroup(kLayoutGroup);
}

void ModuleDesignPanelDlg::ShowBackgroundView()
{
    if (!m_background)
        return;
    m_socket->SetMode(0);
    m_views->setCurrentWidget(m_background);
    SelectToolbarGroup(kBackgroundGroup);
}

bool ModuleDesignPanelDlg::SocketViewVisible() const
{
    return m_views->currentWidget() == m_socketScroll;
}

bool ModuleDesignPanelDlg::LayoutViewVisible() const
{
    return m_views->currentWidget() == m_layoutDlg;
}

void ModuleDesignPanelDlg::DesignReset()
{
    if (m_background) {
        m_views->removeWidget(m_background);
        delete m_background;
        m_background = nullptr;
    }
    // Only the windows: the document's models were either replaced already (open) or are
    // replaced by the presenter (new, hand-over).
    m_layoutDlg->DropGrid();
    m_socket->SetMode(0);
    ShowEmptyState();
}

void ModuleDesignPanelDlg::DesignReady(bool newSocket)
{
    const NewModuleInfoRecord& info = m_document.ModuleInfo();
    if (newSocket)
        m_socket->NewSocket(info.pinCount, info.scanRows);
    else
        m_socket->ShowLoaded();
    const SocketDesign& socket = m_document.Socket();
    m_socketScroll->SetContentSize(socket.FrameWidth(), socket.FrameHeight());

    m_background = new CBackgroundDesignDlg(m_document.Background(), m_views);
    m_markerViewport = m_background->viewport();
    m_markerViewport->installEventFilter(this);
    m_views->addWidget(m_background);
    if (newSocket)
        m_background->SetUp(info.xPixels, info.yPixels);
    else
        m_background->Refresh();
    m_layoutDlg->SyncGrid();
}

int ModuleDesignPanelDlg::RunCellDesign()
{
    return m_layoutDlg->RunCellDesign();
}

void ModuleDesignPanelDlg::ShowEmptyState()
{
    m_views->setCurrentWidget(m_empty);
}

} // namespace md
