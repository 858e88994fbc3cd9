#pragma once

// What every benchmark program shares: the per-item figures each benchmark reports with the
// floor it declares for them, a timer for the ratios printed after the Google Benchmark runs,
// and a main that runs them offscreen.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>

namespace md::bench {

/// Suffix of the counter that holds a figure's floor: "time_per_point" has
/// "time_per_point_floor". scripts/check-bench-floors.sh fails a run whose figure is below its
/// floor, zero or not a finite number, and a benchmark that reports no figure with a floor.
inline constexpr const char* kFloorSuffix = "_floor";

/// Reports the loop's measured time per item as the counter `name` (say "time_per_point";
/// seconds in the JSON output, shown as "12.3ns"), items being what one iteration works
/// through, with the floor in nanoseconds below which the loop cannot have done its work (a
/// loop that touches every point takes at least 1 ns a point). The time is the one the
/// benchmark is judged by: CPU time, or manual time.
inline void TimePerItem(benchmark::State& state, const std::string& name, double itemsPerIteration,
                        double floorNs)
{
    using Counter = benchmark::Counter;
    state.counters[name] =
        Counter(itemsPerIteration, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters[name + kFloorSuffix] = Counter(1e9 / floorNs, Counter::kInvert);
}

/// Reports the loop's throughput as the counter `name` (say "bytes_per_second", shown as
/// "250M/s"), bytes being what one iteration reads or writes, with the least it must reach in
/// MB/s.
inline void BytesPerSecond(benchmark::State& state, const std::string& name,
                           double bytesPerIteration, double floorMBps)
{
    using Counter = benchmark::Counter;
    state.counters[name] = Counter(bytesPerIteration, Counter::kIsIterationInvariantRate);
    state.counters[name + kFloorSuffix] = floorMBps * 1e6;
}

/// Seconds per call of f, over repeat calls.
template <typename F>
double SecondsPer(F&& f, int repeat)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i)
        f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeat;
}

/// CPU seconds of this thread per call of f, over repeat calls: for work that only computes,
/// so that other programs on a shared machine do not count.
template <typename F>
double CpuSecondsPer(F&& f, int repeat)
{
    const auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    };
    const double start = now();
    for (int i = 0; i < repeat; ++i)
        f();
    return (now() - start) / repeat;
}

/// Runs the registered benchmarks offscreen, then printRatios.
template <typename F>
int Main(int argc, char** argv, F&& printRatios)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printRatios();
    return 0;
}

} // namespace md::bench
