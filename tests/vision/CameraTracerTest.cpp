// Tracing by camera against a simulated webcam on simulated time: the camera renders the module
// with the LED the tracer's last command lit, one latency late, with a lamp, a status LED and a
// reflection brighter than the LEDs. The traced order must equal the module's wiring, stale
// frames must never count, and what the locator cannot tell goes to the engineer.
#include "vision/CameraTracer.h"
#include "core/layout/TracingHarness.h"
#include "vision/LedLocator.h"
#include "vision/ModuleFinder.h"
#include "vision/support/SyntheticScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace md {
namespace {

using namespace std::chrono_literals;
using test::ScenePixel;
using test::SceneSettings;
using test::SyntheticScene;
using Time = std::chrono::steady_clock::time_point;
using Pixels = std::vector<std::pair<int, int>>;

constexpr auto kLatency = 100ms;
constexpr auto kFramePeriod = 33ms;

/// Which LEDs an output position drives: empty for an unused output. Slot n is group
/// n / stride, scan row (n % stride) / length, position n % length + 1.
struct Wiring
{
    int length = 0;
    int scanRows = 0;
    std::vector<Pixels> slots;

    const Pixels* At(std::uint32_t group, std::uint32_t row, std::uint32_t position) const
    {
        if (position == 0 || int(position) > length || int(row) >= scanRows)
            return nullptr;
        const std::size_t n = (group * scanRows + row) * length + position - 1;
        return n < slots.size() ? &slots[n] : nullptr;
    }
};

/// A webcam on simulated time: a frame captured at t shows what the last command written
/// before t - latency lit.
class SimulatedCamera final : public FrameSource
{
public:
    SimulatedCamera(const SceneSettings& settings, const Wiring& wiring)
        : m_scene(settings), m_wiring(wiring)
    {}

    void Written(Time at, const CommandPair& pair)
    {
        const test::Lit lit = test::Decode(pair);
        const Pixels* pixels = m_wiring.At(lit.group, pair.word1[1], lit.position);
        m_history.emplace_back(at, pixels ? *pixels : Pixels{});
    }

    std::u16string Name() const override { return u"simulated"; }
    bool Start(FrameHandler, std::u16string&) override { return true; }
    void Stop() override {}
    bool LockExposure() override { return true; }
    std::optional<std::chrono::milliseconds> Latency() const override { return kLatency; }
    bool FrameAt(Time captured, CameraFrame& frame) override
    {
        Pixels shown;
        for (const auto& [at, pixels] : m_history)
            if (at + kLatency <= captured)
                shown = pixels;
        std::vector<ScenePixel> lit;
        for (const auto& [x, y] : shown)
            lit.push_back({x, y});
        frame = m_scene.Lit(lit);
        frame.captured = captured;
        return true;
    }

    SyntheticScene& Scene() { return m_scene; }

private:
    SyntheticScene m_scene;
    const Wiring& m_wiring;
    std::vector<std::pair<Time, Pixels>> m_history;
};

SceneSettings SmallModule(std::uint32_t seed = 3)
{
    SceneSettings settings; // three distractors brighter than the LEDs, blur, noise, shake
    settings.frameWidth = 640;
    settings.frameHeight = 360;
    settings.moduleWidth = 16;
    settings.moduleHeight = 8;
    settings.seed = seed;
    return settings;
}

/// A tracer, a camera watching the module it lights and the controller between them, all on
/// one simulated clock.
struct Rig
{
    Rig(LayoutSetup setup, const Wiring& wiring, const SceneSettings& settings = SmallModule())
        : harness(std::move(setup)), camera(settings, wiring)
    {
        harness.channel.SetTap([this](const CommandPair& pair) {
            harness.sent.push_back(pair);
            camera.Written(now, pair);
        });
        harness.tracer->SetEventSink([this](const PointTracer::Event& e) { ++events[e.kind]; });
        const CameraFrame dark = camera.Scene().Dark();
        const FinderResult found = ModuleFinder::Find(camera.Scene().AllLit(), dark,
                                                      settings.moduleWidth, settings.moduleHeight);
        EXPECT_TRUE(found.Found()) << found.Message();
        locator = std::make_unique<LedLocator>(found.grid, dark);
        controller = std::make_unique<CameraTracer>(*harness.tracer, *locator, kLatency,
                                                    [this] { return now; });
    }

