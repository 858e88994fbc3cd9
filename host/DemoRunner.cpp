#include "DemoRunner.h"

#include "CameraDemo.h"
#include "CommandAreaOwner.h"
#include "MainWindow.h"
#include "SettingsWindow.h"
#include "md/DesignRequests.h"
#include "md/IDesignUIPlugin.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>

namespace md::host {

namespace {

constexpr std::int32_t kNewLayout = 0x1000E;
constexpr std::int32_t kFinish = 0x10024;
constexpr int kLayoutGrid = 0xFFD0;
/// The layout grid's context menu: enable advanced tracing, set its scan row length, start.
constexpr int kAdvancedMenuCommands[] = {30814, 30809, 30812};
/// The scan row length dialog and its field.
constexpr int kScanRowLengthDialog = 20115;
constexpr int kScanRowLengthField = 20564;
/// The socket's required signals: type buttons 2, 3 and 4 (codes 16, 47 and 63).
constexpr int kRequiredTypeCommands[] = {0x10002, 0x10003, 0x10004};

void Click(QWidget* target, const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

/// Presses a button of the toolbar strip as the user does: the button itself, or its entry in
/// the strip's overflow menu when the strip is too narrow to show it.
bool Press(QWidget* strip, int command)
{
    const QString name = QString::number(command);
    auto* button = strip->findChild<QAbstractButton*>(name);
    if (button && button->isVisible() && button->isEnabled()) {
        button->click();
        return true;
    }
    auto* entry = strip->findChild<QAction*>(name);
    if (!entry || !entry->isEnabled())
        return false;
    entry->trigger();
    return true;
}

std::uint32_t Word(const std::uint8_t* bytes, int offset)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | bytes[offset + i];
    return value;
}

} // namespace

DemoRunner::DemoRunner(MainWindow& window, CommandAreaOwner& area, VirtualModule module,
                       QString programFolder, QObject* parent)
    : QObject(parent), m_window(window), m_area(area), m_module(std::move(module)),
      m_programFolder(std::move(programFolder))
{
    connect(&m_timer, &QTimer::timeout, this, &DemoRunner::Tick);
}

DemoRunner::~DemoRunner() = default;

std::optional<DemoRunner::Moment> DemoRunner::MomentNamed(const QString& name)
{
    if (name == QLatin1String("socket"))
        return Moment::Socket;
    if (name == QLatin1String("first-row"))
        return Moment::FirstRow;
    if (name == QLatin1String("advanced"))
        return Moment::Advanced;
    return std::nullopt;
}

void DemoRunner::Start(int paceMs)
{
    m_timer.start(std::max(paceMs, 1));
    m_waiting.invalidate();
    if (m_resume)
        Go(Stage::Resume, tr("Restoring the design the last run left"));
    else
        Go(Stage::FillPage, tr("Filling the module parameters"));
}

void DemoRunner::SpeedUp()
{
    m_timer.setInterval(5);
}

void DemoRunner::Go(Stage stage, const QString& note)
{
    m_stage = stage;
    if (stage == Stage::Done || stage == Stage::Failed)
        m_timer.stop();
    if (onProgress)
        onProgress(stage, note);
}

void DemoRunner::Stop(const QString& where)
{
    m_timer.stop();
    Go(Stage::Stopped, tr("Stopped %1").arg(where));
}

void DemoRunner::Fail(const QString& why)
{
    m_failure = why;
    Go(Stage::Failed, why);
}

void DemoRunner::Later(std::function<void()> action)
{
    // Actions that open modal dialogs run from their own event so that ticks go on meanwhile.
    m_busy = true;
    QTimer::singleShot(0, this, [this, action = std::move(action)] {
        action();
        m_busy = false;
    });
}

QTableView* DemoRunner::Grid() const
{
    // A grid that New layout replaced may linger until it is deleted: the one shown counts.
    QTableView* found = nullptr;
    for (auto* grid : m_window.findChildren<QTableView*>(QString::number(kLayoutGrid)))
        if (!found || grid->isVisible())
            found = grid;
    return found;
}

QWidget* DemoRunner::Find(const QString& name) const
{
    if (SettingsWindow* settings = m_window.ExistingSettings())
        if (auto* found = settings->findChild<QWidget*>(name))
            return found;
    return m_window.findChild<QWidget*>(name);
}

VirtualModule::Frame DemoRunner::Showing() const
{
    const std::uint8_t* bytes = m_area.Bytes();
    return m_module.Show(Word(bytes, 24), Word(bytes, 28));
}

void DemoRunner::Tick()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        PickFromMenu(popup);
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        Answer(modal);
        return;
    }
    if (m_busy)
        return;
    IDesignUIPlugin* panel = m_window.Panel();
    switch (m_stage) {
    case Stage::FillPage:
        if (!FillPage())
            return Fail(tr("the module parameter page is not there"));
        Go(Stage::Wizard, tr("Running the smart-setting wizard"));
        Later([this] {
            if (auto* next = qobject_cast<QPushButton*>(Find("NextButton")))
                next->click();
        });
        return;
    case Stage::Wizard:
        if (!panel || !panel->IsDesignOpen())
            return Fail(tr("the wizard did not hand the module to the design panel"));
        if (SettingsWindow* settings = m_window.ExistingSettings())
            settings->hide();
        Go(Stage::Socket, tr("Assigning the socket's clock, latch and enable pins"));
        return;
    case Stage::Socket:
        if (!DesignSocket())
            return Fail(tr("the socket page or its toolbar buttons are not there"));
        if (m_stopAt == Moment::Socket)
            return Stop(tr("after the socket design"));
        Go(Stage::NewLayout, tr("New layout"));
        return;
    case Stage::NewLayout: {
        // From an event of its own: a grid that stands already is replaced after a question.
        if (!m_newLayoutSent) {
            m_newLayoutSent = true;
            panel->OnNotify(3, 0, 0);
            Later([this] {
                if (!Press(m_window.ToolbarArea(), kNewLayout))
                    Fail(tr("the layout step's New layout button is not there"));
            });
            return;
        }
        auto* grid = Grid();
        if (!grid || grid->model()->rowCount() == 0)
            return Fail(tr("New layout made no layout grid"));
        panel->OnNotify(3, 0, 0);
        if (m_advanced)
            Go(Stage::Advanced, tr("Setting up advanced tracing"));
        else if (!m_cameraName.isEmpty())
            Go(Stage::Tracing, tr("Tracing by camera"));
        else
            Go(Stage::Tracing, tr("Clicking every pixel the module lights"));
        return;
    }
    case Stage::Advanced:
        if (!SetUpAdvanced())
            return;
        Go(Stage::Tracing, m_cameraName.isEmpty() ? tr("Clicking every point the module lights")
                                                  : tr("Tracing every point by camera"));
        return;
    case Stage::Resume:
        Resume();
        return;
    case Stage::Tracing:
        if (!(m_cameraName.isEmpty() ? TraceNext() : TraceByCamera()))
            return;
        Go(Stage::Finish, tr("Finish"));
        return;
    case Stage::Finish: {
        if (!Press(m_window.ToolbarArea(), kFinish))
            return Fail(tr("the layout step's Finish button is not there"));
        Go(Stage::Save, tr("Saving to ModLib"));
        return;
    }
    case Stage::Save: {
        QString name = m_module.Module().name.section(',', 0, 0).simplified();
        name.replace(QRegularExpression("[^A-Za-z0-9]+"), "-");
        m_saved = QDir(m_programFolder).filePath("ModLib/" + name + ".MDR");
        QDir().mkpath(QDir(m_programFolder).filePath("ModLib"));
        DriverFileRequest request{};
        const std::u16string path = m_saved.toStdU16String();
        std::copy(path.begin(), path.end(), request.path);
        if (panel->OnNotify(145, 0, reinterpret_cast<std::intptr_t>(&request)) != 0)
            return Fail(tr("saving %1 failed").arg(m_saved));
        Go(Stage::Reopen, tr("Opening %1 again").arg(QDir::toNativeSeparators(m_saved)));
        Later([this, panel, path] {
            if (panel->OpenDesign(path.c_str()) != 0)
                Fail(tr("opening %1 again failed").arg(m_saved));
        });
        return;
    }
    case Stage::Reopen:
        if (!panel->IsDesignOpen())
            return Fail(tr("the design is not open after opening it again"));
        panel->OnNotify(3, 0, 0);
        Go(Stage::Done, tr("Done: %1 points traced, saved as %2")
                            .arg(m_traced)
                            .arg(QDir::toNativeSeparators(m_saved)));
        return;
    case Stage::Done:
    case Stage::Failed:
    case Stage::Stopped:
        return;
    }
}

