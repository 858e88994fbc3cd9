#include "MainWindow.h"

#include "virtual/VirtualTestDevice.h"

#include "CommandAreaOwner.h"
#include "ControllerMonitor.h"
#include "DesignMenus.h"
#include "ModuleDesignHost.h"
#include "SettingsWindow.h"
#include "md/ContractIds.h"
#include "md/IBaseUIPlugin.h"
#include "md/IDesignUIPlugin.h"
#include "md/ISettingBase.h"
#include "md/IToobarInterface.h"
#include "md/OwnIds.h"
#include "virtual/VirtualCameraView.h"
#include "virtual/VirtualModuleView.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace md::host {

MainWindow::MainWindow(ModuleDesignHost* host, CommandAreaOwner* area, QWidget* parent)
    : QMainWindow(parent), m_host(host), m_area(area)
{
    setObjectName("MainWindow");
    setWindowTitle(tr("LED Module Design"));
    // Plug-in pages find the host's main window by this property.
    setProperty(contract::kMainWindowProperty, true);
    resize(1180, 760);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolbarArea = new QWidget(central);
    m_toolbarArea->setObjectName("ToolbarArea");
    m_toolbarArea->setFixedHeight(kToolbarHeight);
    m_toolbarArea->setAttribute(Qt::WA_NativeWindow);
    m_panelArea = new QWidget(central);
    m_panelArea->setObjectName("PanelArea");
    m_panelArea->setAttribute(Qt::WA_NativeWindow);
    m_toolbarArea->installEventFilter(this);
    m_panelArea->installEventFilter(this);
    layout->addWidget(m_toolbarArea);
    layout->addWidget(m_panelArea, 1);
    setCentralWidget(central);

    m_monitor = new ControllerMonitor(area, this);
    auto* dock = new QDockWidget(tr("Controller monitor"), this);
    dock->setObjectName("ControllerMonitorDock");
    dock->setWidget(m_monitor);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->setMinimumWidth(380);

    // The point-go test device: the plug-in finds its port through the configuration service.
    m_device = std::make_unique<VirtualTestDevice>(VirtualTestDevice::Lines{});
    if (m_device->Start()) {
        m_host->Config().Answer("pointgo", "port", QString::fromStdString(m_device->Path()));
        m_device->onLog = [this](const std::string& line) {
            if (m_deviceLog) {
                std::printf("%s\n", line.c_str());
                std::fflush(stdout);
            }
        };
        m_device->onLit = [this](const VirtualTestDevice::Lit& lit) {
            QMetaObject::invokeMethod(
                this,
                [this, lit] {
                    if (m_moduleView)
                        m_moduleView->ShowPointGo(lit.line, lit.scanRow, lit.position, lit.led);
                },
                Qt::QueuedConnection);
        };
    } else {
        m_device.reset();
    }

    // The virtual module answers the command area like a real module would.
    const QDir modules(QDir(m_host->ProgramFolder()).filePath("VirtualModules"));
    const QStringList descriptions = modules.entryList({"*.json"}, QDir::Files, QDir::Name);
    if (!descriptions.isEmpty())
        if (auto description = VirtualModule::Load(modules.filePath(descriptions.front())))
            UseVirtualModule(VirtualModule(*description));

    // The virtual camera films what the virtual module shows, read afresh before each frame.
    m_host->Camera().observe = [this]() -> std::optional<VirtualModule::Frame> {
        if (!m_moduleView)
            return std::nullopt;
        m_monitor->Poll();
        return m_moduleView->Current();
    };
    auto* cameraDock = new QDockWidget(tr("Virtual camera"), this);
    cameraDock->setObjectName(QString::number(own::kCameraDock));
    cameraDock->setWidget(new VirtualCameraView(m_host->Camera(), cameraDock));
    addDockWidget(Qt::RightDockWidgetArea, cameraDock);
    cameraDock->hide();

    BuildMenus();
    m_host->onRefresh = [this] {
        m_menus->NoteRefresh();
        m_menus->UpdateTitle();
    };
    m_host->Siblings().onEvent = [this](const QString& text) { m_monitor->Record(text); };
    m_host->Notify().onSent = [this](const QByteArray& target, std::uint32_t message,
                                     std::int32_t result) {
        m_monitor->Record(tr("notification %1 to %2 answered %3")
                              .arg(message)
                              .arg(QString::fromLatin1(target))
                              .arg(result));
    };
    statusBar()->showMessage(
        area && area->IsOpen() ? tr("Command area %1 ready").arg(QString::fromLatin1(area->Name()))
                               : tr("No command area: the wizard cannot drive a module"));
}

MainWindow::~MainWindow()
{
    m_device.reset(); // its thread reports to this window
    m_host->onRefresh = nullptr;
    m_host->Camera().observe = nullptr;
    m_host->Siblings().onEvent = nullptr;
    m_host->Notify().onSent = nullptr;
}

