// The test device port dialog with real widgets offscreen over real pseudo-terminals: the ports
// present and the host's, "Test link" against a silent and an answering device while the window
// keeps working, the choice kept in the profile and used by the layout step's point-go; and the
// graphical choice among a pixel's candidate LEDs.
#include "core/design/CellDesign.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/io/IniFile.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointGoPortPresenter.h"
#include "core/support/FakePorts.h"
#include "core/support/PtyDevice.h"
#include "gui/design/ParallelLEDSelectedCtrl.h"
#include "gui/layout/PointGoLedPicker.h"
#include "gui/layout/PointGoPortDlg.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/wizard/ModuleLayoutDlg.h"
#include "md/OwnIds.h"
#include "support/ModalDriver.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace md {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

template <typename T>
T* Child(QWidget* window, int id)
{
    return window->findChild<T*>(QString::number(id));
}

Bytes Reply(std::uint8_t lines, std::uint8_t length)
{
    Bytes reply(48, 0);
    reply[0] = 0xA0;
    reply[1] = lines;
    for (std::uint8_t i = 0; i < lines; ++i)
        reply[3 + 2 * i] = length;
    return reply;
}

TEST(PointGoPortDialog, ListsTheLinesTestsThemWithoutHoldingTheWindowAndKeepsTheChoice)
{
    QTemporaryDir folder;
    const fs::path root = folder.path().toStdString();
    test::PtyDevice adapter, hosts;
    fs::create_symlink(adapter.Path(), root / "ttyUSB0");
    test::MapTexts texts;
    int releases = 0;
    PointGoPortPresenter presenter({texts, [&] { return ListSerialDevices(root); },
                                    [&](const PointGoPortChoice& choice, std::u16string& reason) {
                                        return OpenPointGoPort(choice, texts, reason);
                                    },
                                    [&] { ++releases; }, [] { return -1; }},
                                   PointGoProfile(root / "profile.ini"),
                                   {hosts.Path(), 115200, false}, hosts.Path(), std::nullopt);
    PointGoPortDlg dialog(presenter, texts);
    dialog.show();
    EXPECT_EQ(dialog.objectName(), QString::number(own::kPointGoPortDialog));

    auto* ports = Child<QComboBox>(&dialog, own::kPointGoPortList);
    auto* bauds = Child<QComboBox>(&dialog, own::kPointGoBaudList);
    auto* test = Child<QPushButton>(&dialog, own::kPointGoTestLink);
    auto* outcome = Child<QLabel>(&dialog, own::kPointGoTestOutcome);
    ASSERT_TRUE(ports && bauds && test && outcome && Child<QPushButton>(&dialog, 1));
    ASSERT_EQ(ports->count(), 2);
    EXPECT_EQ(ports->itemText(0), QString::fromStdString((root / "ttyUSB0").string()));
    EXPECT_EQ(ports->itemText(1),
              QString::fromStdString(hosts.Path()) + QStringLiteral("  (the host's test device)"));
    EXPECT_EQ(ports->currentText(), QString::fromStdString(hosts.Path()));
    EXPECT_EQ(bauds->count(), 8);
    EXPECT_EQ(bauds->currentText(), QStringLiteral("115200"));
    EXPECT_EQ(test->text(), QStringLiteral("Test link"));

    // The adapter stays silent: the test runs while the window answers, and Stop ends it.
    ports->setCurrentIndex(0);
    emit ports->activated(0);
    EXPECT_EQ(ports->currentText(), QString::fromStdString((root / "ttyUSB0").string()));
    test->click();
    EXPECT_TRUE(presenter.Testing());
    EXPECT_EQ(test->text(), QStringLiteral("Stop test"));
    EXPECT_FALSE(ports->isEnabled());
    EXPECT_TRUE(outcome->text().startsWith(QStringLiteral("Waiting for the test device on")));
    bool answered = false;
    QTimer::singleShot(100, [&] { answered = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 1000)) << "the window kept working";
    EXPECT_TRUE(presenter.Testing());
    test->click();
    EXPECT_FALSE(presenter.Testing());
    EXPECT_EQ(test->text(), QStringLiteral("Test link"));
    EXPECT_EQ(outcome->text(), QStringLiteral("The test was stopped."));
    EXPECT_TRUE(ports->isEnabled());

    // Answering at the chosen rate, with the indexed advance. The stopped test's handshake is
    // taken first, or its reply could come before the next test clears the line.
    adapter.Play({{43, {}}});
    adapter.Join();
    adapter.Play({{43, Reply(3, 8)}, {3, {0xAE, 0, 0}}});
    bauds->setCurrentIndex(bauds->findText(QStringLiteral("57600")));
    test->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presenter.Testing(); }, 3000));
    EXPECT_EQ(outcome->text(),
              QStringLiteral("The test device on %1 answered at 57600 baud: 3 data "
                             "lines, indexed advance.")
                  .arg(QString::fromStdString((root / "ttyUSB0").string())));
    EXPECT_EQ(releases, 0) << "Test link leaves the design's own connection alone";

    // A path typed by hand is kept as typed.
    ports->lineEdit()->setText(QStringLiteral(" /dev/ttyAMA0 "));
    Child<QPushButton>(&dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const IniFile profile = IniFile::Load(root / "profile.ini");
    EXPECT_EQ(profile.ValueOr("pointgo", "port", ""), "/dev/ttyAMA0");
    EXPECT_EQ(profile.ValueOr("pointgo", "baud", ""), "57600");
}

