// Tracing by camera in real time: the reference host, in its own process, runs its demo on a
// 64 x 32 module through the layout step's camera dock with its virtual camera at 30 frames a
// second and 100 ms latency. Measured by the host from pressing Trace until the trace is done:
// positions traced per second in the advanced mode (against about one a second by hand), and
// the wall time of the module in mode 1 and in the advanced mode. By default mode 1 traces the
// whole module and the advanced mode its first 100 positions; MD_CAMERA_FULL=1 traces the whole
// module in the advanced mode too (minutes), MD_CAMERA_POSITIONS=N only the first N positions in
// each mode (the brief pass of scripts/check-bench-floors.sh).
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sys/mman.h>

namespace {

using namespace md;

/// 64 x 32, 1/16 scan, two data groups: 64 positions a scan row, 2048 in all.
constexpr const char* kModule = "P4-64x32-16S.json";
constexpr int kFirstRow = 64;
constexpr int kAllPositions = 2048;
/// The advanced positions timed by default: enough for a steady rate, a run of 20 s.
constexpr int kAdvancedSample = 100;
constexpr double kLatencySeconds = 0.1;
constexpr double kByHandPerSecond = 1.0;

bool Full()
{
    return qgetenv("MD_CAMERA_FULL") == "1";
}

/// The positions a brief run traces in each mode (MD_CAMERA_POSITIONS); 0 when unset.
int Brief()
{
    bool ok = false;
    const int positions = qEnvironmentVariableIntValue("MD_CAMERA_POSITIONS", &ok);
    return ok && positions > 0 ? positions : 0;
}

int AdvancedPositions()
{
    if (Full())
        return kAllPositions;
    return Brief() > 0 ? std::min(Brief(), kAllPositions) : kAdvancedSample;
}

int Mode1Positions()
{
    return Brief() > 0 ? std::min(Brief(), kFirstRow) : kFirstRow;
}

/// Pixels traced and the milliseconds the host measured, or nothing (why in error).
struct Trace
{
    int pixels = 0;
    double seconds = 0;
};

/// Runs the host's demo by camera on a copy of the program folder; stops it after `stopAfter`
/// pixels when above 0. The trace prints nothing until it ends: a second a position at most.
std::optional<Trace> RunHost(const QStringList& extra, int stopAfter, int positions,
                             std::string& error)
{
    namespace fs = std::filesystem;
    QTemporaryDir root;
    const fs::path source(MD_PROGRAM_DIR), to = fs::path(root.path().toStdString()) / "program";
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(source))
        if (entry.is_directory() && entry.path().filename() != "temp")
            fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
    fs::copy(source / "runinfo.ini", to / "runinfo.ini");
    const QString folder = QString::fromStdString(to.string());

    const QByteArray area =
        "/md-bench-camera-" + QByteArray::number(QCoreApplication::applicationPid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", folder + "/config");
    environment.insert("MD_PROGRAM_FOLDER", folder);
    environment.insert("MD_COMMAND_AREA", QString::fromLatin1(area));
    QStringList arguments{
        "--demo",   QDir(folder).filePath(QStringLiteral("VirtualModules/") + kModule),
        "--camera", "--camera-latency",
        "100",      "--pace",
        "1"};
    if (stopAfter > 0)
        arguments << "--demo-stop-after" << QString::number(stopAfter);
    QProcess host;
    host.setProcessEnvironment(environment);
    host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    host.start(QDir(MD_PROGRAM_DIR).filePath("module-design-host"), arguments + extra);
    std::optional<Trace> trace;
    QString output;
    const QRegularExpression timed(R"(demo: (\d+) pixels traced by camera in (\d+) ms)");
    QElapsedTimer quiet;
    quiet.start();
    bool ended = false;
    const qint64 quietMs = 60000 + qint64(positions) * 1000;
    while (!ended && quiet.elapsed() < quietMs && host.state() != QProcess::NotRunning) {
        if (!host.waitForReadyRead(200))
            continue;
        quiet.restart();
        while (host.canReadLine()) {
            const QString line = QString::fromUtf8(host.readLine()).trimmed();
            output += line + "\n";
            if (const auto match = timed.match(line); match.hasMatch())
                trace = Trace{match.captured(1).toInt(), match.captured(2).toDouble() / 1000.0};
            ended = line.startsWith("demo: Done") || line.startsWith("demo: Stopped") ||
                    line.startsWith("demo: failed");
            if (ended)
                break;
        }
    }
    host.kill();
    host.waitForFinished(10000);
    shm_unlink(area.constData());
    if (!trace || !ended || output.contains("demo: failed"))
        error =
            "the host's demo by camera did not end with a timed trace:\n" + output.toStdString();
    return error.empty() ? trace : std::nullopt;
}

std::map<std::string, Trace>& Measured()
{
    static std::map<std::string, Trace> measured;
    return measured;
}

/// One trace per run: the host's own measure is the iteration's time.
void TraceOnce(benchmark::State& state, const std::string& name, const QStringList& extra,
               int stopAfter, int positions)
{
    std::optional<Trace> trace;
    for (auto _ : state) {
        std::string error;
        trace = RunHost(extra, stopAfter, positions, error);
        if (!trace) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(trace->seconds);
    }
    Measured()[name] = *trace;
    // A position counts only on frames one latency after it was lit: none goes faster.
    state.counters["seconds_per_position"] = trace->seconds / positions;
    state.counters["seconds_per_position_floor"] = kLatencySeconds;
    state.counters["positions_per_second"] = positions / trace->seconds;
    state.counters["pixels"] = trace->pixels;
}

void BM_AdvancedPositions(benchmark::State& state)
{
    const int positions = AdvancedPositions();
    TraceOnce(state, "advanced", {"--demo-advanced"}, Full() ? 0 : positions, positions);
}
BENCHMARK(BM_AdvancedPositions)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_Mode1Module(benchmark::State& state)
{
    // Mode 1 traces the first scan row of the first data group and deduces the rest.
    const int positions = Mode1Positions();
    TraceOnce(state, "mode1", {}, positions < kFirstRow ? positions : 0, positions);
}
BENCHMARK(BM_Mode1Module)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void PrintRatios()
{
    const auto& measured = Measured();
    if (const auto advanced = measured.find("advanced"); advanced != measured.end()) {
        const double rate = AdvancedPositions() / advanced->second.seconds;
        std::printf("advanced mode by camera: %d positions in %.1f s, %.2f positions a second, "
                    "%.1f times the %.0f a second by hand\n",
                    AdvancedPositions(), advanced->second.seconds, rate, rate / kByHandPerSecond,
                    kByHandPerSecond);
        if (!Full())
            std::printf("advanced mode, whole 64 x 32 module at that rate: %.0f s "
                        "(MD_CAMERA_FULL=1 measures it)\n",
                        kAllPositions / rate);
    }
    if (const auto mode1 = measured.find("mode1"); mode1 != measured.end())
        std::printf("mode 1 by camera, %s: %.1f s (%d pixels traced)\n",
                    Mode1Positions() < kFirstRow ? "first positions only" : "whole 64 x 32 module",
                    mode1->second.seconds, mode1->second.pixels);
}

} // namespace

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] { PrintRatios(); });
}
