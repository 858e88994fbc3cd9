// The plug-in's cameras against the reference host: the virtual camera reached through the
// host's service as the plug-in's host link reaches it, first in the camera list, giving frames
// for simulated capture times and live frames on the UI thread; and the list on a machine
// without a webcam.
#include "ModuleDesignHost.h"
#include "core/platform/HostServices.h"
#include "gui/camera/CameraList.h"
#include "gui/host/HostLink.h"

#include <QCameraDevice> // before QMediaDevices, which needs it whole
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace md {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class VirtualCameraSourceTest : public ::testing::Test
{
protected:
    VirtualCameraSourceTest()
        : host(QString::fromUtf8(MD_PROGRAM_DIR)), module(host::VirtualModule::Description{})
    {
        host::VirtualCamera::Settings settings;
        settings.latencyMs = 100;
        settings.shakeSigma = 0;
        host.Camera().Configure(settings);
        shown = module.Show(0xA0000000u, 0); // dark
        host.Camera().observe = [this] { return std::optional(shown); };
        HostLink::SetHost(&host);
    }
    ~VirtualCameraSourceTest() override
    {
        HostLink::SetHost(nullptr);
        host.Camera().observe = nullptr;
    }

    /// Lights one output position the way the tracing does: a point-lighting command pair.
    void LightPosition(int group, int scanRow, int position)
    {
        const std::uint32_t word1 = 0xA0000000u | (std::uint32_t(scanRow) << 16);
        const std::uint32_t word2 =
            0x01 | 0xF0 | (std::uint32_t(position) << 16) | (std::uint32_t(group) << 26);
        shown = module.Show(word1, word2);
    }
    int Grey(const CameraFrame& frame, QPointF at)
    {
        const std::uint8_t* p = frame.Pixel(int(at.x()), int(at.y()));
        return (p[0] + p[1] + p[2]) / 3;
    }

    host::ModuleDesignHost host;
    host::VirtualModule module;
    host::VirtualModule::Frame shown;
};

TEST_F(VirtualCameraSourceTest, TheHostsVirtualCameraComesFirstInTheList)
{
    const std::vector<CameraList::Entry> cameras = CameraList::Available(HostLink::Services());
    ASSERT_EQ(cameras.size(), 1 + std::size_t(QMediaDevices::videoInputs().size()));
    EXPECT_TRUE(cameras[0].isVirtual);
    EXPECT_EQ(cameras[0].name, QStringLiteral("Virtual camera"));
    for (std::size_t i = 1; i < cameras.size(); ++i)
        EXPECT_FALSE(cameras[i].isVirtual);
    const std::unique_ptr<FrameSource> source = cameras[0].open();
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Name(), u"Virtual camera");
    EXPECT_EQ(source->Latency(), std::optional(100ms));
    EXPECT_TRUE(source->LockExposure());
    EXPECT_EQ(source->FrameInterval(), std::chrono::nanoseconds(1'000'000'000 / 30));
    // The host says whether it runs the camera on simulated time.
    EXPECT_FALSE(source->Simulated());
    auto settings = host.Camera().Camera().Config();
    settings.simulated = true;
    host.Camera().Configure(settings);
    EXPECT_TRUE(source->Simulated());
}

TEST_F(VirtualCameraSourceTest, MakesTheFrameOfACaptureTimeWithoutWaiting)
{
    const std::unique_ptr<FrameSource> source = HostLink::Services().VirtualCamera();
    ASSERT_NE(source, nullptr);
    CameraFrame frame;
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(source->FrameAt(start, frame));
    EXPECT_EQ(frame.width, 1280);
    EXPECT_EQ(frame.height, 720);
    EXPECT_EQ(frame.captured, start);

    // Group 0, scan row 1, position 3 lands on pixel (2, 1) of the default module's rows order.
    const auto pixel = module.PixelOf(0, 1, 3);
    ASSERT_TRUE(pixel);
    const QPointF at =
        host.Camera().Camera().Geometry().Map(QPointF(pixel->first + 0.5, pixel->second + 0.5));
    const int dark = Grey(frame, at);
    LightPosition(0, 1, 3);
    const Clock::time_point written = Clock::now();
    ASSERT_TRUE(source->FrameAt(written + 100ms, frame));
    EXPECT_GT(Grey(frame, at), dark + 100);
    EXPECT_EQ(frame.captured, written + 100ms);
    ASSERT_TRUE(source->FrameAt(written + 60ms, frame)); // too early for the latency
    EXPECT_LT(Grey(frame, at), dark + 20);
    // No frame waited for its capture time.
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST_F(VirtualCameraSourceTest, DeliversLiveFramesOnTheUiThreadUntilStopped)
{
    const std::unique_ptr<FrameSource> source = HostLink::Services().VirtualCamera();
    ASSERT_NE(source, nullptr);
    std::vector<Clock::time_point> captured;
    std::u16string reason;
    ASSERT_TRUE(source->Start(
        [&](const CameraFrame& frame) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            EXPECT_EQ(frame.rgb.size(), std::size_t(1280 * 720 * 3));
            captured.push_back(frame.captured);
        },
        reason));
    EXPECT_TRUE(QTest::qWaitFor([&] { return captured.size() >= 3; }, 10000));
    source->Stop();
    const std::size_t stopped = captured.size();
    QTest::qWait(150);
    EXPECT_EQ(captured.size(), stopped);
    // Each frame is a new one, taken on the camera's beat, and none lies in the future.
    const auto interval = std::chrono::nanoseconds(1'000'000'000 / 30);
    for (std::size_t i = 1; i < captured.size(); ++i) {
        EXPECT_GT(captured[i], captured[i - 1]);
        EXPECT_EQ((captured[i] - captured[i - 1]) % interval, Clock::duration(0));
    }
    ASSERT_FALSE(captured.empty());
    EXPECT_LE(captured.back(), Clock::now());
}

TEST_F(VirtualCameraSourceTest, WithoutTheServiceThereIsNoVirtualCamera)
{
    // A host that has nothing to film offers no camera; a source made earlier cannot start.
    const std::unique_ptr<FrameSource> source = HostLink::Services().VirtualCamera();
    ASSERT_NE(source, nullptr);
    host.Camera().observe = nullptr;
    host.Camera().Configure({});
    EXPECT_EQ(HostLink::Services().VirtualCamera(), nullptr);
    std::u16string reason;
    EXPECT_FALSE(source->Start([](const CameraFrame&) {}, reason));
    EXPECT_FALSE(reason.empty());
    CameraFrame frame;
    EXPECT_FALSE(source->FrameAt(Clock::now(), frame));

    // This machine's list is then its webcams alone: none here, so the caller says so in the
    // host's language.
    const std::vector<CameraList::Entry> cameras = CameraList::Available(HostLink::Services());
    EXPECT_EQ(cameras.size(), std::size_t(QMediaDevices::videoInputs().size()));
    for (const CameraList::Entry& camera : cameras)
        EXPECT_FALSE(camera.isVirtual);
    EXPECT_EQ(CameraList::NoCameraText(), QStringLiteral("No camera is present."));
    // In Chinese from a program folder that runs in Chinese.
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath("lang"));
    ASSERT_TRUE(QFile::copy(QDir(MD_PROGRAM_DIR).filePath("lang/zh-cn.ini"),
                            QDir(folder.path()).filePath("lang/zh-cn.ini")));
    QFile runInfo(QDir(folder.path()).filePath("runinfo.ini"));
    ASSERT_TRUE(runInfo.open(QIODevice::WriteOnly));
    runInfo.write("[language]\nactive=_zh-cn\n");
    runInfo.close();
    host::ModuleDesignHost chinese(folder.path());
    HostLink::SetHost(&chinese);
    EXPECT_EQ(CameraList::NoCameraText(), QString::fromUtf8("未检测到摄像头。"));
    HostLink::SetHost(nullptr);
    EXPECT_EQ(CameraList::Available(HostLink::Services()).size(), cameras.size());
}

} // namespace
} // namespace md
