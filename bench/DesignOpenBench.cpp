// From Open to a painted layout: a driver file read by the design panel, its layout step shown
// and the grid's visible cells painted, for a large module against a small one.
#include "BenchSupport.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/driverfile/DemoDesign.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/wizard/ModuleLayoutDlg.h"

#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace md {
namespace {

/// A saved design of W x H pixels in the folder; its path.
std::filesystem::path Sample(const QTemporaryDir& folder, std::uint16_t size, std::uint16_t rows)
{
    DemoDesign::Options options;
    options.width = options.height = size;
    options.groups = 1;
    options.scanRows = rows;
    auto design = DemoDesign::Build(options);
    std::string error;
    const auto bytes = DemoDesign::Bytes(*design, CodePage(), error);
    const auto path =
        std::filesystem::path(folder.path().toStdString()) / ("m" + std::to_string(size) + ".MDR");
    if (bytes.empty() || !fileio::WriteAtomic(path, bytes))
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
    return path;
}

/// Seconds from Open to the painted grid (a fresh panel each time, made before the clock runs);
/// nothing when the file does not open, which would measure no opening.
std::optional<double> OpenAndPaint(const QTemporaryDir& folder, const std::filesystem::path& path)
{
    ModuleDesignDocument document(ProgramFolder(folder.path().toStdString()));
    ModuleDesignPanelDlg panel(document);
    panel.resize(900, 600);
    panel.show();
    const std::u16string file = path.u16string();
    const auto start = std::chrono::steady_clock::now();
    if (panel.OpenDesign(file.c_str()) != 0)
        return std::nullopt;
    panel.OnNotify(3, 0, 0);
    (void)panel.LayoutDlg()->Grid()->Grid()->viewport()->grab();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Samples
{
    QTemporaryDir folder;
    // 255 x 255 is the largest square the layout section's 16-bit point count holds.
    std::filesystem::path small = Sample(folder, 16, 4);
    std::filesystem::path large = Sample(folder, 255, 5);
};

Samples& Files()
{
    static Samples samples;
    return samples;
}

void BM_OpenToPainted(benchmark::State& state)
{
    const auto& path = state.range(0) == 16 ? Files().small : Files().large;
    for (auto _ : state) {
        const auto seconds = OpenAndPaint(Files().folder, path);
        if (!seconds) {
            state.SkipWithError("the sample does not open");
            break;
        }
        state.SetIterationTime(*seconds);
    }
    // Opening reads every pixel's point and builds its cell.
    bench::TimePerItem(state, "time_per_pixel", double(state.range(0)) * double(state.range(0)),
                       1.0);
}
BENCHMARK(BM_OpenToPainted)->Arg(16)->Arg(255)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintRatio()
{
    double small = 0, large = 0;
    const int repeat = 10;
    for (int i = 0; i < repeat; ++i) {
        small += OpenAndPaint(Files().folder, Files().small).value_or(0);
        large += OpenAndPaint(Files().folder, Files().large).value_or(0);
    }
    std::printf("open to painted: 16x16 %.2f ms, 255x255 %.2f ms, ratio %.1f\n",
                small / repeat * 1e3, large / repeat * 1e3, large / small);
}

} // namespace
} // namespace md

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] { md::PrintRatio(); });
}