bool DemoRunner::FillPage()
{
    SettingsWindow* settings = m_window.Settings();
    if (!settings)
        return false;
    settings->show();
    const VirtualModule::Description& d = m_module.Module();
    auto* width = qobject_cast<QLineEdit*>(Find("20502"));
    auto* height = qobject_cast<QLineEdit*>(Find("20503"));
    auto* groups = qobject_cast<QLineEdit*>(Find("20504"));
    if (!width || !height || !groups)
        return false;
    width->setText(QString::number(d.width));
    height->setText(QString::number(d.height));
    groups->setText(QString::number(d.groups));
    return true;
}

void DemoRunner::Answer(QWidget* modal)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        // Questions on the way (give up the saved design to open it again): yes.
        QAbstractButton* button = box->button(QMessageBox::Yes);
        if (!button)
            button = box->button(QMessageBox::Ok);
        if (!button)
            button = box->defaultButton();
        if (button)
            button->click();
        else
            box->reject();
        return;
    }
    if (modal->objectName() == "20109") { // step 6: the module is shown as it should be
        qobject_cast<QDialog*>(modal)->reject();
        return;
    }
    if (modal->objectName() == QString::number(kScanRowLengthDialog)) {
        const VirtualModule::Description& d = m_module.Module();
        auto* field = modal->findChild<QLineEdit*>(QString::number(kScanRowLengthField));
        if (field && !d.chains.isEmpty())
            field->setText(QString::number(d.chains[0][0].size()));
    }
    if (modal->findChild<QPushButton*>()) {
        AnswerStep(modal);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
}

