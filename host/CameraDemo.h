#pragma once

#include <QElapsedTimer>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <functional>

class QTableView;
class QWidget;

namespace md::host {

/// Traces the layout step through its camera dock as an engineer would with the mouse: the
/// toolbar's "Trace by camera" button, the host's virtual camera chosen in the dock, Calibrate,
/// Trace, and a watch on the dock's state until the trace is done. A trace that fails or waits
/// for the engineer ends the run with the dock's status text.
class CameraDemo
{
public:
    enum class Result
    {
        Going,
        Done,
        Failed
    };

    /// press: presses a toolbar strip command by number, false when it is not there.
    /// grid: the layout grid shown now.
    CameraDemo(QWidget& window, std::function<bool(int)> press, std::function<QTableView*()> grid,
               QString cameraName);
    ~CameraDemo();
    CameraDemo(const CameraDemo&) = delete;
    CameraDemo& operator=(const CameraDemo&) = delete;

    /// Stops the trace once this many pixels carry their position (0: the whole trace).
    void StopAfter(int pixels) { m_stopAfter = pixels; }

    /// One step; called on every tick of the demo until it says Done or Failed.
    Result Step();
    const QString& Failure() const { return m_failure; }
    /// The pixels the grid numbers now.
    int TracedPixels();
    /// Milliseconds from pressing Trace until the trace was done or stopped.
    qint64 TraceMs() const { return m_traceMs; }

private:
    enum class Phase
    {
        OpenDock,
        ChooseCamera,
        Calibrate,
        Calibrating,
        Trace,
        Tracing,
        Finished
    };
    Result Fail(const QString& why);
    QWidget* Control(int number) const;
    QString State() const;
    QString StatusText() const;
    bool Click(int number);
    /// Triggers the enabled action of that number anywhere in the window.
    bool Trigger(int number);
    Result Watch();

    QWidget& m_window;
    std::function<bool(int)> m_press;
    std::function<QTableView*()> m_grid;
    QString m_cameraName;
    QPointer<QWidget> m_dock;
    Phase m_phase = Phase::OpenDock;
    bool m_dockAsked = false;
    QElapsedTimer m_waiting; ///< since the current phase began
    QElapsedTimer m_tracing;
    qint64 m_traceMs = 0;
    int m_stopAfter = 0;
    QString m_failure;
    int m_traced = 0;      ///< pixels numbered when last counted
    bool m_recount = true; ///< the grid's numbers changed since
    QMetaObject::Connection m_watch;
};

} // namespace md::host
