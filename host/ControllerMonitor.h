#pragma once

#include <QByteArray>
#include <QWidget>

class QLabel;
class QListWidget;
class QTimer;

namespace md::host {

class CommandAreaOwner;

/// Shows the controller command area live: its 32 bytes and a scrolling history of the changes
/// (each new command pair, wizard flag or parameter byte written by the plug-in).
class ControllerMonitor : public QWidget
{
    Q_OBJECT
public:
    explicit ControllerMonitor(CommandAreaOwner* area, QWidget* parent = nullptr);

    /// Reads the area now (also done every 50 ms while visible).
    void Poll();
    /// Adds a line to the history (for example the combined file the controller was asked to
    /// load).
    void Record(const QString& line);
    int HistorySize() const;

signals:
    /// The area's bytes changed.
    void AreaChanged(const QByteArray& bytes);

private:
    QString Describe(const QByteArray& bytes) const;

    CommandAreaOwner* m_area;
    QLabel* m_bytes = nullptr;
    QLabel* m_fields = nullptr;
    QListWidget* m_history = nullptr;
    QTimer* m_timer = nullptr;
    QByteArray m_last;
};

} // namespace md::host