void DemoRunner::AnswerStep(QWidget* step)
{
    const VirtualModule::Description& d = m_module.Module();
    auto* state1 = step->findChild<QRadioButton*>("State1");
    auto* state2 = step->findChild<QRadioButton*>("State2");
    if (state1 && state2) {
        // Step 1 shows the polarity test (mode 6), step 2 the brightness test.
        const bool polarityStep = (Word(m_area.Bytes(), 28) & 0x0F) == 6;
        const bool second = polarityStep ? d.allLitWithBit1 : !d.brighterWithBit3;
        (second ? state2 : state1)->click();
    }
    if (auto* rows = step->findChild<QComboBox*>("ScanRows"))
        rows->setCurrentIndex(rows->findData(d.scanRows));
    for (int line = 0; line < 4; ++line) {
        auto* list = step->findChild<QComboBox*>(QStringLiteral("Colour%1").arg(line + 1));
        if (!list || !list->isEnabled() || line >= d.lineColours.size())
            continue;
        const int index = list->findData(d.lineColours[line]);
        if (index >= 0)
            list->setCurrentIndex(index);
    }
    for (QPushButton* button : step->findChildren<QPushButton*>())
        if (button->isDefault()) {
            button->click();
            return;
        }
}

bool DemoRunner::DesignSocket()
{
    IDesignUIPlugin* panel = m_window.Panel();
    panel->OnNotify(2, 0, 0);
    QWidget* page = Find("20004");
    if (!page)
        return false;
    // The frame view draws the pins in two columns of boxes; the first three get the signals.
    QWidget* frame = nullptr;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            frame = child;
    if (!frame)
        return false;
    const int box = frame->height() / 20; // 40 pins in 20 rows
    const int left = 50;
    for (int pin = 0; pin < 3; ++pin) {
        Click(frame, QPoint(left + (pin % 2) * box + box / 2, (pin / 2) * box + box / 2));
        auto* type = qobject_cast<QAbstractButton*>(m_window.ToolbarArea()->findChild<QWidget*>(
            QString::number(kRequiredTypeCommands[pin])));
        if (!type || !type->isEnabled())
            return false;
        type->click();
    }
    return true;
}

int DemoRunner::PointsToTrace() const
{
    const VirtualModule::Description& d = m_module.Module();
    if (d.chains.isEmpty())
        return 0;
    if (!m_advanced)
        return static_cast<int>(d.chains[0][0].size());
    int points = 0;
    for (const auto& group : d.chains)
        for (const auto& row : group)
            points += static_cast<int>(row.size());
    return points;
}

void DemoRunner::PickFromMenu(QWidget* popup)
{
    auto* menu = qobject_cast<QMenu*>(popup);
    if (!menu || m_menuCommand == 0)
        return;
    QAction* action = nullptr;
    for (QAction* entry : menu->actions())
        if (entry->objectName() == QString::number(m_menuCommand))
            action = entry;
    m_menuCommand = 0;
    if (!action || !action->isEnabled()) {
        menu->close();
        return Fail(tr("the layout grid's menu offers no enabled command %1")
                        .arg(action ? action->objectName() : tr("of that number")));
    }
    // Chosen as the user does, with the keyboard, from the menu's own event loop: the command
    // may open a dialog of its own.
    QTimer::singleShot(0, menu, [menu = QPointer<QMenu>(menu), action = QPointer<QAction>(action)] {
        if (!menu || !action)
            return;
        menu->setActiveAction(action);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &press);
    });
}

