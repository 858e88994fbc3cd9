// A whole point-go run through the reference host, as an engineer does it at the desk: a cell of
// two red, two green and two blue LEDs, each pair one parallel group, designed on the parameter
// page; the module traced and saved; the host's test device connected and every LED it lights
// confirmed in the layout grid, with the LED picker answered while a pixel has more than one LED
// left; one answer that comes late (Retry) and one moment the device vanishes and comes back at
// the same path (Retry reopens it and the run goes on where it was). Finish and save: the saved
// driver file must list the device's LEDs in the device's order.
#include "HostFixture.h"
#include "support/ModalDriver.h"
#include "virtual/VirtualTestDevice.h"

#include "core/driverfile/DriverFileContents.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"
#include "md/DesignRequests.h"
#include "md/IDesignUIPlugin.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <mutex>
#include <tuple>

namespace md::host::test {
namespace {

// A full-colour module of 4 × 2 pixels, 1/2 scan, one data group: red, green and blue data
// lines; the chain runs along each pixel row.
constexpr const char* kModule = R"({
    "name": "RGB 4 x 2, 1/2 scan, 1 data group",
    "width": 4, "height": 2, "scanRows": 2, "groups": 1,
    "allLitWithBit1": false, "brighterWithBit3": true,
    "lineColours": [0, 1, 2, -1],
    "chains": [[
        [[0,0],[1,0],[2,0],[3,0]],
        [[0,1],[1,1],[2,1],[3,1]]
    ]]
})";

constexpr int kHardwareStart = 0x1001E;
constexpr int kEveryLed = 0x10018;
constexpr int kMarkAll = 0x1000F;
constexpr int kFinish = 0x10024;
constexpr int kSaveDesign = 145;
// Where the cell design puts its six small LEDs (canvas pixels), two of each colour side by
// side: red at the right, blue at the left.
QPoint LedAt(int colour, int led)
{
    return {200 - 40 * (2 * colour + led) + 3, 3};
}

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

/// Answers every modal window of the run from a timer: a message box with Retry (or OK) once it
/// has been up for a while (the time to plug the adapter in again), the LED picker at once with
/// the LED the device lights.
class ModalAnswerer
{
public:
    ModalAnswerer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
        m_timer.start(10);
    }
    QStringList asked;
    int wantedColour = 0;
    int wantedLed = 0;

