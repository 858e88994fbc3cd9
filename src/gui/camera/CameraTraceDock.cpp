#include "gui/camera/CameraTraceDock.h"

#include "gui/camera/CameraPicture.h"
#include "gui/camera/CameraTraceController.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"
#include "md/OwnIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace md {

namespace {

QString StateText(CameraTraceController::State state)
{
    using State = CameraTraceController::State;
    switch (state) {
    case State::Idle:
        return HostText("IDS_MD_CAMERA_STATE_IDLE", QStringLiteral("Not calibrated."));
    case State::Calibrating:
        return HostText("IDS_MD_CAMERA_STATE_CALIBRATING", QStringLiteral("Calibrating..."));
    case State::Calibrated:
        return HostText("IDS_MD_CAMERA_STATE_CALIBRATED",
                        QStringLiteral("Calibrated: ready to trace."));
    case State::Tracing:
        return HostText("IDS_MD_CAMERA_STATE_TRACING", QStringLiteral("Tracing..."));
    case State::Waiting:
        return HostText("IDS_MD_CAMERA_STATE_WAITING",
                        QStringLiteral("Stopped: the camera cannot tell this position. Click it "
                                       "in the layout grid, then Resume."));
    case State::Done:
        return HostText("IDS_MD_CAMERA_STATE_DONE", QStringLiteral("Traced."));
    case State::Failed:
        return HostText("IDS_MD_CAMERA_STATE_FAILED", QStringLiteral("The module was not found:"));
    }
    return {};
}

QString FailureText(const FinderResult& found)
{
    switch (found.failure) {
    case FinderFailure::None:
        return {};
    case FinderFailure::BadFrames:
        return HostText("IDS_MD_CAMERA_BAD_FRAMES",
                        QStringLiteral("the camera's frames are empty or changed size."));
    case FinderFailure::NothingLit:
        return HostText("IDS_MD_CAMERA_NOTHING_LIT",
                        QStringLiteral("nothing lit up. Point the camera at the module."));
    case FinderFailure::NotWhollyInPicture:
        return HostText("IDS_MD_CAMERA_NOT_WHOLLY",
                        QStringLiteral("the module is not wholly in the picture. Move the camera "
                                       "back or turn it until the whole module shows."));
    case FinderFailure::NoGrid:
        return HostText("IDS_MD_CAMERA_NO_GRID",
                        QStringLiteral("the lit area does not match a grid of %1 x %2 pixels. "
                                       "Check the module's size; if the LEDs blur together, "
                                       "bring the camera closer or focus it."))
            .arg(found.width)
            .arg(found.height);
    }
    return {};
}

QPushButton* Button(const char* key, const QString& fallback, int id, QWidget* parent)
{
    auto* button = new QPushButton(HostText(key, fallback), parent);
    SetResourceId(button, id);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CameraTraceDock::CameraTraceDock(CommandChannel& channel, HostServices& host, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_host(host)
{
    SetResourceId(this, own::kCameraTraceDock);
    setWindowTitle(HostText("IDS_MD_CAMERA_TRACE", QStringLiteral("Trace by camera")));
    m_controller = new CameraTraceController(channel, this);

    m_chooser = new QComboBox(this);
    SetResourceId(m_chooser, own::kCameraChooser);
    m_calibrate =
        Button("IDS_MD_CAMERA_CALIBRATE", QStringLiteral("Calibrate"), own::kCameraCalibrate, this);
    m_trace =
        Button("IDS_MD_CAMERA_TRACE_BUTTON", QStringLiteral("Trace"), own::kCameraTrace, this);
    m_stop = Button("IDS_MD_CAMERA_STOP", QStringLiteral("Stop"), own::kCameraStop, this);
    m_resume = Button("IDS_MD_CAMERA_RESUME", QStringLiteral("Resume"), own::kCameraResume, this);
    m_picture = new CameraPicture(this);
    SetResourceId(m_picture, own::kCameraTracePicture);
    m_status = new QLabel(this);
    SetResourceId(m_status, own::kCameraStatus);
    m_status->setWordWrap(true);
    m_turn = new QComboBox(this);
    SetResourceId(m_turn, own::kCameraTurn);
    for (const int degrees : {0, 90, 180, 270})
        m_turn->addItem(QStringLiteral("%1°").arg(degrees), degrees);
    m_turn->setToolTip(HostText("IDS_MD_CAMERA_TURN", QStringLiteral("Turn the grid")));
    m_mirror = new QCheckBox(HostText("IDS_MD_CAMERA_MIRROR", QStringLiteral("Mirror")), this);
    SetResourceId(m_mirror, own::kCameraMirror);

    auto* top = new QHBoxLayout;
    top->addWidget(m_chooser, 1);
    top->addWidget(m_calibrate);
    top->addWidget(m_trace);
    top->addWidget(m_stop);
    top->addWidget(m_resume);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_turn);
    bottom->addWidget(m_mirror);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_picture, 1);
    layout->addLayout(bottom);

    connect(m_chooser, &QComboBox::activated, this, &CameraTraceDock::ChooseCamera);
    connect(m_calibrate, &QPushButton::clicked, m_controller, &CameraTraceController::Calibrate);
    connect(m_trace, &QPushButton::clicked, m_controller, &CameraTraceController::Trace);
    connect(m_stop, &QPushButton::clicked, m_controller, &CameraTraceController::Stop);
    connect(m_resume, &QPushButton::clicked, m_controller, &CameraTraceController::Resume);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_controller, &CameraTraceController::Stop);
    connect(m_turn, &QComboBox::currentIndexChanged, this, &CameraTraceDock::ApplyOrientation);
    connect(m_mirror, &QCheckBox::toggled, this, &CameraTraceDock::ApplyOrientation);
    connect(m_controller, &CameraTraceController::pictureChanged, this,
            &CameraTraceDock::ShowPicture);
    connect(m_controller, &CameraTraceController::stateChanged, this,
            &CameraTraceDock::UpdateControls);
    connect(m_controller, &CameraTraceController::traced, this, [this] {
        UpdateControls();
        emit traced();
    });
    UpdateControls();
}