bool DemoRunner::SetUpAdvanced()
{
    if (m_advancedStep >= static_cast<int>(std::size(kAdvancedMenuCommands)))
        return true;
    auto* grid = Grid();
    if (!grid) {
        Fail(tr("the layout grid went away before advanced tracing"));
        return false;
    }
    m_menuCommand = kAdvancedMenuCommands[m_advancedStep++];
    QPointer<QWidget> viewport = grid->viewport();
    Later([viewport] {
        if (viewport)
            Click(viewport, QPoint(4, 4), Qt::RightButton);
    });
    return false;
}

bool DemoRunner::Resume()
{
    IDesignUIPlugin* panel = m_window.Panel();
    if (!m_waiting.isValid())
        m_waiting.start();
    if (!panel || !panel->IsDesignOpen()) {
        if (m_waiting.elapsed() > 10000)
            Fail(tr("no design was restored"));
        return false;
    }
    m_waiting.invalidate();
    auto* grid = Grid();
    const QAbstractItemModel* cells = grid ? grid->model() : nullptr;
    if (!cells || cells->rowCount() == 0) {
        Go(Stage::NewLayout, tr("New layout"));
        return true;
    }
    // The restored grid numbers the points traced so far: the run goes on after them.
    const int width = cells->columnCount();
    for (int row = 0; row < cells->rowCount(); ++row)
        for (int column = 0; column < width; ++column)
            if (!cells->data(cells->index(row, column)).toString().isEmpty()) {
                m_clicked.insert(row * width + column);
                ++m_traced;
            }
    panel->OnNotify(3, 0, 0);
    Go(Stage::Tracing, tr("Clicking the pixels the restored design has not traced yet"));
    return true;
}

bool DemoRunner::TraceNext()
{
    if (m_traced >= PointsToTrace())
        return true;
    const VirtualModule::Frame frame = Showing();
    int lit = -1;
    for (int i = 0; i < frame.pixels.size(); ++i)
        if (frame.pixels[i] != QColor(Qt::black))
            lit = i;
    if (frame.caption.isEmpty() || !frame.caption.startsWith("Group"))
        lit = -1; // not a point-lighting picture
    auto* grid = Grid();
    if (!grid) {
        Fail(tr("the layout grid went away while tracing"));
        return false;
    }
    if (!m_waiting.isValid())
        m_waiting.start();
    if (lit < 0 || m_clicked.contains(lit)) {
        // Tracing blinks the next position with the one before it: wait for the new one.
        if (m_waiting.elapsed() > 5000)
            Fail(tr("the module shows no new lit pixel for position %1 (it shows: %2)")
                     .arg(m_traced + 1)
                     .arg(frame.caption.isEmpty() ? tr("nothing") : frame.caption));
        return false;
    }
    const QModelIndex index = grid->model()->index(lit / frame.width, lit % frame.width);
    grid->scrollTo(index);
    if (!grid->isVisible() || !grid->viewport()->rect().contains(grid->visualRect(index).center()))
        return false; // not laid out yet
    m_clicked.insert(lit);
    m_waiting.restart();
    // From an event of its own: the last point of a trace says so in a message box.
    QPointer<QWidget> viewport = grid->viewport();
    const QPoint at = grid->visualRect(index).center();
    Later([viewport, at] {
        if (viewport)
            Click(viewport, at);
    });
    ++m_traced;
    const bool halfWay = m_traced == PointsToTrace() / 2;
    if (halfWay && m_stopAt == (m_advanced ? Moment::Advanced : Moment::FirstRow))
        Stop(tr("half way through the tracing, %1 points traced").arg(m_traced));
    return false;
}

bool DemoRunner::TraceByCamera()
{
    if (!m_camera) {
        m_camera = std::make_unique<CameraDemo>(
            m_window, [this](int command) { return Press(m_window.ToolbarArea(), command); },
            [this] { return Grid(); }, m_cameraName);
        m_camera->StopAfter(m_stopAfterPixels);
    }
    switch (m_camera->Step()) {
    case CameraDemo::Result::Going:
        return false;
    case CameraDemo::Result::Failed:
        Fail(m_camera->Failure());
        return false;
    case CameraDemo::Result::Done:
        break;
    }
    m_traced = m_camera->TracedPixels();
    if (onProgress)
        onProgress(
            m_stage,
            tr("%1 pixels traced by camera in %2 ms").arg(m_traced).arg(m_camera->TraceMs()));
    if (m_stopAfterPixels > 0 && m_traced >= m_stopAfterPixels) {
        Stop(tr("after %1 pixels traced by camera").arg(m_traced));
        return false;
    }
    return true;
}

} // namespace md::host
