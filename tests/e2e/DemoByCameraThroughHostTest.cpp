// The reference host's demo traced by camera, in its own process, offscreen, with the virtual
// camera on simulated time, over every wiring the default environment ships: the camera dock
// calibrates and traces (mode 1, or the advanced mode where the module asks for it) and the saved
// driver file holds exactly the module's output order, outputs that drive nothing included.
#include "virtual/VirtualModule.h"

#include "core/driverfile/DriverFileContents.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/mman.h>
#include <vector>

namespace md::host::test {
namespace {

std::vector<std::string> ShippedWirings()
{
    std::vector<std::string> files;
    const QDir folder(QDir(MD_SOURCE_DATA_DIR).filePath("VirtualModules"));
    for (const QString& file : folder.entryList({"*.json"}, QDir::Files, QDir::Name))
        files.push_back(file.toStdString());
    return files;
}

class DemoByCameraFixture : public ::testing::Test
{
protected:
    void TearDown() override { shm_unlink(m_area.constData()); }

    /// A fresh copy of the built program folder.
    QString ProgramFolder()
    {
        namespace fs = std::filesystem;
        const fs::path source(MD_PROGRAM_DIR);
        const fs::path to = fs::path(m_root.path().toStdString()) / "program";
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(source))
            if (entry.is_directory() && entry.path().filename() != "temp")
                fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
        fs::copy(source / "runinfo.ini", to / "runinfo.ini");
        return QString::fromStdString(to.string());
    }

    /// Runs the demo by camera until it says it is done or failed, or goes quiet for a minute;
    /// everything it printed.
    QString RunDemo(const QString& folder, const QString& module, const QStringList& extra = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", folder + "/config");
        environment.insert("MD_PROGRAM_FOLDER", folder);
        m_area = "/md-e2e-camera-" + QByteArray::number(QCoreApplication::applicationPid());
        environment.insert("MD_COMMAND_AREA", QString::fromLatin1(m_area));
        QProcess host;
        host.setProcessEnvironment(environment);
        host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QStringList arguments{"--demo",   QDir(folder).filePath("VirtualModules/" + module),
                                    "--camera", "--camera-simulated",
                                    "--pace",   "1"};
        host.start(QDir(MD_PROGRAM_DIR).filePath("module-design-host"), arguments + extra);
        EXPECT_TRUE(host.waitForStarted(10000));
        QString output;
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < 60000 && host.state() != QProcess::NotRunning) {
            if (!host.waitForReadyRead(200))
                continue;
            quiet.restart();
            while (host.canReadLine()) {
                const QString line = QString::fromUtf8(host.readLine()).trimmed();
                output += line + "\n";
                if (line.startsWith("demo: Done") || line.startsWith("demo: failed")) {
                    host.kill();
                    host.waitForFinished(10000);
                    return output;
                }
            }
        }
        host.kill();
        host.waitForFinished(10000);
        return output;
    }

    QTemporaryDir m_root;
    QByteArray m_area;
};

class DemoByCameraThroughHostTest : public DemoByCameraFixture,
                                    public ::testing::WithParamInterface<std::string>
{};

TEST_F(DemoByCameraFixture, ACalibrationThatFindsNoModuleFailsTheDemoWithTheWindowsStatusText)
{
    // Seen from this far aside the module's lit area is no grid the finder accepts.
    const QString output =
        RunDemo(ProgramFolder(), "P4-64x32-16S.json", {"--camera-view", "60,60"});
    const qsizetype failed = output.indexOf("demo: failed: calibration failed: ");
    ASSERT_GE(failed, 0) << output.toStdString();
    EXPECT_TRUE(output.mid(failed).contains("module was not found")) << output.toStdString();
    EXPECT_FALSE(output.contains("traced by camera")) << output.toStdString();
    EXPECT_FALSE(output.contains("demo: Done")) << output.toStdString();
}

TEST_P(DemoByCameraThroughHostTest, SavedDriverFileHoldsTheWiringsOutputOrder)
{
    const QString module = QString::fromStdString(GetParam());
    const QString folder = ProgramFolder();
    QString error;
    const auto description =
        VirtualModule::Load(QDir(folder).filePath("VirtualModules/" + module), &error);
    ASSERT_TRUE(description) << error.toStdString();
    const VirtualModule::Description d = VirtualModule(*description).Module();

    const QString output = RunDemo(folder, module);
    // The pixels came from the camera dock, not from the module's own record of what it lights.
    const qsizetype byCamera = output.indexOf(" pixels traced by camera in ");
    ASSERT_GE(byCamera, 0) << output.toStdString();
    // Mode 1 traces the first scan row (the rest is deduced), the advanced mode every pixel.
    const auto& firstRow = d.chains[0][0];
    const int firstRowPixels =
        int(firstRow.size() - std::count(firstRow.begin(), firstRow.end(), QPoint(-1, -1)));
    const int pixels = output.left(byCamera).section("demo: ", -1).toInt();
    EXPECT_EQ(pixels, d.advancedTrace ? d.width * d.height : firstRowPixels)
        << output.toStdString();
    const qsizetype done = output.indexOf("demo: Done");
    ASSERT_GE(done, 0) << output.toStdString();
    const QString saved = output.mid(done).section('\n', 0, 0).section(" saved as ", 1).trimmed();

    const auto bytes = fileio::ReadAll(saved.toStdString());
    ASSERT_TRUE(bytes.has_value()) << saved.toStdString();
    DriverFileContents file;
    std::string parseError;
    ASSERT_TRUE(file.Parse(*bytes, CodePage(), parseError)) << parseError;
    ASSERT_TRUE(file.layout.layoutPresent);
    // One entry per data group and line colour, group by group; each scan row lists the pixel
    // of every output position in order, a virtual point where the output drives nothing.
    const int lines = 3;
    ASSERT_EQ(file.layout.result.size(), std::size_t(d.groups * lines));
    for (std::size_t entry = 0; entry < file.layout.result.size(); ++entry) {
        const auto& wiring = d.chains[int(entry) / lines];
        const auto& rows = file.layout.result[entry].rows;
        ASSERT_EQ(rows.size(), std::size_t(d.scanRows)) << "entry " << entry;
        for (int row = 0; row < d.scanRows; ++row) {
            const auto& points = rows[std::size_t(row)].points;
            ASSERT_EQ(points.size(), std::size_t(wiring[row].size()))
                << "entry " << entry << ", scan row " << row;
            for (std::size_t i = 0; i < points.size(); ++i) {
                const QPoint expected = wiring[row][int(i)];
                const bool drivesNothing = expected.x() < 0;
                ASSERT_EQ(points[i].kind == 4, drivesNothing)
                    << "entry " << entry << ", scan row " << row << ", position " << i + 1;
                if (!drivesNothing) {
                    ASSERT_EQ(QPoint(points[i].x, points[i].y), expected)
                        << "entry " << entry << ", scan row " << row << ", position " << i + 1;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedWirings, DemoByCameraThroughHostTest,
                         ::testing::ValuesIn(ShippedWirings()), [](const auto& info) {
                             QString name = QString::fromStdString(info.param).section('.', 0, 0);
                             return name.replace('-', '_').toStdString();
                         });

} // namespace
} // namespace md::host::test
