// Tracing by camera through the layout step's tool window, against the reference host's virtual
// camera on simulated time: the camera films a small virtual module that answers the tracer's
// commands. Calibration finds the grid and gives the module back what it showed; a trace in
// modes 1 and 2 equals the module's wiring; a position the camera cannot tell waits for the
// engineer and Resume goes on; Esc stops and keeps what was traced; without any camera the window
// says so.
#include "gui/camera/CameraTraceDock.h"
#include "ModuleDesignHost.h"
#include "core/controller/CommandWords.h"
#include "core/layout/TracingHarness.h"
#include "gui/camera/CameraPicture.h"
#include "gui/camera/CameraTraceController.h"
#include "gui/host/HostLink.h"
#include "md/OwnIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

namespace md {
namespace {

using namespace std::chrono_literals;
using Pixel = std::pair<int, int>;

std::uint32_t HostOrder(const std::array<std::uint8_t, 4>& word)
{
    return std::uint32_t{word[0]} << 24 | std::uint32_t{word[1]} << 16 |
           std::uint32_t{word[2]} << 8 | word[3];
}

host::VirtualModule::Description SmallModule()
{
    host::VirtualModule::Description module;
    module.width = 16;
    module.height = 8;
    module.scanRows = 4;
    module.groups = 1;
    return module;
}

LayoutSetup SmallSetup()
{
    LayoutSetup setup = test::MakeSetup(16, 8, 4, 1);
    setup.driverPolarity = 2; // the polarity state that lights the whole module
    return setup;
}

class CameraTraceDockTest : public ::testing::Test
{
protected:
    CameraTraceDockTest()
        : host(QString::fromUtf8(MD_PROGRAM_DIR)), module(SmallModule()), harness(SmallSetup())
    {
        host::VirtualCamera::Settings settings;
        settings.simulated = true;
        host.Camera().Configure(settings);
        shown = module.Show(0xA0000000u, 0);
        host.Camera().observe = [this] { return std::optional(shown); };
        harness.channel.SetTap([this](const CommandPair& pair) {
            harness.sent.push_back(pair);
            shown = module.Show(HostOrder(pair.word1), HostOrder(pair.word2));
            const test::Lit lit = test::Decode(pair);
            if (doubled && int(lit.position) == doubled->second && (pair.word2[3] & 0x0F) == 1) {
                // This output lights its neighbour too: no camera can tell which one it drives.
                const auto pixel = module.PixelOf(0, pair.word1[1] % 4, int(lit.position));
                if (pixel && pixel->first + 1 < 16)
                    shown.pixels[pixel->second * 16 + pixel->first + 1] = Qt::white;
            }
        });
        HostLink::SetHost(&host);
        QObject::connect(&blink, &QTimer::timeout, [this] { harness.tracer->Tick(nullptr); });
        blink.start(200);
        dock = std::make_unique<CameraTraceDock>(harness.channel, HostLink::Services());
        dock->SetTracer(harness.tracer.get(), &blink);
        dock->show();
    }
    ~CameraTraceDockTest() override
    {
        dock.reset();
        HostLink::SetHost(nullptr);
        host.Camera().observe = nullptr;
    }

    template <typename T>
    T* Child(int id)
    {
        T* child = dock->findChild<T*>(QString::number(id));
        EXPECT_NE(child, nullptr) << id;
        return child;
    }
    CameraTraceController& Controller() { return dock->Controller(); }
    QString Status() { return Child<QLabel>(own::kCameraStatus)->text(); }
    /// Runs the event loop at full speed (as the application does) until done() holds.
    static bool RunUntil(const std::function<bool()>& done, int ms = 15000)
    {
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (done())
                loop.quit();
        });
        check.start(0);
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        return done();
    }
    bool WaitFor(const char* state)
    {
        return RunUntil([&] { return dock->CameraState() == QLatin1String(state); });
    }
    void Calibrate()
    {
        Child<QPushButton>(own::kCameraCalibrate)->click();
        ASSERT_EQ(dock->CameraState(), "calibrating");
        ASSERT_TRUE(WaitFor("calibrated")) << Status().toStdString();
    }
    /// The pixel output position `position` of scan row `row` drives.
    Pixel Truth(int row, int position) { return *module.PixelOf(0, row, position); }

    host::ModuleDesignHost host;
    host::VirtualModule module;
    host::VirtualModule::Frame shown;
    std::optional<Pixel> doubled; ///< (row, position) whose neighbour lights with it
    test::TracingHarness harness;
    QTimer blink;
    std::unique_ptr<CameraTraceDock> dock;
};