TEST(PointGoPortDialog, TheLayoutStepOffersItAndPointGoOpensTheChosenPort)
{
    QTemporaryDir folder;
    const fs::path root = folder.path().toStdString();
    fs::copy(fs::path(MD_PROGRAM_DIR) / "Modules", root / "Modules", fs::copy_options::recursive);
    // The user's profile lives in the test's folder while it runs.
    struct ConfigHome
    {
        explicit ConfigHome(const fs::path& path) : old(qgetenv("XDG_CONFIG_HOME"))
        {
            qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(path.string()));
        }
        ~ConfigHome()
        {
            if (old.isNull())
                qunsetenv("XDG_CONFIG_HOME");
            else
                qputenv("XDG_CONFIG_HOME", old);
        }
        QByteArray old;
    } configHome(root / "config");

    ModuleDesignDocument document{ProgramFolder(root)};
    ModuleDesignPanelDlg panel(document);
    panel.show();
    ModuleRecord record{};
    record.kind = ModuleRecord::kKind;
    record.scanRows = 1;
    record.width = 2;
    record.height = 1;
    record.groupCount = 1;
    record.pointsPerGroup = 2;
    record.pointsPerRow = 2;
    record.lineCount = 1;
    for (auto& row : record.connector)
        std::fill(std::begin(row), std::end(row), -1);
    record.connector[0][0] = 0;
    record.connectorRows = record.connectorColumns = 1;
    ASSERT_EQ(panel.OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
    ModuleLayoutDlg* step = panel.LayoutDlg();
    ASSERT_TRUE(step->Command(ModuleLayoutDlg::kNewLayout));
    SocketDesign& socket = document.Socket();
    socket.NewSocket(4, 1);
    const std::uint32_t codes[] = {16, 47, 63, 255};
    for (std::size_t i = 0; i < 4; ++i)
        socket.Pins()[i].code = codes[i];

    // Before any choice the step says where to choose a port.
    QString shown;
    test::ModalDriver::Press("OK", &shown);
    EXPECT_FALSE(step->Command(PointGo::kHardwareStart) && step->PointGoRun()->Selected());
    EXPECT_TRUE(shown.contains(QStringLiteral("Test device port"))) << shown.toStdString();

    test::PtyDevice device;
    QAction* action = step->findChild<QAction*>(QString::number(own::kPointGoPortCommand));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    QString title;
    test::ModalDriver::Expect([&](QWidget* modal) {
        title = modal->objectName();
        Child<QComboBox>(modal, own::kPointGoPortList)
            ->lineEdit()
            ->setText(QString::fromStdString(device.Path()));
        auto* bauds = Child<QComboBox>(modal, own::kPointGoBaudList);
        bauds->setCurrentIndex(bauds->findText(QStringLiteral("38400")));
        Child<QPushButton>(modal, 1)->click();
    });
    action->trigger();
    EXPECT_EQ(title, QString::number(own::kPointGoPortDialog));
    const IniFile profile = IniFile::Load(root / "config" / "ModuleDesignUIPlugin" / "profile.ini");
    EXPECT_EQ(profile.ValueOr("pointgo", "port", ""), device.Path());
    EXPECT_EQ(profile.ValueOr("pointgo", "baud", ""), "38400");

    // Hardware start opens the chosen line.
    device.Play({{43, Reply(1, 2)}, {3, {}}});
    EXPECT_TRUE(step->Command(PointGo::kHardwareStart));
    device.Join();
    EXPECT_TRUE(step->PointGoRun()->Selected());
    EXPECT_EQ(device.Received().size(), 46U);

    // Connected now: Test link leaves the design's line alone and sends nothing on it.
    QString said;
    test::ModalDriver::Expect([&](QWidget* modal) {
        Child<QPushButton>(modal, own::kPointGoTestLink)->click();
        said = Child<QLabel>(modal, own::kPointGoTestOutcome)->text();
        Child<QPushButton>(modal, 2)->click();
    });
    action->trigger();
    EXPECT_TRUE(said.contains(QStringLiteral("Test link leaves that line alone")))
        << said.toStdString();
    EXPECT_TRUE(document.PointGoLink().HasPort());
    EXPECT_TRUE(step->PointGoRun()->Selected());
    EXPECT_EQ(device.Received().size(), 46U);
}

