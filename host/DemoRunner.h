#pragma once

#include "virtual/VirtualModule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

namespace md::host {

class CommandAreaOwner;
class MainWindow;

/// Works a whole design through on the virtual module, as an engineer would at the desk: the
/// parameter page filled from the module, the wizard's questions answered from what the module
/// shows, the socket's required pins, New layout, a click on every pixel the module lights,
/// Finish, Save to ModLib and Open again. Every step goes through the windows the user sees.
class DemoRunner : public QObject
{
    Q_OBJECT
public:
    enum class Stage
    {
        FillPage,
        Wizard,
        Socket,
        NewLayout,
        Tracing,
        Finish,
        Save,
        Reopen,
        Done,
        Failed
    };

    DemoRunner(MainWindow& window, CommandAreaOwner& area, VirtualModule module,
               QString programFolder, QObject* parent = nullptr);

    /// Starts; pace is the pause between two steps in milliseconds.
    void Start(int paceMs);
    /// Fewer pauses from now on (the demo's speed-up key).
    void SpeedUp();
    Stage CurrentStage() const { return m_stage; }
    /// What went wrong when the stage is Failed.
    const QString& Failure() const { return m_failure; }
    /// The driver file the design was saved to.
    const QString& SavedFile() const { return m_saved; }
    int TracedPoints() const { return m_traced; }
    /// Told on every stage change and when the run ends (Done or Failed).
    std::function<void(Stage, const QString& note)> onProgress;

private:
    void Tick();
    void Answer(QWidget* modal);
    void AnswerStep(QWidget* step);
    void Go(Stage stage, const QString& note = {});
    void Fail(const QString& why);
    void Later(std::function<void()> action);
    bool FillPage();
    bool DesignSocket();
    bool TraceNext();
    QWidget* Find(const QString& name) const;
    VirtualModule::Frame Showing() const;

    MainWindow& m_window;
    CommandAreaOwner& m_area;
    VirtualModule m_module;
    QString m_programFolder;
    QTimer m_timer;
    Stage m_stage = Stage::FillPage;
    QString m_failure;
    QString m_saved;
    bool m_busy = false; ///< an action with a modal dialog of its own is running
    int m_traced = 0;
    QSet<int> m_clicked;     ///< pixels already clicked (the grid blinks the last one too)
    QElapsedTimer m_waiting; ///< since the last click
};

} // namespace md::host
