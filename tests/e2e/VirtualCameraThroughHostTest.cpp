// The reference host's virtual camera as a user and the plug-in meet it: the Tools menu shows
// what it films, a command written into the real command area appears in its frames one
// latency later, and a bad camera setting on the command line stops the host with a message.
#include "HostFixture.h"

#include "ControllerMonitor.h"
#include "md/IVirtualCamera.h"
#include "md/OwnIds.h"
#include "virtual/VirtualCameraView.h"
#include "virtual/VirtualModuleView.h"

#include <QAction>
#include <QDockWidget>
#include <QProcess>
#include <QTest>

namespace md::host::test {
namespace {

using namespace std::chrono_literals;
using Clock = VirtualCamera::Clock;

class VirtualCameraThroughHostTest : public HostFixture
{};

TEST_F(VirtualCameraThroughHostTest, TheToolsMenuShowsWhatTheCameraFilms)
{
    auto* action = m_window->findChild<QAction*>(QString::number(own::kCameraMenuAction));
    auto* dock = m_window->findChild<QDockWidget*>(QString::number(own::kCameraDock));
    ASSERT_NE(action, nullptr);
    ASSERT_NE(dock, nullptr);
    EXPECT_FALSE(dock->isVisible());
    action->trigger();
    EXPECT_TRUE(dock->isVisible());
    auto* picture = dock->findChild<VirtualCameraView*>(QString::number(own::kCameraPicture));
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picture->Shown().isNull(); }, 5000));
    EXPECT_EQ(picture->Shown().size(), QSize(1280, 720));
    action->trigger();
    EXPECT_FALSE(dock->isVisible());
}

TEST_F(VirtualCameraThroughHostTest, ACommandInTheAreaShowsOneLatencyLater)
{
    void* out = nullptr;
    ASSERT_TRUE(m_host->QueryService(kVirtualCameraId, kVirtualCameraCode, &out));
    auto* camera = static_cast<IVirtualCamera*>(out);
    std::vector<std::uint8_t> rgb(1280 * 720 * 3);
    const auto greyAt = [&](QPointF at, Clock::time_point captured) {
        CameraFrameRecord frame{};
        frame.rgb = rgb.data();
        frame.capacity = static_cast<std::uint32_t>(rgb.size());
        EXPECT_TRUE(camera->FrameAt(
            std::chrono::duration_cast<std::chrono::nanoseconds>(captured.time_since_epoch())
                .count(),
            &frame));
        const std::uint8_t* p = rgb.data() + (int(at.y()) * 1280 + int(at.x())) * 3;
        return (p[0] + p[1] + p[2]) / 3;
    };

    // Point lighting of group 0, position 1 in the first scan row: which pixel the module lights.
    const std::uint32_t word1 = 0xA0000000u, word2 = 0x01 | 0xF0 | (1u << 16);
    const VirtualModule::Frame lit = m_window->ModuleView()->Module().Show(word1, word2);
    const auto pixel = std::find_if(lit.pixels.begin(), lit.pixels.end(),
                                    [](const QColor& c) { return c != Qt::black; });
    ASSERT_NE(pixel, lit.pixels.end());
    const int index = int(pixel - lit.pixels.begin());
    const QPointF cell(index % lit.width + 0.5, index / lit.width + 0.5);
    const QPointF at = m_host->Camera().Camera().Geometry().Map(cell);
    const int dark = greyAt(at, Clock::now());

    // The plug-in's side writes the command pair into the shared area, as the tracing does.
    for (int i = 0; i < 4; ++i) {
        m_area->Bytes()[24 + i] = std::uint8_t(word1 >> (24 - 8 * i));
        m_area->Bytes()[28 + i] = std::uint8_t(word2 >> (24 - 8 * i));
    }
    const Clock::time_point written = Clock::now();
    EXPECT_GT(greyAt(at, written + 100ms), dark + 100);
    EXPECT_EQ(m_window->ModuleView()->Current().pixels[index], *pixel);
    camera->Release();
}

TEST(VirtualCameraOptionsThroughHostTest, ABadCameraSettingStopsTheHostWithAMessage)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(QDir(MD_PROGRAM_DIR).filePath("module-design-host"),
                  {"--camera-view", "10;20", "--screenshot", "/nonexistent/never.png"});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString error = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(error.contains("--camera-view")) << error.toStdString();
    EXPECT_TRUE(error.contains("10;20")) << error.toStdString();
}

} // namespace
} // namespace md::host::test