CellLed Led(std::uint16_t colour, std::uint16_t x)
{
    CellLed led;
    led.colour = colour;
    led.code = 1;
    led.x = x;
    led.y = 20;
    led.widthPx = 12;
    led.heightPx = 12;
    return led;
}

void Press(QWidget* window, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), window->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &press);
}

TEST(PointGoLedPicker, TheChooserReturnsTheLedClickedAndNothingOnEscape)
{
    CellDesign cell;
    const std::vector<CellLed> leds = {Led(0, 40), Led(1, 120), Led(2, 200)};
    // Centre of an LED's box on the picker: where it sits on the cell's canvas.
    auto centre = [&](std::size_t i) { return QPoint(leds[i].x + 6, leds[i].y + 6); };

    QPoint placed;
    std::vector<std::size_t> shown;
    test::ModalDriver::Expect([&](QWidget* modal) {
        placed = modal->pos();
        auto* picker = qobject_cast<ParallelLEDSelectedCtrl*>(modal);
        ASSERT_NE(picker, nullptr);
        for (std::size_t i = 0; i < leds.size(); ++i)
            if (picker->Picker().ShowsAt(i))
                shown.push_back(i);
        // The candidates only: the green LED between them is no choice.
        Press(modal, centre(1));
        EXPECT_TRUE(modal->isVisible());
        Press(modal, centre(2));
    });
    EXPECT_EQ(ChoosePointGoLed(cell, leds, {0, 2}, QPoint(500, 400), nullptr),
              std::optional<std::size_t>(2));
    EXPECT_EQ(placed, QPoint(372, 272));
    EXPECT_EQ(shown, (std::vector<std::size_t>{0, 2}));

    test::ModalDriver::Expect([&](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(ChoosePointGoLed(cell, leds, {0, 2}, QPoint(500, 400), nullptr), std::nullopt);
}

} // namespace
} // namespace md
