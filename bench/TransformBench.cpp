// The module transform: transform plus save of a large module against reading and writing the
// same file unchanged, and the transform dialog opening a large source against a small one.
#include "BenchSupport.h"
#include "core/driverfile/DemoDesign.h"
#include "core/driverfile/DesignPartsFile.h"
#include "core/io/FileIo.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/posix/SystemClock.h"
#include "core/transform/ModuleTransform.h"
#include "core/transform/TransformFiles.h"
#include "gui/transform/CModuleTransformDlg.h"

#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace md {
namespace {

struct Fixture
{
    QTemporaryDir folder;
    CodePage codePage;
    PictureHeaderCodec codec;
    RandomGuids guids;
    SystemClock clock;
    DesignFilePorts ports{codePage, codec, guids, clock, {}};

    std::filesystem::path Path(const std::string& name) const
    {
        return std::filesystem::path(folder.path().toStdString()) / name;
    }
    /// A traced W x H design with the given LEDs per pixel.
    std::filesystem::path Sample(std::uint16_t size, std::uint16_t leds)
    {
        DemoDesign::Options options;
        options.width = options.height = size;
        options.groups = 1;
        options.scanRows = size % 5 == 0 ? 5 : 4;
        options.ledsPerCell = leds;
        auto design = DemoDesign::Build(options);
        std::string error;
        const auto path = Path("m" + std::to_string(size) + ".MDR");
        fileio::WriteAtomic(path, DemoDesign::Bytes(*design, codePage, error));
        return path;
    }
};

Fixture& Files()
{
    static Fixture fixture;
    return fixture;
}

void Unchanged(const std::filesystem::path& path)
{
    DesignParts parts;
    DesignPartsFile::Read(path, parts, AsStored(Files().ports));
    DesignPartsFile::Write(Files().Path("copy.MDR"), parts, AsStored(Files().ports));
}

void Transformed(const std::filesystem::path& path)
{
    ModuleTransform transform;
    transform.Load(path, Files().ports);
    TransformSettings settings;
    settings.angle = u"90";
    transform.Run(settings);
    TransformFiles::WriteResult(transform, Files().Path("turned.MDR"), Files().ports);
}

void OpenDialog(const std::filesystem::path& path)
{
    CModuleTransformDlg dialog(Files().folder.path().toStdString());
    dialog.resize(1000, 640);
    dialog.show();
    dialog.OpenPath(path);
    (void)dialog.SourceGrid()->viewport()->grab();
}

void BM_TransformAndSave(benchmark::State& state)
{
    const auto path = Files().Sample(255, 4);
    for (auto _ : state)
        Transformed(path);
}
BENCHMARK(BM_TransformAndSave)->Unit(benchmark::kMillisecond);

void BM_ReadAndWriteUnchanged(benchmark::State& state)
{
    const auto path = Files().Sample(255, 4);
    for (auto _ : state)
        Unchanged(path);
}
BENCHMARK(BM_ReadAndWriteUnchanged)->Unit(benchmark::kMillisecond);

void PrintRatios()
{
    const auto large = Files().Sample(255, 4);
    const auto small = Files().Sample(16, 1);
    const double unchanged = bench::SecondsPer([&] { Unchanged(large); }, 5);
    const double transformed = bench::SecondsPer([&] { Transformed(large); }, 5);
    std::printf("255x255, 4 LEDs: transform + save %.1f ms, read + write %.1f ms, ratio %.2f\n",
                transformed * 1e3, unchanged * 1e3, transformed / unchanged);
    const double openSmall = bench::SecondsPer([&] { OpenDialog(small); }, 10);
    const double openLarge = bench::SecondsPer([&] { OpenDialog(large); }, 10);
    std::printf("dialog open: 16x16 %.1f ms, 255x255 %.1f ms, ratio %.2f\n", openSmall * 1e3,
                openLarge * 1e3, openLarge / openSmall);
}

} // namespace
} // namespace md

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] { md::PrintRatios(); });
}
