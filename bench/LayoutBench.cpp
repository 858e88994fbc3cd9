// Layout grid figures, each against a baseline measured in the same run:
// memory per pixel of the shared LED shapes against a full copy per pixel, painting a
// 256 x 256 grid against a 64 x 64 one in the same viewport (both fill it, so the same cells
// are visible; the 16 x 16 grid, which fills half of it, is shown too), and Analyse(true) per
// point at 64 x 64 and 256 x 256.
#include "BenchSupport.h"
#include "core/controller/CommandChannel.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/PointTracer.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/layout/LedCellDelegate.h"

#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace md;

class NoTexts final : public Texts
{
public:
    std::u16string Text(std::string_view) const override { return {}; }
};

class NoPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons, const std::u16string&, const std::u16string&) override
    {
        return PromptAnswer::Ok;
    }
};

std::array<std::vector<CellLed>, 4> FourLedCell()
{
    std::array<std::vector<CellLed>, 4> cell;
    for (auto& slot : cell)
        for (std::uint16_t i = 0; i < 4; ++i) {
            CellLed led;
            led.x = static_cast<std::uint16_t>(64 * i);
            led.widthPx = led.heightPx = 48;
            led.colour = i % 3;
            led.name = u"smd3535";
            slot.push_back(led);
        }
    return cell;
}

/// A pixel that holds its own copy of its cell's LEDs, as a naive grid would.
struct FullCopyPoint
{
    std::uint32_t drawWidth = 64, drawHeight = 64;
    std::uint16_t cellVariant = 1, x = 0, y = 0;
    std::uint8_t marked = 0, highlighted = 0, traced = 0;
    std::vector<CellLed> shapes;
    std::vector<std::uint8_t> visible;
};

std::size_t SharedBytes(const LayoutModel& model)
{
    std::size_t bytes = model.Points().capacity() * sizeof(LedPoint);
    for (const auto& set : model.ShapeSets())
        bytes += sizeof(set) + set.capacity() * sizeof(CellLed);
    return bytes;
}

std::size_t FullCopyBytes(const std::vector<FullCopyPoint>& points)
{
    std::size_t bytes = points.capacity() * sizeof(FullCopyPoint);
    for (const auto& p : points)
        bytes += p.shapes.capacity() * sizeof(CellLed) + p.visible.capacity();
    return bytes;
}

void BM_ConstructShared(benchmark::State& state)
{
    const auto cell = FourLedCell();
    std::size_t bytes = 0;
    for (auto _ : state) {
        LayoutModel model;
        model.Construct(256, 256, cell);
        bytes = SharedBytes(model);
        benchmark::DoNotOptimize(model.Points().data());
    }
    state.counters["bytes_per_pixel"] = double(bytes) / (256.0 * 256.0);
    // Every pixel's point is written: a fraction of a nanosecond at the very least.
    bench::TimePerItem(state, "time_per_pixel", 256.0 * 256.0, 0.1);
}
BENCHMARK(BM_ConstructShared)->Unit(benchmark::kMillisecond);

void BM_ConstructFullCopy(benchmark::State& state)
{
    const auto cell = FourLedCell();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::vector<FullCopyPoint> points;
        points.reserve(256 * 256);
        for (std::uint16_t x = 0; x < 256; ++x)
            for (std::uint16_t y = 0; y < 256; ++y) {
                FullCopyPoint p;
                p.x = x;
                p.y = y;
                p.cellVariant = LayoutModel::VariantOf(x, y);
                p.shapes = cell[p.cellVariant - 1U];
                p.visible.assign(p.shapes.size(), 1);
                points.push_back(std::move(p));
            }
        bytes = FullCopyBytes(points);
        benchmark::DoNotOptimize(points.data());
    }
    state.counters["bytes_per_pixel"] = double(bytes) / (256.0 * 256.0);
    // Two allocations a pixel.
    bench::TimePerItem(state, "time_per_pixel", 256.0 * 256.0, 1.0);
}
BENCHMARK(BM_ConstructFullCopy)->Unit(benchmark::kMillisecond);

/// A traced layout control of the given size, shown offscreen.
struct Grid
{
    explicit Grid(std::uint16_t size)
    {
        setup.width = setup.height = size;
        setup.scanRows = 1;
        setup.DeriveCounts();
        model.Construct(size, size, FourLedCell());
        tracer.SetSetup(&setup, true);
        control.resize(800, 600);
        control.show();
        control.Create();
        control.Timer().stop();
        for (int x = 0; x < size; ++x)
            tracer.Click(x, 0);
        control.Refresh();
    }
    LayoutSetup setup;
    LayoutModel model;
    CommandChannel channel;
    NoTexts texts;
    NoPrompter prompter;
    PointTracer tracer{model, channel, texts, prompter};
    CLedLayoutCtrl control{model, tracer, texts};
};

void Paint(Grid& grid)
{
    (void)grid.control.Grid()->viewport()->grab();
}

