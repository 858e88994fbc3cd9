#pragma once

// What every benchmark program shares: a timer for the ratios printed after the Google
// Benchmark runs, and a main that runs them offscreen.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace md::bench {

/// Seconds per call of f, over repeat calls.
template <typename F>
double SecondsPer(F&& f, int repeat)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i)
        f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeat;
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
