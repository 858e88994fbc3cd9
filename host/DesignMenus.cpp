#include "DesignMenus.h"

#include "md/DesignRequests.h"
#include "md/IDesignUIPlugin.h"

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
            m_status(tr("New design"), panel->NewDesign());
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
            m_status(tr("Open"), panel->OpenDesign(nullptr));
        UpdateTitle();
    })->setObjectName("FileOpenPanel");
    m_recent = new QMenu(tr("Open &recent"), file);
    m_recent->setObjectName("FileRecent");
    file->insertMenu(first, m_recent);
    FillRecentMenu();
    file->insertSeparator(first);
    insert(tr("&Save"), QKeySequence::Save, [this] {
        if (IDesignUIPlugin* panel = m_panel())
            m_status(tr("Save"), panel->SaveDesign());
        UpdateTitle();
    })->setObjectName("FileSave");
    insert(tr("Save &as..."), QKeySequence::SaveAs, [this] {
        SaveAs();
    })->setObjectName("FileSaveAs");
    insert(tr("Save socket or &driver file"), QKeySequence(), [this] {
        if (IDesignUIPlugin* panel = m_panel())
            m_status(tr("Save socket or driver file"), panel->SaveSocketOrDriverFile());
        UpdateTitle();
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
    m_status(tr("Open %1").arg(QFileInfo(path).fileName()), status);
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
    if (const char16_t* name = panel->DocumentName())
        dialog.selectFile(QString::fromUtf16(name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return -1;
    const QString path = dialog.selectedFiles().front();
    DriverFileRequest request{};
    const std::u16string text = path.toStdU16String();
    if (text.size() >= DriverFileRequest::kPathCapacity) {
        m_status(tr("Save as: the path is too long"), -1);
        return -1;
    }
    std::copy(text.begin(), text.end(), request.path);
    const int status = panel->OnNotify(145, 0, reinterpret_cast<std::intptr_t>(&request));
    m_status(tr("Save as %1").arg(QFileInfo(path).fileName()), status);
    if (status == 0)
        Remember(path);
    UpdateTitle();
    return status;
}

void DesignMenus::AskBeforeClose()
{
    if (IDesignUIPlugin* panel = m_panel())
        panel->OnNotify(5, 0, 0);
}

void DesignMenus::UpdateTitle()
{
    IDesignUIPlugin* panel = m_panel();
    const char16_t* name = panel && panel->IsDesignOpen() ? panel->DocumentName() : nullptr;
    m_window->setWindowTitle(
        name && *name ? QStringLiteral("%1 - %2").arg(QString::fromUtf16(name), m_baseTitle)
                      : m_baseTitle);
}

QStringList DesignMenus::RecentFiles() const
{
    return HostSettings().value(kRecentKey).toStringList();
}

void DesignMenus::Remember(const QString& path)
{
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
                m_status(tr("%1 no longer exists").arg(path), -1);
                return;
            }
            Open(path);
        });
    }
    m_recent->setEnabled(!recent.isEmpty());
}

} // namespace md::host
