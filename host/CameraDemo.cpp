#include "CameraDemo.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTableView>

namespace md::host {

namespace {

/// The layout step's camera dock and its controls.
constexpr int kTraceByCamera = 0x300A0;
constexpr int kDock = 0x300A1;
constexpr int kCameraChooser = 0x300A2;
constexpr int kCalibrate = 0x300A3;
constexpr int kTrace = 0x300A4;
constexpr int kStop = 0x300A5;
constexpr int kStatus = 0x300A8;

/// How long the dock may take to show, and calibration or the trace to move on.
constexpr qint64 kDockMs = 10000;
constexpr qint64 kStalledMs = 30000;

} // namespace

CameraDemo::CameraDemo(QWidget& window, std::function<bool(int)> press,
                       std::function<QTableView*()> grid, QString cameraName)
    : m_window(window), m_press(std::move(press)), m_grid(std::move(grid)),
      m_cameraName(std::move(cameraName))
{
    m_waiting.start();
}

CameraDemo::~CameraDemo()
{
    QObject::disconnect(m_watch);
}

CameraDemo::Result CameraDemo::Fail(const QString& why)
{
    m_failure = why;
    m_phase = Phase::Finished;
    return Result::Failed;
}

QWidget* CameraDemo::Control(int number) const
{
    const QString name = QString::number(number);
    if (m_dock)
        if (auto* found = m_dock->findChild<QWidget*>(name))
            return found;
    return m_window.findChild<QWidget*>(name);
}

QString CameraDemo::State() const
{
    return m_dock ? m_dock->property("cameraState").toString() : QString();
}

QString CameraDemo::StatusText() const
{
    auto* label = qobject_cast<QLabel*>(Control(kStatus));
    return label && !label->text().isEmpty() ? label->text() : QObject::tr("no status text");
}

bool CameraDemo::Click(int number)
{
    auto* button = qobject_cast<QAbstractButton*>(Control(number));
    if (!button || !button->isEnabled())
        return false;
    button->click();
    m_waiting.restart();
    return true;
}

bool CameraDemo::Trigger(int number)
{
    // The button of an action on a tool bar of the layout step carries no name of its own.
    for (QAction* action : m_window.findChildren<QAction*>(QString::number(number)))
        if (action->isEnabled()) {
            action->trigger();
            return true;
        }
    return false;
}

int CameraDemo::TracedPixels()
{
    QTableView* grid = m_grid();
    const QAbstractItemModel* cells = grid ? grid->model() : nullptr;
    if (!cells)
        return 0;
    if (!m_watch) {
        // Counted again only when the grid's numbers change: the camera shares this thread.
        m_watch =
            QObject::connect(cells, &QAbstractItemModel::dataChanged, [this] { m_recount = true; });
        m_recount = true;
    }
    if (!m_recount)
        return m_traced;
    m_recount = false;
    m_traced = 0;
    for (int row = 0; row < cells->rowCount(); ++row)
        for (int column = 0; column < cells->columnCount(); ++column)
            if (!cells->data(cells->index(row, column)).toString().isEmpty())
                ++m_traced;
    return m_traced;
}

CameraDemo::Result CameraDemo::Step()
{
    switch (m_phase) {
    case Phase::OpenDock:
        m_dock = m_window.findChild<QWidget*>(QString::number(kDock));
        if (m_dock && m_dock->isVisible()) {
            m_phase = Phase::ChooseCamera;
            return Result::Going;
        }
        if (m_waiting.elapsed() > kDockMs)
            return Fail(m_dockAsked ? QObject::tr("the camera dock did not open")
                                    : QObject::tr("the layout step's Trace by camera button is "
                                                  "not there or disabled"));
        // Pressed once: the button may show and hide the dock in turn.
        if (!m_dockAsked)
            m_dockAsked = m_press(kTraceByCamera) || Trigger(kTraceByCamera);
        return Result::Going;
    case Phase::ChooseCamera: {
        auto* chooser = qobject_cast<QComboBox*>(Control(kCameraChooser));
        const int index = chooser ? chooser->findText(m_cameraName) : -1;
        if (index < 0)
            return Fail(QObject::tr("the camera dock does not offer %1").arg(m_cameraName));
        chooser->setCurrentIndex(index);
        m_phase = Phase::Calibrate;
        m_waiting.restart();
        return Result::Going;
    }
    case Phase::Calibrate:
        if (Click(kCalibrate))
            m_phase = Phase::Calibrating;
        else if (m_waiting.elapsed() > kDockMs)
            return Fail(QObject::tr("the camera dock's Calibrate button is not there or disabled"));
        return Result::Going;
    case Phase::Calibrating: {
        const QString state = State();
        if (state == QLatin1String("calibrated")) {
            m_phase = Phase::Trace;
            m_waiting.restart();
        } else if (state == QLatin1String("failed")) {
            return Fail(QObject::tr("calibration failed: %1").arg(StatusText()));
        } else if (m_waiting.elapsed() > kStalledMs) {
            return Fail(QObject::tr("calibration did not end (%1)").arg(StatusText()));
        }
        return Result::Going;
    }
    case Phase::Trace:
        if (Click(kTrace)) {
            m_phase = Phase::Tracing;
            m_tracing.start();
        } else if (m_waiting.elapsed() > kDockMs) {
            return Fail(QObject::tr("the camera dock's Trace button is not there or disabled"));
        }
        return Result::Going;
    case Phase::Tracing:
        return Watch();
    case Phase::Finished:
        return m_failure.isEmpty() ? Result::Done : Result::Failed;
    }
    return Result::Going;
}

CameraDemo::Result CameraDemo::Watch()
{
    const QString state = State();
    if (state == QLatin1String("failed") || state == QLatin1String("waiting"))
        return Fail(QObject::tr("tracing by camera %1: %2")
                        .arg(state == QLatin1String("failed") ? QObject::tr("failed")
                                                              : QObject::tr("waits for a click"))
                        .arg(StatusText()));
    const int before = m_traced;
    const int traced = TracedPixels();
    if (traced != before)
        m_waiting.restart();
    const bool enough = m_stopAfter > 0 && traced >= m_stopAfter;
    if (state == QLatin1String("done") || enough) {
        m_traceMs = m_tracing.elapsed();
        if (state != QLatin1String("done") && !Click(kStop))
            return Fail(QObject::tr("the camera dock's Stop button is not there or disabled"));
        m_phase = Phase::Finished;
        return Result::Done;
    }
    if (m_waiting.elapsed() > kStalledMs)
        return Fail(QObject::tr("tracing by camera made no progress for %1 s (%2)")
                        .arg(kStalledMs / 1000)
                        .arg(StatusText()));
    return Result::Going;
}

} // namespace md::host