CameraTraceDock::~CameraTraceDock()
{
    // The run stops while this window's members still stand.
    delete m_controller;
}

void CameraTraceDock::SetTracer(PointTracer* tracer, QTimer* blink)
{
    m_controller->SetTracer(tracer, blink);
    UpdateControls();
}

QString CameraTraceDock::CameraState() const
{
    return QString::fromLatin1(CameraTraceController::StateName(m_controller->CurrentState()));
}

void CameraTraceDock::RefreshCameras()
{
    m_cameras = CameraList::Available(m_host);
    m_chooser->clear();
    for (const CameraList::Entry& camera : m_cameras)
        m_chooser->addItem(camera.name);
    m_chooser->setEnabled(!m_cameras.empty());
    if (!m_controller->Source() && !m_cameras.empty())
        ChooseCamera(0);
    UpdateControls();
}

void CameraTraceDock::ChooseCamera(int index)
{
    if (index < 0 || index >= static_cast<int>(m_cameras.size()))
        return;
    m_chooser->setCurrentIndex(index);
    m_controller->SetSource(m_cameras[static_cast<std::size_t>(index)].open());
    UpdateControls();
}

void CameraTraceDock::ApplyOrientation()
{
    m_controller->SetOrientation({m_turn->currentData().toInt(), m_mirror->isChecked()});
    ShowPicture();
    UpdateControls();
}

void CameraTraceDock::ShowPicture()
{
    m_picture->Show(m_controller->Picture(), m_controller->Grid(), m_controller->Found());
}

void CameraTraceDock::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_controller->SetPaused(false);
    if (!m_controller->Source())
        RefreshCameras();
    emit visibilityChanged(true);
}

void CameraTraceDock::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_controller->SetPaused(true);
    UpdateControls();
    emit visibilityChanged(false);
}

QString CameraTraceDock::StatusText() const
{
    const CameraTraceController& c = *m_controller;
    if (m_cameras.empty())
        return CameraList::NoCameraText();
    if (!c.Source())
        return QString::fromStdU16String(c.SourceError());
    using State = CameraTraceController::State;
    QStringList parts{StateText(c.CurrentState())};
    if (c.CurrentState() == State::Failed)
        parts << FailureText(c.Calibration());
    if (c.CurrentState() == State::Tracing || c.CurrentState() == State::Waiting ||
        c.CurrentState() == State::Done)
        parts << HostText("IDS_MD_CAMERA_COUNTS",
                          QStringLiteral("Positions clicked: %1, virtual points: %2."))
                     .arg(c.Clicks())
                     .arg(c.Virtuals());
    if (const ModuleGrid* grid = c.Grid())
        parts << HostText("IDS_MD_CAMERA_FIT", QStringLiteral("Fit error %1 cells, pitch %2 px."))
                     .arg(grid->fitError, 0, 'f', 3)
                     .arg(grid->pitch, 0, 'f', 1);
    if (c.CurrentWarning() == CameraTraceController::Warning::Saturated)
        parts << HostText("IDS_MD_CAMERA_SATURATED",
                          QStringLiteral("The LEDs saturate: lower the exposure."));
    else if (c.CurrentWarning() == CameraTraceController::Warning::LowContrast)
        parts << HostText("IDS_MD_CAMERA_LOW_CONTRAST",
                          QStringLiteral("The LEDs drown in the background: darken the room or "
                                         "raise the exposure."));
    return parts.join(QLatin1Char(' '));
}

void CameraTraceDock::UpdateControls()
{
    using State = CameraTraceController::State;
    const CameraTraceController& c = *m_controller;
    const State state = c.CurrentState();
    const bool ready = c.Source() && c.Tracer();
    m_calibrate->setEnabled(ready && state != State::Calibrating && state != State::Tracing &&
                            state != State::Waiting);
    m_trace->setEnabled(ready && (state == State::Calibrated || state == State::Done));
    m_stop->setEnabled(state == State::Calibrating || state == State::Tracing ||
                       state == State::Waiting);
    m_resume->setEnabled(state == State::Waiting);
    m_status->setText(StatusText());
    const QString name = CameraState();
    if (name != m_lastState) {
        m_lastState = name;
        emit cameraStateChanged(name);
    }
}

} // namespace md