void MainWindow::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->addAction(tr("&Settings..."), QKeySequence::Preferences, this, [this] {
        if (SettingsWindow* settings = Settings())
            settings->exec();
    });
    tools->addAction(tr("&Controller monitor"), this, [this] {
        if (auto* dock = findChild<QDockWidget*>("ControllerMonitorDock"))
            dock->setVisible(!dock->isVisible());
    });
    tools->addAction(tr("&Virtual module"), this, [this] {
        if (auto* dock = findChild<QDockWidget*>("VirtualModuleDock"))
            dock->setVisible(!dock->isVisible());
    });

    QAction* camera = tools->addAction(tr("Virtual c&amera"), this, [this] {
        if (auto* dock = findChild<QDockWidget*>(QString::number(own::kCameraDock)))
            dock->setVisible(!dock->isVisible());
    });
    camera->setObjectName(QString::number(own::kCameraMenuAction));

    m_menus = new DesignMenus(
        this, [this] { return Panel(); },
        [this](const QString& text) { statusBar()->showMessage(text, 5000); });
    m_menus->SetDriverFileFolder(QDir(m_host->ProgramFolder()).filePath("ModLib"));
    m_menus->Build(file);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About"), this, [this] {
        QMessageBox::about(this, windowTitle(),
                           tr("Reference host for the LED module design plug-in.\nProgram folder: "
                              "%1")
                               .arg(m_host->ProgramFolder()));
    });
}

bool MainWindow::EmbedPlugin(IBaseUIPlugin* plugin)
{
    m_plugin = plugin;
    if (!plugin)
        return false;
    void* toolbar = nullptr;
    if (plugin->QueryPluginInterface(contract::kRequestToolbar, &toolbar) && toolbar) {
        m_toolbar = static_cast<IToobarInterface*>(toolbar);
        m_toolbar->Show(static_cast<WindowHandle>(m_toolbarArea->winId()), 0, 0,
                        m_toolbarArea->width(), m_toolbarArea->height());
    }
    const bool created = plugin->CreateUI(static_cast<WindowHandle>(m_panelArea->winId()), 0, 0,
                                          m_panelArea->width(), m_panelArea->height()) == 1;
    PlacePluginWindows();
    return created;
}

void MainWindow::UseVirtualModule(VirtualModule module)
{
    auto* view = new VirtualModuleView(std::move(module), this);
    auto* dock = findChild<QDockWidget*>("VirtualModuleDock");
    if (!dock) {
        dock = new QDockWidget(tr("Virtual module"), this);
        dock->setObjectName("VirtualModuleDock");
        addDockWidget(Qt::RightDockWidgetArea, dock);
        dock->setMinimumHeight(260);
    }
    delete m_moduleView;
    dock->setWidget(view);
    m_moduleView = view;
    connect(m_monitor, &ControllerMonitor::AreaChanged, view, &VirtualModuleView::ShowArea);
    SetDeviceLeds(m_deviceLeds);
}

void MainWindow::SetDeviceLeds(int leds)
{
    m_deviceLeds = std::max(leds, 1);
    if (!m_device || !m_moduleView)
        return;
    // One data line per data group, as long as a group's scan row.
    const auto& module = m_moduleView->Module().Module();
    const int groups = std::max(module.groups, 1);
    const int rows = std::max(module.scanRows, 1);
    m_device->SetLines(
        {groups, std::max(module.width * module.height / groups / rows, 1), m_deviceLeds});
}

IDesignUIPlugin* MainWindow::Panel() const
{
    void* panel = nullptr;
    if (!m_plugin || !m_plugin->QueryPluginInterface(contract::kRequestPanel, &panel))
        return nullptr;
    return static_cast<IDesignUIPlugin*>(panel);
}

SettingsWindow* MainWindow::Settings()
{
    if (m_settings)
        return m_settings;
    void* page = nullptr;
    if (!m_plugin || !m_plugin->QueryPluginInterface(contract::kRequestSettings, &page))
        return nullptr;
    // Kept for the life of the window: the plug-in's page lives inside it until the plug-in
    // is released.
    m_settings = new SettingsWindow(static_cast<ISettingBase*>(page), this);
    return m_settings;
}

void MainWindow::DetachPlugin()
{
    if (m_settings)
        m_settings->DetachPage();
    m_toolbar = nullptr;
    m_plugin = nullptr;
}

void MainWindow::PlacePluginWindows()
{
    if (m_toolbar)
        m_toolbar->Move(0, 0, m_toolbarArea->width(), m_toolbarArea->height(), 1);
    if (m_plugin)
        m_plugin->MoveUI(0, 0, m_panelArea->width(), m_panelArea->height(), 1);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && (watched == m_panelArea || watched == m_toolbarArea))
        PlacePluginWindows();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    PlacePluginWindows();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The panel asks about unsaved changes itself; the host asks nothing of its own, and
    // stays open when the answer keeps the design.
    if (!m_menus->AskBeforeClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    PlacePluginWindows();
}

} // namespace md::host
