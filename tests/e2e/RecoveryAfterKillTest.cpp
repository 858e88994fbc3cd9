// The reference host killed with SIGKILL in the middle of a design, in its own process: started
// again it offers the unsaved design back, and the design finished from there saves as the same
// file as a run that was never interrupted.
#include "core/document/DesignRecovery.h"
#include "core/driverfile/DriverFile.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/io/FileIo.h"
#include "core/io/ProgramFolder.h"
#include "core/posix/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/mman.h>

namespace {

constexpr const char* kModule = "P16-16x8-2S-serpentine.json";

class RecoveryAfterKillTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (const QByteArray& name : m_areas)
            shm_unlink(name.constData());
    }

    /// A fresh copy of the built program folder.
    QString ProgramFolder(const QString& name)
    {
        namespace fs = std::filesystem;
        const fs::path source(MD_PROGRAM_DIR);
        const fs::path to = fs::path(m_root.path().toStdString()) / name.toStdString();
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(source))
            if (entry.is_directory() && entry.path().filename() != "temp")
                fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
        fs::copy(source / "runinfo.ini", to / "runinfo.ini");
        return QString::fromStdString(to.string());
    }

    /// Starts the host on the demo in the program folder; the record is written at most 50 ms
    /// after a change, so a kill finds the state the run stopped in.
    void Start(QProcess& host, const QString& folder, QStringList arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", folder + "/config");
        environment.insert("MD_PROGRAM_FOLDER", folder);
        environment.insert("MD_RECOVERY_INTERVAL_MS", "50");
        m_areas.push_back("/md-e2e-kill-" + QByteArray::number(QCoreApplication::applicationPid()) +
                          "-" + QByteArray::number(m_areas.size()));
        environment.insert("MD_COMMAND_AREA", QString::fromLatin1(m_areas.back()));
        host.setProcessEnvironment(environment);
        host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        arguments.prepend(QDir(folder).filePath(QStringLiteral("VirtualModules/") + kModule));
        arguments.prepend("--demo");
        arguments << "--pace"
                  << "1";
        host.start(QDir(MD_PROGRAM_DIR).filePath("module-design-host"), arguments);
        ASSERT_TRUE(host.waitForStarted(10000));
    }

    /// Reads the demo's lines until one starts with "demo: " + what; that line, or empty when
    /// the host ended or went quiet for a minute first (everything it said is in output).
    static QString WaitFor(QProcess& host, const QString& what, QString& output)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000) {
            while (host.canReadLine()) {
                const QString line = QString::fromUtf8(host.readLine()).trimmed();
                output += line + "\n";
                if (line.startsWith("demo: " + what))
                    return line;
                if (line.startsWith("demo: failed"))
                    return {};
            }
            if (host.state() == QProcess::NotRunning)
                return {};
            host.waitForReadyRead(200);
        }
        return {};
    }

    static void Kill(QProcess& host)
    {
        ::kill(static_cast<pid_t>(host.processId()), SIGKILL);
        host.waitForFinished(10000);
    }

    /// Runs the demo to its end; the saved file without its identity block.
    QByteArray RunToTheEnd(QProcess& host, const QString& folder, const QStringList& arguments)
    {
        Start(host, folder, arguments);
        QString output;
        const QString done = WaitFor(host, "Done", output);
        Kill(host);
        EXPECT_FALSE(done.isEmpty()) << output.toStdString();
        const QString saved = done.section(" saved as ", 1).trimmed();
        QFile file(saved);
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "no saved file in: " << done.toStdString();
            return {};
        }
        QByteArray bytes = file.readAll();
        EXPECT_GT(bytes.size(), static_cast<qsizetype>(md::DriverFile::kIdentitySize));
        bytes.chop(md::DriverFile::kIdentitySize);
        return bytes;
    }

    /// Kills the host at the moment, starts it again, answers Yes and finishes: the saved file.
    QByteArray KilledAndResumed(const QString& moment, int clicks, const QStringList& extra)
    {
        const QString folder = ProgramFolder("killed-at-" + moment);
        QProcess host;
        Start(host, folder, QStringList{"--demo-stop-at", moment} + extra);
        QString output;
        const QString stopped = WaitFor(host, "Stopped", output);
        EXPECT_FALSE(stopped.isEmpty()) << output.toStdString();
        // The record holds the state the run stopped in once it lists every click so far.
        const md::ProgramFolder program(folder.toStdString());
        QElapsedTimer waited;
        waited.start();
        std::optional<md::DesignRecovery::Found> found;
        const auto clicksIn = [](const md::DesignRecovery::Found& record) {
            return std::count_if(record.steps.begin(), record.steps.end(),
                                 [](const std::string& line) { return line.starts_with("click"); });
        };
        // Before any click, the record holds the state once its driver file has the socket.
        const auto socketIn = [](const md::DesignRecovery::Found& record) {
            md::DriverFileContents contents;
            std::string error;
            const auto bytes = md::fileio::ReadAll(record.driverFile);
            return bytes && contents.Parse(*bytes, md::CodePage(), error) &&
                   contents.socket.IsValid();
        };
        while (waited.elapsed() < 10000 && (!(found = md::DesignRecovery::Find(program)) ||
                                            clicksIn(*found) != clicks || !socketIn(*found)))
            QThread::msleep(20);
        EXPECT_TRUE(found.has_value()) << "no record at " << moment.toStdString();
        if (found) {
            EXPECT_EQ(clicksIn(*found), clicks);
        }
        Kill(host);
        EXPECT_TRUE(md::DesignRecovery::Find(program).has_value()) << "the kill kept the record";

        QProcess again;
        return RunToTheEnd(again, folder, QStringList{"--demo-resume"} + extra);
    }

    QTemporaryDir m_root;
    std::vector<QByteArray> m_areas;
};

TEST_F(RecoveryAfterKillTest, AKilledSocketOrFirstRowRestoredAndFinishedSavesAsAnUninterruptedOne)
{
    QProcess whole;
    const QByteArray uninterrupted = RunToTheEnd(whole, ProgramFolder("whole"), {});
    ASSERT_FALSE(uninterrupted.isEmpty());
    EXPECT_EQ(KilledAndResumed("socket", 0, {}), uninterrupted)
        << "killed after the socket design, before New layout";
    EXPECT_EQ(KilledAndResumed("first-row", 32, {}), uninterrupted)
        << "killed half way through the first scan row";
}

TEST_F(RecoveryAfterKillTest, AKilledAdvancedTraceRestoredAndFinishedSavesAsAnUninterruptedOne)
{
    QProcess whole;
    const QByteArray uninterrupted =
        RunToTheEnd(whole, ProgramFolder("whole-advanced"), {"--demo-advanced"});
    ASSERT_FALSE(uninterrupted.isEmpty());
    EXPECT_EQ(KilledAndResumed("advanced", 64, {"--demo-advanced"}), uninterrupted);
}

} // namespace
