// Hardware start of a traced design through the reference host: the plug-in finds the test
// device's port through the host's configuration service, sends the layout and shakes hands.
#include "HostFixture.h"
#include "support/ModalDriver.h"
#include "virtual/VirtualModuleView.h"
#include "virtual/VirtualTestDevice.h"

#include "md/IDesignUIPlugin.h"

#include <QAction>
#include <QMessageBox>
#include <QTest>

#include <mutex>

namespace md::host::test {
namespace {

using PointGoThroughHostTest = HostFixture;

TEST_F(PointGoThroughHostTest, HardwareStartReachesTheHostsTestDevice)
{
    VirtualTestDevice* device = m_window->TestDevice();
    ASSERT_NE(device, nullptr);
    std::mutex mutex;
    std::vector<std::string> frames;
    device->onLog = [&](const std::string& line) {
        std::lock_guard lock(mutex);
        frames.push_back(line);
    };

    ASSERT_NO_FATAL_FAILURE(RunDemo("P16-16x8-2S-serpentine.json"));

    QAction* start = m_window->findChild<QAction*>("65566");
    ASSERT_NE(start, nullptr) << "the layout step offers hardware start";
    // Any message box here is a failure; it is closed so the test ends and says what it was.
    QString shown;
    md::test::ModalDriver::Expect(
        [&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                shown = box->text();
            modal->close();
        },
        3000);
    start->trigger();
    EXPECT_TRUE(shown.isEmpty()) << shown.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !device->ReportedLengths().empty(); }, 5000));

    std::lock_guard lock(mutex);
    ASSERT_GE(frames.size(), 4U);
    // The reopened design's layout goes first, one answered frame per entry, then the handshake.
    std::size_t entries = 0;
    while (entries * 2 < frames.size() && frames[entries * 2].rfind("device <- AC", 0) == 0)
        ++entries;
    ASSERT_GT(entries, 0U);
    ASSERT_LT(entries * 2 + 1, frames.size());
    EXPECT_EQ(frames[entries * 2].rfind("device <- AA", 0), 0U) << frames[entries * 2];
    EXPECT_EQ(frames[entries * 2 + 1].rfind("device -> A0", 0), 0U);
    EXPECT_EQ(device->ReportedLengths().size(), entries);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return m_window->ModuleView()->Current().caption.startsWith(
                "Point-go: line 1, scan row 1");
        },
        2000))
        << m_window->ModuleView()->Current().caption.toStdString();
    m_window->close();
}

} // namespace
} // namespace md::host::test