void BM_Paint(benchmark::State& state)
{
    Grid grid(static_cast<std::uint16_t>(state.range(0)));
    const std::uint64_t before = grid.control.Delegate()->Painted();
    for (auto _ : state)
        Paint(grid);
    // Per cell the delegate painted: a grid that paints nothing has no figure to show.
    const double cells =
        double(grid.control.Delegate()->Painted() - before) / double(state.iterations());
    state.counters["cells"] = cells;
    bench::TimePerItem(state, "time_per_cell", cells, 10.0);
}
BENCHMARK(BM_Paint)->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);

/// A module traced along its top edge, with 32 data groups.
struct Traced
{
    explicit Traced(std::uint16_t size)
    {
        setup.width = setup.height = size;
        setup.dataGroups = 32;
        setup.scanRows = static_cast<std::uint16_t>(size / 32);
        setup.DeriveCounts();
        model.Construct(size, size, {});
        tracer.SetSetup(&setup, true);
        tracer.Create();
        for (int x = 0; x < size; ++x)
            tracer.Click(x, 0);
    }
    LayoutSetup setup;
    LayoutModel model;
    CommandChannel channel;
    NoTexts texts;
    NoPrompter prompter;
    PointTracer tracer{model, channel, texts, prompter};
};

std::size_t ResultPoints(const PointTracer& tracer)
{
    std::size_t count = 0;
    for (const ChannelRow& entry : tracer.Result())
        for (const ScanRow& row : entry.rows)
            count += row.points.size();
    return count;
}

/// One final analysis of the traced module, then its undo: the tracer is back where it was
/// before, so the next analysis deduces the whole module again. False when the analysis did not
/// deduce every pixel.
bool AnalyseOnce(Traced& traced, double& seconds)
{
    bool supported = false;
    seconds += bench::CpuSecondsPer([&] { supported = traced.tracer.Analyse(true); }, 1);
    const bool whole =
        supported && traced.tracer.LayoutDone() &&
        ResultPoints(traced.tracer) == std::size_t{traced.setup.width} * traced.setup.height;
    traced.tracer.Undo();
    return whole && !traced.tracer.LayoutDone();
}

void BM_Analyse(benchmark::State& state)
{
    Traced traced(static_cast<std::uint16_t>(state.range(0)));
    for (auto _ : state) {
        const bool supported = traced.tracer.Analyse(true);
        state.PauseTiming();
        const bool whole = supported && ResultPoints(traced.tracer) ==
                                            std::size_t{traced.setup.width} * traced.setup.height;
        traced.tracer.Undo(); // reopened: the next iteration analyses afresh
        state.ResumeTiming();
        if (!whole || traced.tracer.LayoutDone()) {
            state.SkipWithError("the analysis did not deduce every pixel, or stayed finished");
            break;
        }
    }
    const double points = double(state.range(0)) * double(state.range(0));
    state.counters["points"] = points;
    // The analysis touches every point.
    bench::TimePerItem(state, "time_per_point", points, 1.0);
}
BENCHMARK(BM_Analyse)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);

/// The ratios the figures are judged by, measured together.
void PrintRatios()
{
    LayoutModel model;
    model.Construct(256, 256, FourLedCell());
    std::vector<FullCopyPoint> full(256 * 256);
    for (auto& p : full) {
        p.shapes = FourLedCell()[0];
        p.visible.assign(4, 1);
    }
    const double shared = double(SharedBytes(model)) / 65536.0;
    const double copied = double(FullCopyBytes(full)) / 65536.0;
    std::printf("memory per pixel: shared %.1f bytes, full copy %.1f bytes, ratio %.3f\n", shared,
                copied, shared / copied);

    Grid small(16);
    Grid medium(64);
    Grid large(256);
    // CPU time in interleaved rounds, every other one in reverse order, so that a busy moment
    // of the machine or a warm cache falls on all three alike.
    Grid* grids[3] = {&small, &medium, &large};
    double paint[3] = {};
    for (int round = 0; round < 10; ++round)
        for (int i = 0; i < 3; ++i) {
            const int g = round % 2 == 0 ? i : 2 - i;
            paint[g] += bench::CpuSecondsPer([&] { Paint(*grids[g]); }, 10);
        }
    std::printf("paint (CPU): 64x64 %.1f us, 256x256 %.1f us, ratio %.2f (judged, at most 1.1)\n",
                paint[1] * 1e5, paint[2] * 1e5, paint[2] / paint[1]);
    std::printf("paint (CPU): 16x16 %.1f us, 256x256 %.1f us, ratio %.2f (the 16x16 grid fills "
                "half the viewport)\n",
                paint[0] * 1e5, paint[2] * 1e5, paint[2] / paint[0]);

    Traced a(64);
    Traced b(256);
    double secondsA = 0, secondsB = 0;
    bool whole = true;
    for (int i = 0; i < 200; ++i)
        whole = AnalyseOnce(a, secondsA) && whole;
    for (int i = 0; i < 20; ++i)
        whole = AnalyseOnce(b, secondsB) && whole;
    const double perA = secondsA / 200 / (64.0 * 64.0);
    const double perB = secondsB / 20 / (256.0 * 256.0);
    std::printf("Analyse(true) per point (CPU): 64x64 %.1f ns, 256x256 %.1f ns, ratio %.2f%s\n",
                perA * 1e9, perB * 1e9, perB / perA,
                whole ? "" : " (an analysis did not deduce every pixel)");
}

} // namespace

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] { PrintRatios(); });
}
