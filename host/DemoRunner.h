#pragma once

#include "virtual/VirtualModule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QTableView;
class QWidget;

namespace md::host {

class CameraDemo;
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
        Failed,
        Advanced, ///< advanced tracing enabled, its scan row length set and started
        Resume,   ///< the restore question answered, the design looked at
        Stopped   ///< stopped at the moment asked for, everything left open
    };

    /// Moments at which a run can be told to stop, so that a test can kill the host there:
    /// after the socket design, half way through the first scan row, half way through an
    /// advanced trace.
    enum class Moment
    {
        None,
        Socket,
        FirstRow,
        Advanced
    };
    /// The moment named "socket", "first-row" or "advanced"; nothing for another name.
    static std::optional<Moment> MomentNamed(const QString& name);

    DemoRunner(MainWindow& window, CommandAreaOwner& area, VirtualModule module,
               QString programFolder, QObject* parent = nullptr);
    ~DemoRunner() override;

    /// Starts; pace is the pause between two steps in milliseconds.
    void Start(int paceMs);
    /// Fewer pauses from now on (the demo's speed-up key).
    void SpeedUp();
    /// Traces every point with advanced tracing instead of the first scan row.
    void SetAdvanced(bool advanced) { m_advanced = advanced; }
    /// Stops without closing anything once the run reaches the moment.
    void StopAt(Moment moment) { m_stopAt = moment; }
    /// Starts from the restore question of a run that was killed: Yes, then the stages the
    /// restored design still lacks (a layout, the rest of the tracing), Finish and Save.
    void SetResume(bool resume) { m_resume = resume; }
    /// Traces through the layout step's camera dock with the camera of that name instead of
    /// reading which pixel the module lights.
    void UseCamera(const QString& cameraName) { m_cameraName = cameraName; }
    /// With the camera: stops, leaving everything open, once this many pixels are traced.
    void StopAfterPixels(int pixels) { m_stopAfterPixels = pixels; }
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
    bool TraceByCamera();
    bool SetUpAdvanced();
    bool Resume();
    /// Picks the command from the layout grid's context menu once it is open.
    void PickFromMenu(QWidget* menu);
    void Stop(const QString& where);
    int PointsToTrace() const;
    QWidget* Find(const QString& name) const;
    /// The layout grid shown, or null.
    QTableView* Grid() const;
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
    bool m_advanced = false;
    bool m_resume = false;
    Moment m_stopAt = Moment::None;
    int m_advancedStep = 0; ///< the next context menu command of the advanced set-up
    int m_menuCommand = 0;  ///< the command to pick from the open context menu
    bool m_newLayoutSent = false;
    QString m_cameraName; ///< tracing by camera when set
    int m_stopAfterPixels = 0;
    std::unique_ptr<CameraDemo> m_camera;
};

} // namespace md::host
