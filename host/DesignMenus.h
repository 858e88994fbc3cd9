#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMainWindow;
class QMenu;

namespace md {
class IDesignUIPlugin;
} // namespace md

namespace md::host {

/// The host's File and View menus over the plug-in's design panel: new, open (chosen here or by
/// the panel), save, save as (the host asks for the path and sends message 145), recent files,
/// and the switch between the socket, layout and background views. The window title shows the
/// open design's name.
class DesignMenus : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxRecent = 8;
    using PanelSource = std::function<IDesignUIPlugin*()>;
    /// Shows a line in the host's status bar.
    using StatusSink = std::function<void(const QString& text)>;

    DesignMenus(QMainWindow* window, PanelSource panel, StatusSink status);

    /// Adds the design entries to the File menu and a View menu to the window's menu bar.
    void Build(QMenu* file);
    /// Sets the window title from the panel's design (after every operation and refresh).
    void UpdateTitle();
    /// Opens a driver file by path (operation 4); recent files come here.
    int Open(const QString& path);
    /// Save As: the path is always asked for (in the driver-file folder when the design has
    /// no file yet), then message 145 goes to the panel.
    int SaveAs();
    /// Before the window closes: the panel asks about unsaved changes itself (message 5);
    /// false when the window must stay open (Cancel, or a save that failed or was cancelled).
    bool AskBeforeClose();
    /// The folder Save As starts in for a design without a file.
    void SetDriverFileFolder(const QString& folder) { m_driverFolder = folder; }
    /// Message 6 reached the host: the design or its view changed.
    void NoteRefresh() { ++m_refreshes; }
    /// The status line of an operation's result, in words.
    static QString StatusText(const QString& operation, int status, bool saved = true);

    QStringList RecentFiles() const;

private:
    void Remember(const QString& path);
    void FillRecentMenu();
    /// Runs a save operation: a result of 0 without a word from the panel (message 6) saved
    /// nothing, because the user cancelled its file dialog.
    void RunSave(const QString& operation, const std::function<int()>& save);

    QMainWindow* m_window;
    PanelSource m_panel;
    StatusSink m_status;
    QMenu* m_recent = nullptr;
    QString m_baseTitle;
    QString m_driverFolder;
    QString m_lastPath;
    int m_refreshes = 0;
};

} // namespace md::host
