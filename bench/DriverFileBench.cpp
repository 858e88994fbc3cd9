// Writing and reading a 128 x 128 module driver file whose cell holds 4 LEDs, against copying
// the same number of bytes file to file in the same run. A driver file is saved atomically and
// flushed to the disk before it replaces the old one, so the baseline that matters copies with
// the same guarantee (copy, fsync): "vsCopy" is the driver file's throughput as a fraction of
// that copy's (target: at least 0.7); "vsPlainCopy" compares with a copy left in the page cache.
// "bytes_per_second" is the driver file's own write and read, per byte of the file.

#include "BenchSupport.h"
#include "core/driverfile/BackgroundSection.h"
#include "core/driverfile/DemoDesign.h"
#include "core/driverfile/DriverFile.h"
#include "core/driverfile/LayoutDesignSection.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/io/PngWriter.h"
#include "core/io/RgbaImage.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/posix/SystemClock.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_DriverFileWriteReadVsCopy(benchmark::State& state)
{
    const md::CodePage codePage;
    const md::PictureHeaderCodec codec;
    md::DemoDesign::Options options;
    options.width = 128;
    options.height = 128;
    options.groups = 4;
    options.scanRows = 8;
    options.ledsPerCell = 4;
    options.background = md::PngWriter::Encode(md::RgbaImage(64, 64, 0x303030));
    auto design = md::DemoDesign::Build(options);
    const auto folder = std::filesystem::temp_directory_path() /
                        ("md_driverfile_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "module.MDR";
    const auto copy = folder / "copy.MDR";

    md::LayoutDesignSection w2(design->layout, codePage);
    md::NewModuleInfoSection w0(design->moduleInfo, codePage);
    md::SocketSection w1(design->socket, nullptr);
    md::BackgroundSection w3(design->background, codePage, codec);
    md::RandomGuids guids;
    md::SystemClock clock;

    double designSeconds = 0, copySeconds = 0, plainSeconds = 0;
    std::uintmax_t size = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!md::DriverFile::Write(file, {1, 0, 0}, {&w0, &w1, &w2, &w3}, guids, clock)) {
            state.SkipWithError("write failed");
            break;
        }
        md::DriverFileContents back;
        md::NewModuleInfoSection r0(back.moduleInfo, codePage);
        md::SocketSection r1(back.socket, nullptr);
        md::LayoutDesignSection r2(back.layout, codePage);
        md::BackgroundSection r3(back.background, codePage, codec);
        if (!md::DriverFile::Read(file, {&r0, &r1, &r2, &r3})) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(back.layout.points.data());
        const auto middle = Clock::now();
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
        const auto copied = Clock::now();
        const int fd = ::open(copy.c_str(), O_RDWR);
        ::fsync(fd);
        ::close(fd);
        const auto end = Clock::now();
        designSeconds += Seconds(middle - start);
        plainSeconds += Seconds(copied - middle);
        copySeconds += Seconds(end - middle);
        state.SetIterationTime(Seconds(middle - start));
        size = std::filesystem::file_size(file);
    }
    // A write flushed to the disk and a read of the file: a few MB/s even on a slow disk.
    md::bench::BytesPerSecond(state, "bytes_per_second", static_cast<double>(size), 5.0);
    state.counters["fileBytes"] = static_cast<double>(size);
    state.counters["copyMBps"] =
        copySeconds > 0 ? static_cast<double>(size) * state.iterations() / copySeconds / 1e6 : 0;
    state.counters["vsCopy"] = designSeconds > 0 ? copySeconds / designSeconds : 0;
    state.counters["vsPlainCopy"] = designSeconds > 0 ? plainSeconds / designSeconds : 0;
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_DriverFileWriteReadVsCopy)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
