// A module traced from the wizard to a saved driver file in the reference host, over every
// wiring the default environment ships: the saved file holds exactly the module's output order.
#include "DemoRunner.h"
#include "HostFixture.h"

#include "core/driverfile/DriverFileContents.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"
#include "md/IDesignUIPlugin.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTableView>
#include <QTest>

#include <cstdio>

namespace md::host::test {
namespace {

class ModuleTracedThroughHostTest : public HostFixture,
                                    public ::testing::WithParamInterface<const char*>
{};

TEST_P(ModuleTracedThroughHostTest, SavedDriverFileHoldsTheWiringsOutputOrder)
{
    QString error;
    const auto description =
        VirtualModule::Load(m_program.filePath(QString("VirtualModules/") + GetParam()), &error);
    ASSERT_TRUE(description.has_value()) << error.toStdString();
    m_window->UseVirtualModule(VirtualModule(*description));
    DemoRunner runner(*m_window, *m_area, VirtualModule(*description), m_program.path());
    QElapsedTimer clock;
    clock.start();
    runner.Start(1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return runner.CurrentStage() == DemoRunner::Stage::Done ||
                   runner.CurrentStage() == DemoRunner::Stage::Failed;
        },
        60000));
    ASSERT_EQ(runner.CurrentStage(), DemoRunner::Stage::Done) << runner.Failure().toStdString();
    std::printf("%s: %d points traced, %.2f ms per point for the whole cycle\n", GetParam(),
                runner.TracedPoints(), double(clock.elapsed()) / runner.TracedPoints());

    const auto bytes = fileio::ReadAll(runner.SavedFile().toStdString());
    ASSERT_TRUE(bytes.has_value());
    DriverFileContents saved;
    std::string parseError;
    ASSERT_TRUE(saved.Parse(*bytes, CodePage(), parseError)) << parseError;
    EXPECT_EQ(saved.moduleInfo.xPixels, description->width);
    EXPECT_EQ(saved.moduleInfo.yPixels, description->height);
    EXPECT_TRUE(saved.socket.IsValid());
    ASSERT_TRUE(saved.layout.layoutPresent);

    // The design opened again shows where the chain reaches each pixel (that it saves the same
    // layout again is checked on the panel's own messages).
    const auto chains = VirtualModule(*description).Module().chains;
    auto* grid = m_window->PanelArea()->findChild<QTableView*>("65488");
    ASSERT_NE(grid, nullptr);
    for (int i = 0; i < chains[0][0].size(); i += 7) {
        const QPoint pixel = chains[0][0][i];
        EXPECT_EQ(grid->model()->index(pixel.y(), pixel.x()).data().toInt(), i + 1);
    }

    // One entry per data group and line colour, group by group; each scan row lists the pixel
    // of every output position in order.
    const int lines = 3;
    ASSERT_EQ(saved.layout.result.size(), std::size_t(description->groups * lines));
    for (std::size_t entry = 0; entry < saved.layout.result.size(); ++entry) {
        const auto& wiring = chains[int(entry) / lines];
        const auto& rows = saved.layout.result[entry].rows;
        // The wizard's line colours came from what the module showed on each data line.
        ASSERT_FALSE(rows.empty() || rows[0].points.empty());
        EXPECT_EQ(rows[0].points[0].kind, description->lineColours[int(entry) % lines]);
        ASSERT_EQ(rows.size(), std::size_t(description->scanRows)) << "entry " << entry;
        for (int row = 0; row < description->scanRows; ++row) {
            const auto& points = rows[std::size_t(row)].points;
            ASSERT_EQ(points.size(), std::size_t(wiring[row].size()));
            for (std::size_t i = 0; i < points.size(); ++i) {
                const QPoint expected = wiring[row][int(i)];
                ASSERT_EQ(QPoint(points[i].x, points[i].y), expected)
                    << "entry " << entry << ", scan row " << row << ", position " << i + 1;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedWirings, ModuleTracedThroughHostTest,
                         ::testing::Values("P10-32x16-4S.json", "P10-outdoor-32x16-4S-zigzag.json",
                                           "P16-16x8-2S-serpentine.json", "P4-64x32-16S.json",
                                           "P5-64x32-8S-blocks.json",
                                           "P5-64x32-8S-interleaved.json"),
                         [](const auto& info) {
                             QString name = QString(info.param).section('.', 0, 0);
                             return name.replace('-', '_').toStdString();
                         });

} // namespace
} // namespace md::host::test