    CameraFrame Capture()
    {
        now += kFramePeriod;
        CameraFrame frame;
        camera.FrameAt(now, frame);
        return frame;
    }

    /// Feeds frames until the run stops or ends; the outcomes seen.
    std::map<CameraTracer::Outcome, int> Run(int maxFrames = 2000)
    {
        std::map<CameraTracer::Outcome, int> outcomes;
        for (int i = 0;
             i < maxFrames && controller->CurrentState() == CameraTracer::State::Watching; ++i)
            ++outcomes[controller->OnFrame(Capture())];
        return outcomes;
    }

    /// Runs to the end; at each stop the engineer clicks what the wiring says and resumes.
    int RunWithEngineer(const Wiring& wiring)
    {
        int stops = 0;
        while (Run(), controller->CurrentState() == CameraTracer::State::NeedsEngineer) {
            ++stops;
            const Pixels& truth = wiring.slots[harness.tracer->TracedCount()];
            if (truth.empty())
                harness.tracer->InsertVirtual(1);
            else
                harness.tracer->Click(truth[0].first, truth[0].second);
            controller->Resume();
        }
        return stops;
    }

    Time now{};
    test::TracingHarness harness;
    SimulatedCamera camera;
    std::unique_ptr<LedLocator> locator;
    std::unique_ptr<CameraTracer> controller;
    std::map<PointTracer::Event::Kind, int> events;
};

/// A 16 × 8 module, four scan rows, one data group: the first scan row runs right along the
/// top, through an unused output, and back left along row 4; the others follow it downwards.
Wiring FourScanSnake()
{
    Wiring wiring{33, 4, {}};
    for (int k = 0; k < 4; ++k) {
        for (int x = 0; x < 16; ++x)
            wiring.slots.push_back({{x, k}});
        wiring.slots.push_back({});
        for (int x = 15; x >= 0; --x)
            wiring.slots.push_back({{x, k + 4}});
    }
    return wiring;
}

Pixels Expected(const Wiring& wiring, int row)
{
    Pixels out;
    for (int i = 0; i < wiring.length; ++i) {
        const Pixels& slot = wiring.slots[std::size_t(row * wiring.length + i)];
        out.push_back(slot.empty() ? std::pair{-1, -1} : slot[0]);
    }
    return out;
}

Pixels Traced(const ScanRow& row)
{
    Pixels out;
    for (const TracedPoint& p : row.points)
        out.push_back(p.IsVirtual() ? std::pair{-1, -1} : std::pair{int(p.x), int(p.y)});
    return out;
}

/// Advanced tracing over `total` outputs: every pixel on a shuffled output, the rest unused.
Wiring Irregular(int length, int scanRows, std::size_t total, std::uint32_t seed)
{
    Wiring wiring{length, scanRows, std::vector<Pixels>(total)};
    std::vector<std::size_t> slots(total);
    for (std::size_t i = 0; i < total; ++i)
        slots[i] = i;
    std::mt19937 random(seed);
    std::shuffle(slots.begin(), slots.end(), random);
    std::size_t next = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            wiring.slots[slots[next++]] = {{x, y}};
    return wiring;
}

Pixels Records(const PointTracer& tracer)
{
    Pixels out;
    for (const TracedPoint& p : tracer.AdvancedRecords())
        out.push_back(p.IsVirtual() ? std::pair{-1, -1} : std::pair{int(p.x), int(p.y)});
    return out;
}

Pixels Truth(const Wiring& wiring)
{
    Pixels out;
    for (const Pixels& slot : wiring.slots)
        out.push_back(slot.empty() ? std::pair{-1, -1} : slot[0]);
    return out;
}

TEST(CameraTracerTest, ModesOneAndTwoTraceTheWiringHandsFree)
{
    const Wiring wiring = FourScanSnake();
    for (const auto scope : {CameraTracer::Scope::FirstRow, CameraTracer::Scope::RowStarts}) {
        Rig rig(test::MakeSetup(16, 8, 4, 1), wiring);
        PointTracer& tracer = *rig.harness.tracer;
        ASSERT_TRUE(rig.controller->Start(scope));
        EXPECT_TRUE(tracer.HoldLit());
        const auto outcomes = rig.Run();
        ASSERT_EQ(rig.controller->CurrentState(), CameraTracer::State::Done);
        EXPECT_FALSE(tracer.HoldLit()) << "done: the tracer blinks again";
        const int rowStarts = scope == CameraTracer::Scope::RowStarts ? 3 : 0;
        EXPECT_EQ(rig.controller->Clicks(), 32u + rowStarts);
        EXPECT_EQ(rig.controller->Virtuals(), 1u);
        EXPECT_EQ(outcomes.count(CameraTracer::Outcome::Stopped), 0u);
        // The clicks went the mouse's way: the tracer reported each as a step.
        EXPECT_EQ(rig.events[PointTracer::Event::Kind::Click], 32 + rowStarts);
        EXPECT_EQ(rig.events[PointTracer::Event::Kind::Virtual], 1);
        EXPECT_EQ(tracer.Starts().size(), std::size_t(rowStarts));

        ASSERT_TRUE(tracer.Analyse(true));
        ASSERT_EQ(rig.harness.setup.result.size(), 1u);
        const auto& rows = rig.harness.setup.result[0].rows;
        ASSERT_EQ(rows.size(), 4u);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(Traced(rows[std::size_t(k)]), Expected(wiring, k)) << "scan row " << k;
    }
}

TEST(CameraTracerTest, AdvancedModeTracesAnIrregularModuleWithUnusedOutputs)
{
    LayoutSetup setup = test::MakeSetup(16, 8, 4, 1);
    test::TracingHarness probe(setup);
    probe.tracer->SetAdvancedEnabled(true);
    probe.tracer->SetScanRowLength(34); // two unused outputs a scan row on average
    probe.tracer->SetAdvancedStarted(true);
    probe.tracer->Reset();
    const std::size_t total = probe.tracer->AdvancedTotal();
    ASSERT_EQ(total, 136u);
    const Wiring wiring = Irregular(34, 4, total, 11);

    Rig rig(setup, wiring);
    PointTracer& tracer = *rig.harness.tracer;
    tracer.SetAdvancedEnabled(true);
    EXPECT_FALSE(rig.controller->Start(CameraTracer::Scope::FirstRow))
        << "advanced tracing enabled: only the advanced run";
    EXPECT_FALSE(rig.controller->Start(CameraTracer::Scope::Advanced)) << "not started yet";
    tracer.SetScanRowLength(34);
    tracer.SetAdvancedStarted(true);
    tracer.Reset();
    ASSERT_TRUE(rig.controller->Start(CameraTracer::Scope::Advanced));
    rig.Run();
    ASSERT_EQ(rig.controller->CurrentState(), CameraTracer::State::Done);
    EXPECT_EQ(rig.controller->Clicks(), 128u);
    EXPECT_EQ(rig.controller->Virtuals(), 8u);
    EXPECT_EQ(Records(tracer), Truth(wiring));
    // Undo steps back through the camera's clicks as through the mouse's.
    EXPECT_EQ(tracer.Undo(), 0);
    EXPECT_EQ(tracer.AdvancedRecords().size(), total - 1);
}

TEST(CameraTracerTest, AnUndoDuringTheRunTracesThatPositionAgain)
{
    const Wiring wiring = FourScanSnake();
    Rig rig(test::MakeSetup(16, 8, 4, 1), wiring);
    PointTracer& tracer = *rig.harness.tracer;
    ASSERT_TRUE(rig.controller->Start(CameraTracer::Scope::FirstRow));
    while (tracer.FirstRow().size() < 6)
        ASSERT_NE(rig.controller->OnFrame(rig.Capture()), CameraTracer::Outcome::Stopped);
    // Ctrl+Z twice while the camera still shows the seventh LED.
    rig.controller->OnFrame(rig.Capture());
    ASSERT_EQ(tracer.Undo(), 0);
    ASSERT_EQ(tracer.Undo(), 0);
    const Time undone = rig.now;
    EXPECT_EQ(rig.controller->OnFrame(rig.Capture()), CameraTracer::Outcome::Ignored);
    EXPECT_GT(rig.controller->LitAt(), undone) << "the fifth position is lit again, and timed anew";
    rig.Run();
    ASSERT_EQ(rig.controller->CurrentState(), CameraTracer::State::Done);
    EXPECT_EQ(Traced({0, tracer.FirstRow()}), Expected(wiring, 0));
}

TEST(CameraTracerTest, NoWrongClickOnAHardViewAndTheEngineerTakesWhatIsUnclear)
{
    SceneSettings settings = SmallModule(8);
    settings.perspective = 0.30;
    settings.blur = 3;
    settings.noise = 12;
    settings.shake = 0.5;
    LayoutSetup setup = test::MakeSetup(16, 8, 4, 1);
    const Wiring wiring = Irregular(32, 4, 128, 4);
    Rig rig(setup, wiring, settings);
    PointTracer& tracer = *rig.harness.tracer;
    tracer.SetAdvancedEnabled(true);
    tracer.SetScanRowLength(32);
    tracer.SetAdvancedStarted(true);
    tracer.Reset();
    ASSERT_TRUE(rig.controller->Start(CameraTracer::Scope::Advanced));
    const int stops = rig.RunWithEngineer(wiring);
    ASSERT_EQ(rig.controller->CurrentState(), CameraTracer::State::Done);
    // Any automatic click on a wrong pixel would show here: the engineer only takes stops.
    EXPECT_EQ(Records(tracer), Truth(wiring));
    EXPECT_EQ(rig.controller->Clicks() + std::uint32_t(stops), 128u);
    EXPECT_LE(stops, 6) << "most positions traced hands-free";
    RecordProperty("stops", stops);
}

TEST(CameraTracerTest, StaleFramesNeverCount)
{
    const Wiring wiring = FourScanSnake();
    Rig rig(test::MakeSetup(16, 8, 4, 1), wiring);
    ASSERT_TRUE(rig.controller->Start(CameraTracer::Scope::FirstRow));
    const Time lit = rig.controller->LitAt();
    // Frames taken before the command could show, even ones that show a clear LED, are ignored.
    for (const auto early : {0ms, 50ms, 99ms}) {
        CameraFrame frame = rig.camera.Scene().Lit({{5, 5}});
        frame.captured = lit + early;
        EXPECT_EQ(rig.controller->OnFrame(frame), CameraTracer::Outcome::Ignored);
        EXPECT_EQ(rig.controller->FrameAnswer(), nullptr); // not located: the preview does it
    }
    EXPECT_TRUE(rig.harness.tracer->FirstRow().empty());
    // One fresh frame is not enough; the second confirms.
    rig.now = lit + kLatency - kFramePeriod;
    EXPECT_EQ(rig.controller->OnFrame(rig.Capture()), CameraTracer::Outcome::Measured);
    EXPECT_EQ(rig.controller->OnFrame(rig.Capture()), CameraTracer::Outcome::Clicked);
    ASSERT_EQ(rig.harness.tracer->FirstRow().size(), 1u);
    EXPECT_EQ(rig.harness.tracer->FirstRow()[0].x, 0);

    // Right after the click the camera still shows the old LED for one latency: never clicked
    // again, never taken for the next position.
    const Time next = rig.controller->LitAt();
    EXPECT_EQ(next, rig.now);
    while (rig.now + kFramePeriod < next + kLatency)
        EXPECT_EQ(rig.controller->OnFrame(rig.Capture()), CameraTracer::Outcome::Ignored);
    // A fresh frame that a second one does not confirm (a flash on the module) is no answer.
    // The answer the run measured is the one the preview shows.
    CameraFrame flash = rig.camera.Scene().Lit({{7, 3}});
    flash.captured = next + kLatency;
    EXPECT_EQ(rig.controller->OnFrame(flash), CameraTracer::Outcome::Measured);
    const LocateResult* answer = rig.controller->FrameAnswer();
    ASSERT_NE(answer, nullptr);
    ASSERT_EQ(answer->status, LocateStatus::Located);
    ASSERT_EQ(answer->pixels.size(), 1u);
    EXPECT_EQ(answer->pixels[0].x, 7);
    EXPECT_EQ(answer->pixels[0].y, 3);
    rig.Run();
    ASSERT_EQ(rig.controller->CurrentState(), CameraTracer::State::Done);
    EXPECT_EQ(Traced({0, rig.harness.tracer->FirstRow()}), Expected(wiring, 0));
}

TEST(CameraTracerTest, AnUnclearPositionStopsTheRunUntilTheEngineerClicks)
{
    Wiring wiring = FourScanSnake();
    wiring.slots[3] = {{3, 0}, {4, 0}}; // a fault lights two LEDs on one output
    Rig rig(test::MakeSetup(16, 8, 4, 1), wiring);
    PointTracer& tracer = *rig.harness.tracer;
    ASSERT_TRUE(rig.controller->Start(CameraTracer::Scope::FirstRow));
    const auto outcomes = rig.Run();
    ASSERT_EQ(rig.controller->CurrentState(), CameraTracer::State::NeedsEngineer);
    EXPECT_EQ(tracer.FirstRow().size(), 3u) << "stopped on the fourth position";
    EXPECT_EQ(outcomes.at(CameraTracer::Outcome::Stopped), 1);
    EXPECT_TRUE(tracer.HoldLit()) << "the position stays lit for the engineer";
    EXPECT_GE(rig.controller->StopFrame().captured, rig.controller->LitAt() + kLatency);
    EXPECT_FALSE(rig.controller->StopFrame().Empty());
    // Measured once more, not more: the stop came on the second fresh frame of the position.
    const std::size_t measured = std::size_t(outcomes.at(CameraTracer::Outcome::Measured));
    EXPECT_EQ(measured, 4u) << "one for each of three clicked positions, one for the fourth";
    // While it waits, frames change nothing.
    EXPECT_EQ(rig.controller->OnFrame(rig.Capture()), CameraTracer::Outcome::Ignored);
    EXPECT_EQ(tracer.FirstRow().size(), 3u);

    tracer.Click(3, 0); // the engineer's own click
    rig.controller->Resume();
    rig.Run(5);
    EXPECT_EQ(tracer.FirstRow().size(), 5u) << "goes on by itself";
    // Esc: the run stops, frames are ignored, the tracer blinks again, the traced stays.
    rig.controller->Stop();
    EXPECT_FALSE(tracer.HoldLit());
    EXPECT_EQ(rig.controller->OnFrame(rig.Capture()), CameraTracer::Outcome::Ignored);
    EXPECT_EQ(tracer.FirstRow().size(), 5u);
    EXPECT_EQ(Traced({0, tracer.FirstRow()}), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
}

TEST(CameraTracerTest, RefusesToStartWhereAClickWouldNotTrace)
{
    const Wiring wiring = FourScanSnake();
    Rig rig(test::MakeSetup(16, 8, 4, 1), wiring);
    rig.harness.tracer->SetEditMode(2); // painting marks
    EXPECT_FALSE(rig.controller->Start(CameraTracer::Scope::FirstRow));
    rig.harness.tracer->SetEditMode(0);
    rig.harness.tracer->SetPointGoSelected(true);
    EXPECT_FALSE(rig.controller->Start(CameraTracer::Scope::FirstRow));
    EXPECT_FALSE(rig.harness.tracer->HoldLit());
}

} // namespace
} // namespace md
