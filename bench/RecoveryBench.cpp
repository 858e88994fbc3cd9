// The recovery record of unsaved work: how long a write holds the UI thread on the largest
// module (255 x 255, traced point by point), against saving the same design, and how long a
// restart takes to bring back a half-traced advanced layout of a 64 x 32 module.
#include "BenchSupport.h"
#include "core/document/DesignFile.h"
#include "core/document/DesignRecovery.h"
#include "core/document/LayoutStepPresenter.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/layout/LayoutCommands.h"
#include "core/layout/PointTracer.h"
#include "core/platform/FileChooser.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/posix/SystemClock.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sys/mman.h>

namespace md {
namespace {

/// No one answers: texts are their keys' fallbacks, questions get their first answer.
struct QuietPorts final : Texts, Prompter, FileChooser
{
    std::u16string Text(std::string_view) const override { return {}; }
    PromptAnswer Ask(PromptButtons buttons, const std::u16string&, const std::u16string&) override
    {
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Yes;
    }
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest&) override { return {}; }
    std::optional<std::filesystem::path> ChooseSave(const FileRequest&) override { return {}; }
};

/// A design of W x H pixels, one data group, handed over and traced with advanced tracing,
/// one scan row of W points at a time.
class Session
{
public:
    Session(const std::filesystem::path& folder, std::uint16_t width, std::uint16_t height)
        : m_document(std::make_unique<ModuleDesignDocument>(ProgramFolder(folder)))
    {
        m_document->TakeRecord(Record(width, height));
        PointTracer& tracer = m_document->CreateLayout(m_quiet, m_quiet);
        m_document->LayoutReady();
        tracer.Create();
        m_recovery = std::make_unique<DesignRecovery>(*m_document, Files(), m_clock);
        LayoutCommands commands(tracer, m_quiet);
        commands.Execute(LayoutCommands::kEnableAdvanced);
        tracer.SetScanRowLength(width);
        commands.Execute(LayoutCommands::kStartStop);
    }
    ~Session()
    {
        // A run that is killed keeps its record: the measure may want it afterwards.
        m_recovery.reset();
    }

    DesignFilePorts Files() { return {m_codePage, m_codec, m_guids, m_clock, {1, 2, 3}}; }
    ModuleDesignDocument& Document() { return *m_document; }
    DesignRecovery& Recovery() { return *m_recovery; }
    QuietPorts& Quiet() { return m_quiet; }

    /// Traces the next point of the module.
    void TraceNext()
    {
        PointTracer& tracer = *m_document->Tracer();
        const std::uint32_t width = m_document->Layout().Width();
        const std::uint32_t next = tracer.TracedCount();
        tracer.Click(static_cast<int>(next % width), static_cast<int>(next / width));
    }