private:
    void Answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box != m_box) {
                m_box = box;
                m_shown.start();
            }
            if (m_shown.elapsed() < 300)
                return;
            m_box = nullptr;
            asked << box->text();
            QAbstractButton* retry = box->button(QMessageBox::Retry);
            (retry ? retry : box->button(QMessageBox::Ok))->click();
            return;
        }
        // The LED picker shows each candidate LED where the cell design placed it.
        const QPoint at = LedAt(wantedColour, wantedLed);
        Send(modal, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        Send(modal, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    QTimer m_timer;
    QMessageBox* m_box = nullptr;
    QElapsedTimer m_shown;
};

using PointGoRunThroughHostTest = HostFixture;

TEST_F(PointGoRunThroughHostTest, SavedDriverFileHoldsTheDevicesOrderAfterALateAnswerAndAVanish)
{
    VirtualTestDevice* device = m_window->TestDevice();
    ASSERT_NE(device, nullptr);
    {
        QFile file(m_program.filePath("VirtualModules/rgb-4x2-2S.json"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kModule);
    }
    const auto description =
        VirtualModule::Load(m_program.filePath("VirtualModules/rgb-4x2-2S.json"));
    ASSERT_TRUE(description);
    const VirtualModule module(*description);
    m_window->UseVirtualModule(module);
    m_window->SetDeviceLeds(2);

    // The cell: two small LEDs of each colour, each pair merged into a parallel group (the LEDs
    // of a group share their colour).
    SettingsWindow* settings = ShowSettings();
    ASSERT_NE(settings, nullptr);
    auto* cellDesign = Find<QPushButton>(settings, "CellDesignButton");
    ASSERT_NE(cellDesign, nullptr);
    QString cellTrouble;
    md::test::ModalDriver::Expect([&](QWidget* dialog) {
        // The drawing area inside its frame.
        QWidget* canvas = nullptr;
        if (auto* frame = Find<QWidget>(dialog, "20040"))
            canvas = frame->childAt(frame->width() / 2, frame->height() / 2);
        if (!canvas) {
            cellTrouble = "no canvas";
            Find<QPushButton>(dialog, "2")->click();
            return;
        }
        QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(250, 250)); // chooses the cell
        const int lists[] = {20011, 20014, 20017};
        const int adds[] = {20034, 20042, 20044};
        const auto click = [&](QPoint at, Qt::KeyboardModifiers modifiers) {
            Send(canvas, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, modifiers);
            Send(canvas, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, modifiers);
        };
        for (int colour = 0; colour < 3; ++colour) {
            auto* list = Find<QComboBox>(dialog, QString::number(lists[colour]));
            list->setCurrentIndex(list->findText("0603", Qt::MatchContains));
            for (int led = 0; led < 2; ++led) {
                // A new LED sits at the canvas' corner: it is dragged to its place.
                Find<QPushButton>(dialog, QString::number(adds[colour]))->click();
                const QPoint corner(3, 3);
                Send(canvas, QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
                Send(canvas, QEvent::MouseMove, LedAt(colour, led), Qt::NoButton, Qt::LeftButton);
                Send(canvas, QEvent::MouseButtonRelease, LedAt(colour, led), Qt::LeftButton,
                     Qt::NoButton);
            }
        }
        for (int colour = 0; colour < 3; ++colour) {
            click(LedAt(colour, 0), {});
            click(LedAt(colour, 1), Qt::ControlModifier);
            Find<QPushButton>(dialog, "5")->click(); // merge
        }
        Find<QPushButton>(dialog, "1")->click(); // confirm
    });
    cellDesign->click();
    ASSERT_TRUE(cellTrouble.isEmpty()) << cellTrouble.toStdString();

    ASSERT_NO_FATAL_FAILURE(RunDemo("rgb-4x2-2S.json"));

    // What the device lights, in its order.
    std::mutex mutex;
    std::vector<VirtualTestDevice::Lit> lit;
    device->onLit = [&](const VirtualTestDevice::Lit& led) {
        std::lock_guard lock(mutex);
        lit.push_back(led);
    };
    // Request 1 is the probe after the handshake. The answer that lights the fourth LED comes so
    // late that it arrives after the Retry was answered (a stale echo while point-go waits for
    // the next LED), and the device vanishes instead of lighting the twentieth.
    device->AnswerLate(4, std::chrono::milliseconds(1500));
    device->VanishAt(20, std::chrono::milliseconds(150));

    ModalAnswerer answerer;
    auto* start = m_window->findChild<QAction*>(QString::number(kHardwareStart));
    ASSERT_NE(start, nullptr);
    start->trigger();
    // Point-go records the marked pixels: all of them, every LED.
    for (const int command : {kMarkAll, kEveryLed}) {
        auto* action = m_window->findChild<QAction*>(QString::number(command));
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }

    auto* grid = m_window->PanelArea()->findChild<QTableView*>("65488");
    ASSERT_NE(grid, nullptr);
    auto* status = m_window->findChild<QLabel*>("20544");
    ASSERT_NE(status, nullptr);
    // Point-go takes the next confirmation once the status bar names the next LED and no longer
    // waits for the device.
    QString before;
    const auto ready = [&] {
        const QString text = status->text();
        return text != before && !text.contains("waiting") &&
               (text.contains("next:") || text.contains("finished", Qt::CaseInsensitive));
    };
    const auto lastLit = [&] {
        std::lock_guard lock(mutex);
        return lit.empty() ? VirtualTestDevice::Lit{-1, -1, 0, 0} : lit.back();
    };

    const int rows = description->scanRows;
    const int perRow = description->width * description->height / rows;
    const int perLine = 2 * perRow * rows;
    const int leds = 3 * perLine;
    // The device's order: data line by data line (one per colour of the group), scan row by scan
    // row, position by position, the two LEDs of the pixel's colour.
    std::vector<QPoint> truth;
    for (int k = 0; k < leds; ++k) {
        const int inLine = k % perLine;
        const auto pixel = module.PixelOf(0, inLine / (2 * perRow), inLine % (2 * perRow) / 2 + 1);
        ASSERT_TRUE(pixel);
        truth.emplace_back(pixel->first, pixel->second);
    }
    for (int k = 0; k < leds; ++k) {
        ASSERT_TRUE(QTest::qWaitFor(ready, 5000))
            << "LED " << k << ": " << status->text().toStdString() << " / "
            << answerer.asked.join(" | ").toStdString();
        // The device lights LED k of its order: none skipped, none lit twice.
        const VirtualTestDevice::Lit led = lastLit();
        const int inLine = k % perLine;
        ASSERT_EQ(std::tuple(led.line, led.scanRow, led.position, led.led),
                  std::tuple(k / perLine, inLine / (2 * perRow), inLine % (2 * perRow) / 2 + 1,
                             inLine % 2))
            << "LED " << k;
        const auto pixel = module.PixelOf(0, led.scanRow, led.position);
        ASSERT_TRUE(pixel) << "LED " << k;
        answerer.wantedColour = led.line;
        answerer.wantedLed = led.led;
        const QPoint at =
            grid->visualRect(grid->model()->index(pixel->second, pixel->first)).center();
        before = status->text();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    ASSERT_TRUE(QTest::qWaitFor(ready, 5000)) << status->text().toStdString();
    // The late answer and the vanished line each asked once; the last LED says point-go is done.
    ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.asked.size() >= 3; }, 3000))
        << answerer.asked.join(" | ").toStdString();
    const QString failed = QStringLiteral("The data could not be sent to the device.");
    EXPECT_EQ(answerer.asked, (QStringList{failed, failed, QStringLiteral("Point-go finished.")}));

    // Finish makes point-go's result the layout; the design is saved.
    auto* finish = m_window->ToolbarArea()->findChild<QAbstractButton*>(QString::number(kFinish));
    ASSERT_NE(finish, nullptr);
    finish->click();
    const QString saved = m_program.filePath("ModLib/pointgo-run.MDR");
    QDir().mkpath(m_program.filePath("ModLib"));
    DriverFileRequest request{};
    const std::u16string path = saved.toStdU16String();
    std::copy(path.begin(), path.end(), request.path);
    ASSERT_EQ(
        m_window->Panel()->OnNotify(kSaveDesign, 0, reinterpret_cast<std::intptr_t>(&request)), 0);

    const auto bytes = fileio::ReadAll(saved.toStdString());
    ASSERT_TRUE(bytes.has_value());
    DriverFileContents contents;
    std::string parseError;
    ASSERT_TRUE(contents.Parse(*bytes, CodePage(), parseError)) << parseError;
    ASSERT_TRUE(contents.layout.layoutPresent);
    std::vector<QPoint> order;
    for (const auto& entry : contents.layout.result)
        for (const auto& row : entry.rows)
            for (const auto& point : row.points)
                order.emplace_back(point.x, point.y);
    EXPECT_EQ(order, truth);
    m_window->close();
}

} // namespace
} // namespace md::host::test
