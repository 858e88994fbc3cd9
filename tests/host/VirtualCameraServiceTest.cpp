// The virtual camera as the plug-in reaches it: a host service of our own, offered while there
// is a module to film, with frames for simulated capture times that show a command one latency
// after it was written; and the host's command-line settings for it.
#include "CameraOptions.h"
#include "ModuleDesignHost.h"
#include "md/IVirtualCamera.h"

#include <QCommandLineParser>

#include <gtest/gtest.h>

namespace md::host {
namespace {

using namespace std::chrono_literals;
using Clock = VirtualCamera::Clock;

std::int64_t Ns(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

class VirtualCameraServiceTest : public ::testing::Test
{
protected:
    VirtualCameraServiceTest() : host(QString::fromUtf8(MD_PROGRAM_DIR))
    {
        VirtualCamera::Settings settings;
        settings.latencyMs = 100;
        settings.shakeSigma = 0;
        host.Camera().Configure(settings);
        shown.width = 32;
        shown.height = 16;
        shown.pixels.fill(Qt::black, 32 * 16);
    }

    IVirtualCamera* Lookup(std::uint32_t code = kVirtualCameraCode)
    {
        void* out = nullptr;
        return host.QueryService(kVirtualCameraId, code, &out) ? static_cast<IVirtualCamera*>(out)
                                                               : nullptr;
    }
    void Film()
    {
        host.Camera().observe = [this] { return std::optional(shown); };
    }
    /// The grey level at the lit LED's place in a frame taken at `captured`.
    int LedGrey(IVirtualCamera* camera, Clock::time_point captured)
    {
        std::vector<std::uint8_t> rgb(1280 * 720 * 3);
        CameraFrameRecord frame{};
        frame.rgb = rgb.data();
        frame.capacity = static_cast<std::uint32_t>(rgb.size());
        EXPECT_TRUE(camera->FrameAt(Ns(captured), &frame));
        const QPointF at = host.Camera().Camera().Geometry().Map(QPointF(7.5, 4.5));
        const std::uint8_t* p = rgb.data() + (int(at.y()) * 1280 + int(at.x())) * 3;
        return (p[0] + p[1] + p[2]) / 3;
    }

    ModuleDesignHost host;
    VirtualModule::Frame shown;
};

TEST_F(VirtualCameraServiceTest, IsOfferedWhileThereIsAModuleToFilm)
{
    EXPECT_EQ(Lookup(), nullptr); // nothing to film yet
    Film();
    IVirtualCamera* camera = Lookup();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(Lookup(kVirtualCameraCode + 1), nullptr);
    EXPECT_EQ(std::u16string(camera->Name()), u"Virtual camera");
    EXPECT_EQ(camera->LatencyMs(), 100);
    EXPECT_EQ(camera->FrameIntervalNs(), 1'000'000'000 / 30);
    camera->Release();
    host.Camera().observe = nullptr;
}

TEST_F(VirtualCameraServiceTest, FillsTheCallersBufferOnlyWhenItHoldsTheFrame)
{
    Film();
    IVirtualCamera* camera = Lookup();
    ASSERT_NE(camera, nullptr);
    CameraFrameRecord frame{};
    const Clock::time_point at = Clock::now() + 1s;
    EXPECT_FALSE(camera->FrameAt(Ns(at), &frame)); // no room: only the size
    EXPECT_EQ(frame.width, 1280);
    EXPECT_EQ(frame.height, 720);
    std::vector<std::uint8_t> rgb(1280 * 720 * 3 - 1, 0xAB);
    frame.rgb = rgb.data();
    frame.capacity = static_cast<std::uint32_t>(rgb.size());
    EXPECT_FALSE(camera->FrameAt(Ns(at), &frame));
    EXPECT_EQ(rgb.front(), 0xAB); // one byte short: untouched
    rgb.resize(rgb.size() + 1);
    frame.rgb = rgb.data();
    frame.capacity = static_cast<std::uint32_t>(rgb.size());
    ASSERT_TRUE(camera->FrameAt(Ns(at), &frame));
    EXPECT_EQ(frame.capturedNs, Ns(at));
    EXPECT_EQ(frame.sequence, static_cast<std::uint32_t>(Ns(at) / camera->FrameIntervalNs()));
    EXPECT_NE(std::count(rgb.begin(), rgb.end(), 0xAB), std::ptrdiff_t(rgb.size()));

    // The newest frame was taken on the camera's beat, at most one interval ago.
    const std::int64_t before = Ns(Clock::now());
    ASSERT_TRUE(camera->LatestFrame(&frame));
    EXPECT_EQ(frame.capturedNs % camera->FrameIntervalNs(), 0);
    EXPECT_LE(frame.capturedNs, Ns(Clock::now()));
    EXPECT_GT(frame.capturedNs, before - camera->FrameIntervalNs());
    EXPECT_FALSE(camera->LatestFrame(nullptr));
}

TEST_F(VirtualCameraServiceTest, AFrameOneLatencyAfterACommandShowsIt)
{
    Film();
    IVirtualCamera* camera = Lookup();
    ASSERT_NE(camera, nullptr);
    const Clock::time_point look = Clock::now();
    const int dark = LedGrey(camera, look + 1s); // the camera looks at the dark module
    // The command is written; the camera learns of it only at its next frame.
    shown.pixels[4 * 32 + 7] = QColor(255, 255, 255);
    const Clock::time_point written = Clock::now();
    const int lit = LedGrey(camera, written + 100ms);
    EXPECT_GT(lit, dark + 100);
    // Frames that the latency keeps from showing the change still show the dark module, and the
    // change is never dated before the camera's previous look.
    EXPECT_LT(LedGrey(camera, look + 99ms), dark + 20);
    EXPECT_GT(LedGrey(camera, written + 500ms), dark + 100);
}

TEST(CameraOptionsTest, ReadsTheViewAndTheLatencyAndRefusesBadValues)
{
    const auto read = [](QStringList arguments, QString* error = nullptr) {
        QCommandLineParser parser;
        CameraOptions::AddTo(parser);
        arguments.prepend("module-design-host");
        EXPECT_TRUE(parser.parse(arguments)) << parser.errorText().toStdString();
        return CameraOptions::Read(parser, error);
    };
    const auto defaults = read({});
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->latencyMs, 100);
    EXPECT_FALSE(defaults->simulated);

    const auto set =
        read({"--camera-view", "12.5,-20", "--camera-latency", "250", "--camera-simulated"});
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->simulated);
    EXPECT_DOUBLE_EQ(set->tiltDegrees, 12.5);
    EXPECT_DOUBLE_EQ(set->turnDegrees, -20);
    EXPECT_EQ(set->latencyMs, 250);

    for (const QStringList& bad :
         {QStringList{"--camera-view", "10"}, QStringList{"--camera-view", "10,x"},
          QStringList{"--camera-view", "75,0"}, QStringList{"--camera-latency", "-5"},
          QStringList{"--camera-latency", "fast"}}) {
        QString error;
        EXPECT_FALSE(read(bad, &error)) << bad.join(' ').toStdString();
        EXPECT_TRUE(error.contains(bad[0])) << error.toStdString();
        EXPECT_TRUE(error.contains(bad[1])) << error.toStdString();
    }
}

} // namespace
} // namespace md::host