    static ModuleRecord Record(std::uint16_t width, std::uint16_t height)
    {
        ModuleRecord r{};
        r.kind = ModuleRecord::kKind;
        r.scanRows = height;
        r.width = width;
        r.height = height;
        r.groupCount = 1;
        r.pointsPerGroup = static_cast<std::uint16_t>(std::uint32_t{width} * height);
        r.pointsPerRow = width;
        r.lineCount = r.lineColourCount = 1;
        for (auto& row : r.connector)
            std::fill(std::begin(row), std::end(row), -1);
        r.connector[0][0] = 0;
        r.connectorRows = r.connectorColumns = 1;
        return r;
    }

private:
    QuietPorts m_quiet;
    CodePage m_codePage;
    PictureHeaderCodec m_codec;
    RandomGuids m_guids;
    SystemClock m_clock;
    std::unique_ptr<ModuleDesignDocument> m_document;
    std::unique_ptr<DesignRecovery> m_recovery;
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// The largest module, a few hundred points traced and the record written once: from then on
/// each traced point is followed by a write, as a completed scan row or the interval asks.
struct LargeSession
{
    QTemporaryDir folder;
    Session session{folder.path().toStdString(), 255, 255};
    LargeSession()
    {
        for (int i = 0; i < 300; ++i)
            session.TraceNext();
        session.Recovery().Write();
    }
};

LargeSession& Large()
{
    static LargeSession large;
    return large;
}

void BM_RecoveryWriteAfterAPoint(benchmark::State& state)
{
    Session& session = Large().session;
    for (auto _ : state) {
        session.TraceNext();
        const auto start = std::chrono::steady_clock::now();
        if (!session.Recovery().Write()) {
            state.SkipWithError("the record was not written");
            break;
        }
        state.SetIterationTime(Seconds(start));
    }
    // A write reaches the disk: it cannot take less than a microsecond.
    bench::TimePerItem(state, "time_per_write", 1, 1000);
}
BENCHMARK(BM_RecoveryWriteAfterAPoint)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RecoveryWriteAfterAnEdit(benchmark::State& state)
{
    Session& session = Large().session;
    BackgroundDesign& background = session.Document().Background();
    for (auto _ : state) {
        // An edit outside the tracing: every file of the record is written anew.
        background.SetPoints({background.Point1().x + 1, 0}, background.Point2());
        const auto start = std::chrono::steady_clock::now();
        if (!session.Recovery().Write()) {
            state.SkipWithError("the record was not written");
            break;
        }
        state.SetIterationTime(Seconds(start));
    }
    // The driver file holds every one of the 65025 points.
    bench::TimePerItem(state, "time_per_point", 255.0 * 255.0, 1.0);
}
BENCHMARK(BM_RecoveryWriteAfterAnEdit)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SaveTheSameDesign(benchmark::State& state)
{
    Session& session = Large().session;
    const auto path = std::filesystem::path(Large().folder.path().toStdString()) / "saved.MDR";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        DesignParts parts = DesignFile::PartsOf(session.Document());
        if (!DesignPartsFile::Write(path, parts, session.Files())) {
            state.SkipWithError("the design was not written");
            break;
        }
        state.SetIterationTime(Seconds(start));
    }
    // Every one of the 65025 points is written.
    bench::TimePerItem(state, "time_per_point", 255.0 * 255.0, 1.0);
}
BENCHMARK(BM_SaveTheSameDesign)->UseManualTime()->Unit(benchmark::kMillisecond);

/// A 64 x 32 module with half its points traced in advanced tracing, killed: its record.
struct HalfTraced
{
    QTemporaryDir folder;
    std::filesystem::path root = folder.path().toStdString();
    std::filesystem::path kept = root / "kept";
    std::size_t steps = 0;
    HalfTraced()
    {
        {
            Session session(root, 64, 32);
            for (int i = 0; i < 64 * 32 / 2; ++i)
                session.TraceNext();
            session.Recovery().Write();
            steps = session.Recovery().Steps().size();
            std::filesystem::copy(DesignRecovery::FolderOf(ProgramFolder(root)), kept);
        }
    }
    /// Seconds from the start of a fresh document to the restored layout; nothing when the
    /// record does not restore.
    std::optional<double> Restore()
    {
        const auto folder = DesignRecovery::FolderOf(ProgramFolder(root));
        std::filesystem::remove_all(folder);
        std::filesystem::copy(kept, folder);
        QuietPorts quiet;
        CodePage codePage;
        PictureHeaderCodec codec;
        RandomGuids guids;
        SystemClock clock;
        const auto start = std::chrono::steady_clock::now();
        const auto found = DesignRecovery::Find(ProgramFolder(root));
        if (!found)
            return std::nullopt;
        ModuleDesignDocument document{ProgramFolder(root)};
        LayoutStepPresenter step(
            document,
            LayoutStepPorts{quiet, quiet, quiet,
                            DesignFilePorts{codePage, codec, guids, clock, {1, 2, 3}}, [] {}});
        if (step.Open(found->driverFile) != LayoutStepPresenter::kOpened ||
            !DesignRecovery::Restore(document, *found) ||
            document.Tracer()->TracedCount() != 64 * 32 / 2)
            return std::nullopt;
        return Seconds(start);
    }
};

HalfTraced& Half()
{
    static HalfTraced half;
    return half;
}

void BM_RestartToRestoredAdvancedLayout(benchmark::State& state)
{
    for (auto _ : state) {
        const auto seconds = Half().Restore();
        if (!seconds) {
            state.SkipWithError("the record did not restore the half-traced layout");
            break;
        }
        state.SetIterationTime(*seconds);
    }
    // Every step is traced again: at least 10 ns each.
    bench::TimePerItem(state, "time_per_step", double(Half().steps), 10.0);
}
BENCHMARK(BM_RestartToRestoredAdvancedLayout)->UseManualTime()->Unit(benchmark::kMillisecond);

/// Seconds from starting the reference host on a program folder that holds the record of a
/// half-traced 64 x 32 advanced layout to the restored design in its windows (the demo answers
/// Yes and reports the restored grid); nothing when the host does not get there.
std::optional<double> HostRestartToRestoredDesign(int run)
{
    namespace fs = std::filesystem;
    QTemporaryDir area;
    const fs::path root = fs::path(area.path().toStdString()) / "program";
    const fs::path source(MD_PROGRAM_DIR);
    fs::create_directories(root);
    for (const auto& entry : fs::directory_iterator(source))
        if (entry.is_directory() && entry.path().filename() != "temp")
            fs::copy(entry.path(), root / entry.path().filename(), fs::copy_options::recursive);
    fs::copy(source / "runinfo.ini", root / "runinfo.ini");
    {
        Session session(root, 64, 32);
        for (int i = 0; i < 64 * 32 / 2; ++i)
            session.TraceNext();
        session.Recovery().Write();
        fs::copy(DesignRecovery::FolderOf(ProgramFolder(root)), root / "kept");
    }
    fs::rename(root / "kept", DesignRecovery::FolderOf(ProgramFolder(root)));

    const QString folder = QString::fromStdString(root.string());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", area.path() + "/config");
    environment.insert("MD_PROGRAM_FOLDER", folder);
    const QString name =
        QStringLiteral("/md-bench-restart-%1-%2").arg(QCoreApplication::applicationPid()).arg(run);
    environment.insert("MD_COMMAND_AREA", name);
    QProcess host;
    host.setProcessEnvironment(environment);
    const auto start = std::chrono::steady_clock::now();
    host.start(
        QString::fromStdString((source / "module-design-host").string()),
        {"--demo", folder + "/VirtualModules/P4-64x32-16S.json", "--demo-resume", "--pace", "1"});
    std::optional<double> seconds;
    while (!seconds && host.waitForReadyRead(30000))
        while (host.canReadLine())
            if (host.readLine().startsWith("demo: Clicking the pixels the restored design"))
                seconds = Seconds(start);
    host.kill();
    host.waitForFinished(10000);
    shm_unlink(name.toLatin1().constData());
    return seconds;
}

void PrintRatios()
{
    // The longest pause a write causes, over as many writes as a long tracing session has
    // scan rows, against a save of the same design measured in between.
    Session& session = Large().session;
    const auto path = std::filesystem::path(Large().folder.path().toStdString()) / "saved.MDR";
    double longest = 0;
    double total = 0;
    double saves = 0;
    const int rounds = 40;
    for (int i = 0; i < rounds; ++i) {
        session.TraceNext();
        auto start = std::chrono::steady_clock::now();
        session.Recovery().Write();
        const double write = Seconds(start);
        longest = std::max(longest, write);
        total += write;
        start = std::chrono::steady_clock::now();
        DesignParts parts = DesignFile::PartsOf(session.Document());
        (void)DesignPartsFile::Write(path, parts, session.Files());
        saves += Seconds(start);
    }
    std::printf("recovery write after a traced point on 255x255: mean %.2f ms, longest %.2f ms "
                "(goal 50 ms); save %.2f ms; write / save %.3f\n",
                total / rounds * 1e3, longest * 1e3, saves / rounds * 1e3, total / saves);
    // After an edit outside the tracing, every file is written again.
    BackgroundDesign& background = session.Document().Background();
    longest = total = 0;
    const int edits = 10;
    for (int i = 0; i < edits; ++i) {
        background.SetPoints({background.Point1().x + 1, 0}, background.Point2());
        const auto start = std::chrono::steady_clock::now();
        session.Recovery().Write();
        const double write = Seconds(start);
        longest = std::max(longest, write);
        total += write;
    }
    std::printf("recovery write after another edit on 255x255: mean %.2f ms, longest %.2f ms, "
                "%.3f of a save\n",
                total / edits * 1e3, longest * 1e3, total / edits / (saves / rounds));
    std::uintmax_t bytes = 0;
    const auto folder = DesignRecovery::FolderOf(session.Document().Folder());
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        bytes += entry.file_size();
    std::printf("recovery record of 255x255 with %zu steps: %ju bytes\n",
                session.Recovery().Steps().size(), bytes);
    double restore = 0;
    const int restores = 5;
    for (int i = 0; i < restores; ++i)
        restore += Half().Restore().value_or(0);
    std::printf("restart to a restored half-traced advanced 64x32 layout (%zu steps): %.2f ms\n",
                Half().steps, restore / restores * 1e3);
    for (int run = 1; run <= 3; ++run)
        std::printf("host started to the restored 64x32 design in its windows, run %d: %.0f ms\n",
                    run, HostRestartToRestoredDesign(run).value_or(-1) * 1e3);
}

} // namespace
} // namespace md

int main(int argc, char** argv)
{
    return md::bench::Main(argc, argv, [] { md::PrintRatios(); });
}
