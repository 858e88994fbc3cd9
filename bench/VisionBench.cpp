// The camera vision on a synthetic camera: a 64 x 32 module in 1280 x 720 frames under two fixed
// settings, moderate (perspective 0.15, blur 1.5 px, noise 6, shake 0.3 px) and hard
// (perspective 0.30, blur 3 px, noise 12, shake 0.5 px), each with a lamp, a blinking status LED
// and a reflection of the lit LEDs, all brighter than the LEDs. Over 10,000 frames of each
// (MD_VISION_FRAMES sets another count): wrong automatic answers (a pixel named that is not lit,
// or nothing when one is), located and review shares, and the mean distance of a located centre
// to its true pixel's centre. Then the locator's and the finder's time.
#include "BenchSupport.h"
#include "vision/LedLocator.h"
#include "vision/ModuleFinder.h"
#include "vision/support/SyntheticScene.h"

#include <cmath>
#include <cstdlib>
#include <random>

namespace {

using namespace md;
using test::SceneSettings;
using test::SyntheticScene;

constexpr int kScenes = 20;
constexpr int kDarkEvery = 50; // one frame in so many has nothing lit

SceneSettings Setting(bool hard, int scene)
{
    SceneSettings settings;
    settings.perspective = hard ? 0.30 : 0.15;
    settings.blur = hard ? 3 : 1.5;
    settings.noise = hard ? 12 : 6;
    settings.shake = hard ? 0.5 : 0.3;
    settings.distractors = 3;
    // Each scene is another camera position: which edge is far, a lean, an offset.
    std::mt19937 random(std::uint32_t(1000 * hard + scene));
    settings.seed = random();
    settings.farSide = scene % 4;
    settings.tilt = std::uniform_real_distribution<double>(-2.5, 2.5)(random);
    settings.shiftX = std::uniform_real_distribution<double>(-50, 50)(random);
    settings.shiftY = std::uniform_real_distribution<double>(-20, 20)(random);
    return settings;
}

int FrameCount()
{
    const char* text = std::getenv("MD_VISION_FRAMES");
    const int count = text ? std::atoi(text) : 10000;
    return count > 0 ? count : 10000;
}

void BM_Answers(benchmark::State& state)
{
    const bool hard = state.range(0) != 0;
    const int frames = FrameCount();
    long lit = 0, located = 0, review = 0, wrong = 0, dark = 0, darkNone = 0, finderFailures = 0;
    double centreError = 0;
    for (auto _ : state) {
        for (int scene = 0; scene < kScenes; ++scene) {
            SyntheticScene camera(Setting(hard, scene));
            const CameraFrame darkFrame = camera.Dark();
            const FinderResult found = ModuleFinder::Find(camera.AllLit(), darkFrame, 64, 32);
            const int count = frames / kScenes;
            if (!found.Found()) {
                finderFailures += 1;
                lit += count; // every frame of the scene unanswered: counted as not located
                continue;
            }
            const LedLocator locator(found.grid, darkFrame);
            std::mt19937 random(std::uint32_t(scene + 1));
            std::uniform_int_distribution<int> x(0, 63), y(0, 31);
            for (int i = 0; i < count; ++i) {
                if (i % kDarkEvery == kDarkEvery - 1) {
                    ++dark;
                    const LocateResult result = locator.Locate(camera.Dark());
                    darkNone += result.status == LocateStatus::NoneLit;
                    wrong += result.status == LocateStatus::Located;
                    continue;
                }
                ++lit;
                const int px = x(random), py = y(random);
                const LocateResult result = locator.Locate(camera.Lit({{px, py}}));
                if (result.status == LocateStatus::Review) {
                    ++review;
                } else if (result.status == LocateStatus::NoneLit || result.pixels.size() != 1 ||
                           result.pixels[0].x != px || result.pixels[0].y != py) {
                    ++wrong;
                } else {
                    ++located;
                    const GridPoint m = found.grid.ToModule(result.pixels[0].camera);
                    centreError += std::hypot(m.x - px, m.y - py);
                }
            }
        }
    }
    const double answered = double(lit + dark);
    state.counters["frames"] = answered;
    state.counters["wrong_answers"] = double(wrong);
    // Every automatic answer right: 100 %, its floor.
    state.counters["right_automatic_percent"] =
        100.0 * double(located + darkNone) / double(std::max(1L, located + darkNone + wrong));
    state.counters["right_automatic_percent_floor"] = 100.0;
    state.counters["located_percent"] = 100.0 * double(located) / double(std::max(1L, lit));
    state.counters["located_percent_floor"] = hard ? 98.0 : 99.5;
    state.counters["review_percent"] = 100.0 * double(review) / double(std::max(1L, lit));
    state.counters["dark_frames"] = double(dark);
    if (dark > 0)
        state.counters["none_of_dark_percent"] = 100.0 * double(darkNone) / double(dark);
    state.counters["mean_centre_error_cells"] = centreError / double(std::max(1L, located));
    state.counters["finder_failures"] = double(finderFailures);
}
BENCHMARK(BM_Answers)->Arg(0)->Arg(1)->ArgName("hard")->Iterations(1)->Unit(benchmark::kSecond);

void BM_Locate(benchmark::State& state)
{
    const bool hard = state.range(0) != 0;
    SyntheticScene camera(Setting(hard, 0));
    const CameraFrame darkFrame = camera.Dark();
    const FinderResult found = ModuleFinder::Find(camera.AllLit(), darkFrame, 64, 32);
    if (!found.Found()) {
        state.SkipWithError("the module was not found");
        return;
    }
    const LedLocator locator(found.grid, darkFrame);
    std::vector<CameraFrame> frames;
    for (int i = 0; i < 16; ++i)
        frames.push_back(camera.Lit({{(i * 7) % 64, (i * 5) % 32}}));
    std::size_t next = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(locator.Locate(frames[next++ % frames.size()]));
    // Reading a 1280 x 720 frame's module area takes at least 50 microseconds.
    bench::TimePerItem(state, "time_per_frame", 1, 50e3);
}
BENCHMARK(BM_Locate)->Arg(0)->Arg(1)->ArgName("hard")->Unit(benchmark::kMillisecond);

void BM_Find(benchmark::State& state)
{
    const bool hard = state.range(0) != 0;
    SyntheticScene camera(Setting(hard, 0));
    const CameraFrame darkFrame = camera.Dark();
    const CameraFrame allLit = camera.AllLit();
    for (auto _ : state)
        benchmark::DoNotOptimize(ModuleFinder::Find(allLit, darkFrame, 64, 32));
    // Smoothing two whole frames alone takes more than a millisecond.
    bench::TimePerItem(state, "time_per_find", 1, 1e6);
}
BENCHMARK(BM_Find)->Arg(0)->Arg(1)->ArgName("hard")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] {});
}