TEST_F(CameraTraceDockTest, CalibrationFitsTheGridGivesTheModuleBackAndFollowsTurnAndMirror)
{
    auto* chooser = Child<QComboBox>(own::kCameraChooser);
    ASSERT_GE(chooser->count(), 1);
    EXPECT_EQ(chooser->itemText(0), "Virtual camera");
    EXPECT_EQ(dock->CameraState(), "idle");
    EXPECT_FALSE(Child<QPushButton>(own::kCameraTrace)->isEnabled());
    QStringList states;
    QObject listener;
    QObject::connect(dock.get(), &CameraTraceDock::cameraStateChanged, &listener,
                     [&](const QString& state) { states << state; });

    const std::size_t before = harness.sent.size();
    Calibrate();
    EXPECT_EQ(states, QStringList({"calibrating", "calibrated"}));
    // Nothing lit for the dark frame, the whole module for the all-lit one, then the traced
    // position again (the wizard's whole-module state, with the tracer's polarity).
    ASSERT_GE(harness.sent.size(), before + 3);
    EXPECT_EQ(test::Decode(harness.sent[before]).position, 0u);
    EXPECT_EQ(harness.sent[before + 1], commandwords::BeforeStep1(2, 4));
    EXPECT_EQ(harness.sent.back(), commandwords::PointLighting(2, std::nullopt, 4, 1, 0));
    EXPECT_TRUE(blink.isActive()) << "the module blinks again";

    const ModuleGrid* grid = Controller().Grid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->width, 16);
    EXPECT_EQ(grid->height, 8);
    EXPECT_LT(grid->fitError, 0.1);
    EXPECT_GT(grid->pitch, 10);
    EXPECT_TRUE(Status().contains(QStringLiteral("pitch %1 px").arg(grid->pitch, 0, 'f', 1)))
        << Status().toStdString();
    EXPECT_TRUE(Child<QPushButton>(own::kCameraTrace)->isEnabled());

    // The virtual camera's sensor clips the whole lit module: the status says so. The same
    // picture at 80 % brightness is well exposed, and a faint module drowns.
    const CameraFrame& allLit = Controller().AllLit();
    ASSERT_FALSE(allLit.Empty());
    EXPECT_EQ(Controller().CurrentWarning(), CameraTraceController::Warning::Saturated);
    EXPECT_TRUE(Status().contains("The LEDs saturate: lower the exposure."))
        << Status().toStdString();
    CameraFrame dimmed = allLit;
    for (std::uint8_t& value : dimmed.rgb)
        value = static_cast<std::uint8_t>(value * 4 / 5);
    EXPECT_EQ(CameraTraceController::MeasureWarning(dimmed, *grid),
              CameraTraceController::Warning::None);
    ModuleGrid faint = *grid;
    faint.ledLevel = 25;
    EXPECT_EQ(CameraTraceController::MeasureWarning(dimmed, faint),
              CameraTraceController::Warning::LowContrast);

    // Turned half round, the module's first pixel is where its last one was, at once.
    const GridPoint last = grid->ToCamera({15, 7});
    const GridPoint first = grid->ToCamera({0, 0});
    Child<QComboBox>(own::kCameraTurn)->setCurrentIndex(2);
    grid = Controller().Grid();
    ASSERT_NE(grid, nullptr);
    const GridPoint turned = grid->ToCamera({0, 0});
    EXPECT_LT(std::hypot(turned.x - last.x, turned.y - last.y), 0.3 * grid->pitch);
    // Mirrored as well, the first pixel is at the bottom left.
    Child<QCheckBox>(own::kCameraMirror)->setChecked(true);
    grid = Controller().Grid();
    ASSERT_NE(grid, nullptr);
    const GridPoint bottomLeft = grid->ToCamera({0, 0});
    EXPECT_LT(std::abs(bottomLeft.x - first.x), 0.3 * grid->pitch);
    EXPECT_LT(std::abs(bottomLeft.y - last.y), 0.3 * grid->pitch);
    // The picture draws the grid it holds now.
    auto* picture = Child<CameraPicture>(own::kCameraTracePicture);
    EXPECT_FALSE(picture->Image().isNull());

    // Hidden, the window takes no frames and keeps its calibration; shown, it watches again.
    dock->hide();
    const auto hiddenAt = Controller().Picture().captured;
    QTest::qWait(150);
    EXPECT_EQ(Controller().Picture().captured, hiddenAt);
    EXPECT_EQ(dock->CameraState(), "calibrated");
    dock->show();
    EXPECT_TRUE(RunUntil([&] { return Controller().Picture().captured > hiddenAt; }));
}

