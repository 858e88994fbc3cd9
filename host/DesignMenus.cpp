#include "DesignMenus.h"

#include "md/DesignRequests.h"
#include "md/IDesignUIPlugin.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace md::host {

namespace {

constexpr const char* kRecentKey = "design/recentFiles";

QSettings HostSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "ModuleDesignHost", "host");
}

} // namespace

DesignMenus::DesignMenus(QMainWindow* window, PanelSource panel, StatusSink status)
    : QObject(window), m_window(window), m_panel(std::move(panel)), m_status(std::move(status)),
      m_baseTitle(window->windowTitle())
{}

void DesignMenus::Build(QMenu* file)
{
    QAction* first = file->actions().isEmpty() ? nullptr : file->actions().front();
    auto insert = [&](const QString& text, const QKeySequence& keys, auto slot) {
        auto* action = new QAction(text, file);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        file->insertAction(first, action);
        return action;
    };
    insert(tr("&New module design..."), QKeySequence::New, [this] {
        if (IDesignUIPlugin* panel = m_panel())
            m_status(StatusText(tr("New design"), panel->NewDesign()));
        UpdateTitle();
    })->setObjectName("FileNew");
    insert(tr("&Open driver file..."), QKeySequence::Open, [this] {
        IDesignUIPlugin* panel = m_panel();
        if (!panel)
            return;
        QFileDialog dialog(m_window, tr("Open module driver file"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(tr("Module driver files (*.MDR *.mdr)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        Open(dialog.selectedFiles().front());
    })->setObjectName("FileOpen");
    insert(tr("Open with the &panel's dialog..."), QKeySequence(), [this] {
        if (IDesignUIPlugin* panel = m_panel())
            m_status(StatusText(tr("Open"), panel->OpenDesign(nullptr)));
        UpdateTitle();
    })->setObjectName("FileOpenPanel");
    m_recent = new QMenu(tr("Open &recent"), file);
    m_recent->setObjectName("FileRecent");
    file->insertMenu(first, m_recent);
    FillRecentMenu();
    file->insertSeparator(first);
    insert(tr("&Save"), QKeySequence::Save, [this] {
        if (IDesignUIPlugin* panel = m_panel())
            RunSave(tr("Save"), [panel] { return panel->SaveDesign(); });
    })->setObjectName("FileSave");
    insert(tr("Save &as..."), QKeySequence::SaveAs, [this] {
        SaveAs();
    })->setObjectName("FileSaveAs");
    insert(tr("Save socket or &driver file"), QKeySequence(), [this] {
        if (IDesignUIPlugin* panel = m_panel())
            RunSave(tr("Save socket or driver file"),
                    [panel] { return panel->SaveSocketOrDriverFile(); });
    })->setObjectName("FileSaveSocketOrDriver");
    file->insertSeparator(first);

    QMenu* view = new QMenu(tr("&View"), m_window);
    view->setObjectName("ViewMenu");
    m_window->menuBar()->insertMenu(m_window->menuBar()->actions().value(1), view);
    const struct
    {
        const char* text;
        std::uint32_t message;
        Qt::Key key;
    } views[] = {
        {"&Socket", 2, Qt::Key_1}, {"&Layout", 3, Qt::Key_2}, {"&Background", 4, Qt::Key_3}};
    for (const auto& entry : views) {
        QAction* action = view->addAction(tr(entry.text));
        action->setShortcut(QKeySequence(Qt::CTRL | entry.key));
        action->setObjectName(QStringLiteral("View%1").arg(entry.message));
        const std::uint32_t message = entry.message;
        connect(action, &QAction::triggered, this, [this, message] {
            if (IDesignUIPlugin* panel = m_panel())
                panel->OnNotify(message, 0, 0);
        });
    }
}

int DesignMenus::Open(const QString& path)
{
    IDesignUIPlugin* panel = m_panel();
    if (!panel)
        return -1;
    const std::u16string text = path.toStdU16String();
    const int status = panel->OpenDesign(text.c_str());
    m_status(StatusText(tr("Open %1").arg(QFileInfo(path).fileName()), status));
    if (status == 0)
        Remember(path);
    UpdateTitle();
    return status;
}

int DesignMenus::SaveAs()
{
    IDesignUIPlugin* panel = m_panel();
    if (!panel)
        return -1;
    QFileDialog dialog(m_window, tr("Save module driver file"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr("Module driver files (*.MDR)"));
    dialog.setDefaultSuffix("MDR");
    const char16_t* name = panel->DocumentName();
    const QString title = name ? QString::fromUtf16(name) : QString();
    // A design read from or saved to a file starts in that file's folder, any other in the
    // driver-file folder.
    const QFileInfo last(m_lastPath);
    if (!m_lastPath.isEmpty() && last.fileName() == title)
        dialog.setDirectory(last.absolutePath());
    else if (!m_driverFolder.isEmpty() && QDir().mkpath(m_driverFolder))
        dialog.setDirectory(m_driverFolder);
    if (!title.isEmpty())
        dialog.selectFile(title);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return -1;
    const QString path = dialog.selectedFiles().front();
    DriverFileRequest request{};
    const std::u16string text = path.toStdU16String();
    if (text.size() >= DriverFileRequest::kPathCapacity) {
        m_status(tr("Save as: the path is longer than %1 characters, nothing was saved")
                     .arg(DriverFileRequest::kPathCapacity - 1));
        return -1;
    }
    std::copy(text.begin(), text.end(), request.path);
    const int status = panel->OnNotify(145, 0, reinterpret_cast<std::intptr_t>(&request));
    m_status(StatusText(tr("Save as %1").arg(QFileInfo(path).fileName()), status));
    if (status == 0)
        Remember(path);
    UpdateTitle();
    return status;
}

bool DesignMenus::AskBeforeClose()
{
    IDesignUIPlugin* panel = m_panel();
    return !panel || panel->OnNotify(5, 0, 0) == 0;
}

void DesignMenus::RunSave(const QString& operation, const std::function<int()>& save)
{
    const int before = m_refreshes;
    const int status = save();
    m_status(StatusText(operation, status, m_refreshes != before));
    UpdateTitle();
}

QString DesignMenus::StatusText(const QString& operation, int status, bool saved)
{
    if (status == 0)
        return saved ? tr("%1: done").arg(operation)
                     : tr("%1: cancelled, nothing was saved").arg(operation);
    if (status < 0)
        return tr("%1: cancelled").arg(operation);
    return tr("%1: not done, the message said why").arg(operation);
}

void DesignMenus::UpdateTitle()
{
    IDesignUIPlugin* panel = m_panel();
    const char16_t* name = panel && panel->IsDesignOpen() ? panel->DocumentName() : nullptr;
    // The plain name comes from the panel; the mark of unsaved work is the host's.
    const QString unsaved = panel && panel->HasUnsavedChanges() ? QStringLiteral(" *") : QString();
    m_window->setWindowTitle(
        name && *name
            ? QStringLiteral("%1%2 - %3").arg(QString::fromUtf16(name), unsaved, m_baseTitle)
            : m_baseTitle);
}

QStringList DesignMenus::RecentFiles() const
{
    return HostSettings().value(kRecentKey).toStringList();
}

void DesignMenus::Remember(const QString& path)
{
    m_lastPath = path;
    QStringList recent = RecentFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kMaxRecent)
        recent.removeLast();
    HostSettings().setValue(kRecentKey, recent);
    FillRecentMenu();
}

void DesignMenus::FillRecentMenu()
{
    if (!m_recent)
        return;
    m_recent->clear();
    const QStringList recent = RecentFiles();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action = m_recent->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (!QFileInfo::exists(path)) {
                m_status(tr("%1 no longer exists").arg(path));
                return;
            }
            Open(path);
        });
    }
    m_recent->setEnabled(!recent.isEmpty());
}

} // namespace md::host
