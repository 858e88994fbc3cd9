// The reference host's virtual camera: the time to make one 1280 x 720 frame of a 64 x 32
// module (one LED lit while tracing, every LED lit while calibrating), against copying a frame
// of the same size (the baseline measured in the same run), and the share of one core the
// camera takes at 30 frames a second.
#include "BenchSupport.h"
#include "virtual/VirtualCamera.h"

#include <cstdio>
#include <cstring>

namespace {

using namespace md;
using host::VirtualCamera;
using Clock = VirtualCamera::Clock;

constexpr int kModuleWidth = 64, kModuleHeight = 32;
constexpr double kFrameBytes = 1280.0 * 720.0 * 3.0;

host::VirtualModule::Frame Module(bool allLit)
{
    host::VirtualModule::Frame frame;
    frame.width = kModuleWidth;
    frame.height = kModuleHeight;
    frame.pixels.fill(allLit ? QColor(235, 235, 235) : QColor(Qt::black),
                      kModuleWidth * kModuleHeight);
    if (!allLit)
        frame.pixels[17 * kModuleWidth + 40] = QColor(255, 255, 255);
    return frame;
}

/// A camera with the host's default settings, filming the module from its start.
VirtualCamera& Camera(bool allLit)
{
    static VirtualCamera one, all;
    VirtualCamera& camera = allLit ? all : one;
    if (!camera.HasModule())
        camera.Record(Clock::time_point(), Module(allLit));
    return camera;
}

void Render(benchmark::State& state, bool allLit)
{
    VirtualCamera& camera = Camera(allLit);
    Clock::time_point captured(std::chrono::seconds(10));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const VirtualCamera::Picture picture = camera.Render(captured);
        bytes += picture.rgb.size();
        benchmark::DoNotOptimize(picture.rgb.data());
        captured += camera.FrameInterval(); // every frame its own noise and shake
    }
    if (bytes != std::size_t(state.iterations()) * std::size_t(kFrameBytes))
        state.SkipWithError("a frame was not 1280 x 720");
    // A frame writes every one of its 2.76 million bytes: not below 0.2 ms.
    bench::TimePerItem(state, "time_per_frame", 1, 200'000.0);
}

void BM_RenderOneLedLit(benchmark::State& state)
{
    Render(state, false);
}
BENCHMARK(BM_RenderOneLedLit)->Unit(benchmark::kMillisecond);

void BM_RenderAllLedsLit(benchmark::State& state)
{
    Render(state, true);
}
BENCHMARK(BM_RenderAllLedsLit)->Unit(benchmark::kMillisecond);

void BM_CopyFrame(benchmark::State& state)
{
    std::vector<std::uint8_t> from(std::size_t(kFrameBytes), 90), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    bench::BytesPerSecond(state, "bytes_per_second", kFrameBytes, 100.0);
}
BENCHMARK(BM_CopyFrame)->Unit(benchmark::kMillisecond);

void PrintRatios()
{
    const auto frame = [](bool allLit) {
        VirtualCamera& camera = Camera(allLit);
        Clock::time_point captured(std::chrono::seconds(20));
        return bench::CpuSecondsPer(
            [&] {
                benchmark::DoNotOptimize(camera.Render(captured).rgb.data());
                captured += camera.FrameInterval();
            },
            30);
    };
    std::vector<std::uint8_t> from(std::size_t(kFrameBytes), 90), to(from.size());
    const double copy = bench::CpuSecondsPer(
        [&] {
            std::memcpy(to.data(), from.data(), from.size());
            benchmark::DoNotOptimize(to.data());
        },
        100);
    const double one = frame(false), all = frame(true);
    std::printf("1280x720 frame of a 64x32 module (CPU): one LED lit %.1f ms, all lit %.1f ms, "
                "frame copy %.2f ms; ratios %.0f and %.0f\n",
                one * 1e3, all * 1e3, copy * 1e3, one / copy, all / copy);
    std::printf("share of one core at 30 frames a second: %.0f %% while tracing, %.0f %% while "
                "calibrating\n",
                one * 30 * 100, all * 30 * 100);
}

} // namespace

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] { PrintRatios(); });
}