TEST_F(CameraTraceDockTest, TracesModesOneAndTwoHandsFreeAndTheClicksAreUndoable)
{
    Calibrate();
    const auto start = std::chrono::steady_clock::now();
    Child<QPushButton>(own::kCameraTrace)->click();
    EXPECT_EQ(dock->CameraState(), "tracing");
    EXPECT_TRUE(harness.tracer->HoldLit());
    ASSERT_TRUE(WaitFor("done")) << Status().toStdString();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("mode 1, 16 x 8 module, 32 positions: %.2f s of wall time\n", seconds);
    EXPECT_EQ(Controller().Clicks(), 32u);
    EXPECT_TRUE(Status().contains("Positions clicked: 32, virtual points: 0"))
        << Status().toStdString();
    EXPECT_FALSE(harness.tracer->HoldLit());
    // Done, nothing needs frames: the picture is made once, then no timer takes more; asked
    // for, it is made anew.
    QTest::qWait(50);
    const auto doneAt = Controller().Picture().captured;
    QTest::qWait(150);
    EXPECT_EQ(Controller().Picture().captured, doneAt);
    Controller().RefreshPicture();
    EXPECT_TRUE(RunUntil([&] { return Controller().Picture().captured > doneAt; }));

    // A camera click is taken back as any click, and tracing on finishes the row again.
    ASSERT_EQ(harness.tracer->FirstRow().size(), 32u);
    harness.tracer->Undo();
    EXPECT_EQ(harness.tracer->FirstRow().size(), 31u);
    Child<QPushButton>(own::kCameraTrace)->click();
    ASSERT_TRUE(WaitFor("done")) << Status().toStdString();
    EXPECT_EQ(Controller().Clicks(), 1u);
    // With the first row traced, Trace goes on with the start of every further scan row.
    Child<QPushButton>(own::kCameraTrace)->click();
    ASSERT_TRUE(WaitFor("done")) << Status().toStdString();
    EXPECT_EQ(Controller().Clicks(), 3u);
    ASSERT_EQ(harness.tracer->Starts().size(), 3u);

    ASSERT_TRUE(harness.tracer->Analyse(true));
    ASSERT_EQ(harness.setup.result.size(), 1u);
    const auto& rows = harness.setup.result[0].rows;
    ASSERT_EQ(rows.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        ASSERT_EQ(rows[std::size_t(k)].points.size(), 32u) << "scan row " << k;
        for (int p = 0; p < 32; ++p) {
            const TracedPoint& point = rows[std::size_t(k)].points[std::size_t(p)];
            EXPECT_EQ(Pixel(point.x, point.y), Truth(k, p + 1))
                << "scan row " << k << ", position " << p + 1;
        }
    }
}

TEST_F(CameraTraceDockTest, AStopHoldsItsFrameUntilTheEngineerClicksAndEscStops)
{
    doubled = Pixel(0, 5);
    Calibrate();
    Child<QPushButton>(own::kCameraTrace)->click();
    ASSERT_TRUE(WaitFor("waiting")) << Status().toStdString();
    EXPECT_EQ(harness.tracer->FirstRow().size(), 4u) << "stopped on the fifth position";
    EXPECT_TRUE(Child<QPushButton>(own::kCameraResume)->isEnabled());
    const auto held = Controller().Picture().captured;
    QTest::qWait(100);
    EXPECT_EQ(Controller().Picture().captured, held) << "the stopped frame stays";

    const Pixel truth = Truth(0, 5);
    harness.tracer->Click(truth.first, truth.second); // the engineer's own click
    Child<QPushButton>(own::kCameraResume)->click();
    EXPECT_EQ(dock->CameraState(), "tracing");
    ASSERT_TRUE(RunUntil([&] { return harness.tracer->FirstRow().size() >= 8; }));
    QTest::keyClick(dock.get(), Qt::Key_Escape);
    EXPECT_EQ(dock->CameraState(), "calibrated");
    EXPECT_FALSE(harness.tracer->HoldLit());
    const std::size_t traced = harness.tracer->FirstRow().size();
    QTest::qWait(100);
    EXPECT_EQ(harness.tracer->FirstRow().size(), traced) << "nothing is clicked after Esc";
    for (std::size_t i = 0; i < traced; ++i) {
        const TracedPoint& point = harness.tracer->FirstRow()[i];
        EXPECT_EQ(Pixel(point.x, point.y), Truth(0, int(i) + 1)) << "position " << i + 1;
    }
}

TEST_F(CameraTraceDockTest, AModuleThatDoesNotLightWhollyFailsWithTheReason)
{
    // The other polarity state lights only every third LED.
    harness.setup.driverPolarity = 0;
    Child<QPushButton>(own::kCameraCalibrate)->click();
    ASSERT_TRUE(WaitFor("failed"))
        << dock->CameraState().toStdString() << ": " << Status().toStdString();
    EXPECT_EQ(Controller().Grid(), nullptr);
    EXPECT_TRUE(Status().startsWith(
        "The module was not found: the lit area does not match a grid of 16 x 8 pixels."))
        << Status().toStdString();
    EXPECT_FALSE(Child<QPushButton>(own::kCameraTrace)->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(own::kCameraCalibrate)->isEnabled());
    EXPECT_TRUE(blink.isActive()) << "the module blinks again";
}

TEST_F(CameraTraceDockTest, WithoutAnyCameraTheWindowSaysSo)
{
    host.Camera().observe = nullptr;
    host.Camera().Configure({});
    dock->Controller().SetSource(nullptr);
    dock->RefreshCameras();
    if (Child<QComboBox>(own::kCameraChooser)->count() > 0)
        GTEST_SKIP() << "this machine has a webcam";
    EXPECT_EQ(Status(), "No camera is present.");
    EXPECT_FALSE(Child<QComboBox>(own::kCameraChooser)->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(own::kCameraCalibrate)->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(own::kCameraTrace)->isEnabled());
}

} // namespace
} // namespace md
