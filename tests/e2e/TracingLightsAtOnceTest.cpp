// A design opened or restored in a freshly started reference host lights the module as soon as
// tracing runs, whatever window the user looked at first: the layout step maps the command area
// itself, not only the module parameter page.
#include "DemoRunner.h"
#include "HostFixture.h"
#include "support/ModalDriver.h"

#include "core/document/DesignRecovery.h"
#include "core/io/ProgramFolder.h"
#include "md/IDesignUIPlugin.h"

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QTest>

#include <filesystem>

namespace md::host::test {
namespace {

constexpr const char* kModule = "P16-16x8-2S-serpentine.json";
constexpr int kNewLayout = 0x1000E;

class TracingLightsAtOnceTest : public HostFixture
{
protected:
    VirtualModule Module()
    {
        const auto description =
            VirtualModule::Load(m_program.filePath("VirtualModules/") + kModule);
        EXPECT_TRUE(description.has_value());
        return VirtualModule(description.value_or(VirtualModule::Description{}));
    }

    /// What the module shows for the command pair in the area now.
    VirtualModule::Frame Showing(const VirtualModule& module) const
    {
        const auto word = [this](int offset) {
            std::uint32_t value = 0;
            for (int i = 0; i < 4; ++i)
                value = (value << 8) | m_area->Bytes()[offset + i];
            return value;
        };
        return module.Show(word(24), word(28));
    }

    /// Whether the module lights the pixel within a few blinks of the tracing.
    bool Lights(const VirtualModule& module, QPoint pixel)
    {
        return QTest::qWaitFor(
            [&] {
                const VirtualModule::Frame frame = Showing(module);
                return frame.caption.startsWith("Group") &&
                       frame.pixels.value(pixel.y() * frame.width + pixel.x()) != QColor(Qt::black);
            },
            3000);
    }

    static void PressYes()
    {
        md::test::ModalDriver::Expect([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            ASSERT_NE(box->button(QMessageBox::Yes), nullptr);
            box->button(QMessageBox::Yes)->click();
        });
    }
};

TEST_F(TracingLightsAtOnceTest, AnOpenedDesignTracedAnewLightsTheFirstPosition)
{
    QString saved;
    ASSERT_NO_FATAL_FAILURE(RunDemo(kModule, &saved));
    ASSERT_NO_FATAL_FAILURE(Restart());
    const VirtualModule module = Module();

    IDesignUIPlugin* panel = m_window->Panel();
    ASSERT_EQ(panel->OpenDesign(saved.toStdU16String().c_str()), 0);
    panel->OnNotify(3, 0, 0);
    // New layout over the opened one, after its question.
    PressYes();
    auto* button =
        m_window->ToolbarArea()->findChild<QAbstractButton*>(QString::number(kNewLayout));
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_TRUE(Lights(module, module.Module().chains[0][0][0]))
        << "nothing lit: " << Showing(module).caption.toStdString();
}

TEST_F(TracingLightsAtOnceTest, ARestoredHalfTracedDesignLightsTheNextPosition)
{
    // Records are written 50 ms after a change, so the run's clicks are on disk when it stops.
    qputenv("MD_RECOVERY_INTERVAL_MS", "50");
    ASSERT_NO_FATAL_FAILURE(Restart());
    VirtualModule module = Module();
    m_window->UseVirtualModule(Module());
    DemoRunner runner(*m_window, *m_area, Module(), m_program.path());
    runner.StopAt(DemoRunner::Moment::FirstRow);
    runner.Start(1);
    QTRY_VERIFY_WITH_TIMEOUT(runner.CurrentStage() == DemoRunner::Stage::Stopped ||
                                 runner.CurrentStage() == DemoRunner::Stage::Failed,
                             30000);
    ASSERT_EQ(runner.CurrentStage(), DemoRunner::Stage::Stopped) << runner.Failure().toStdString();
    const int traced = runner.TracedPoints();
    const ProgramFolder folder(m_program.path().toStdString());
    const auto clicks = [&] {
        const auto found = DesignRecovery::Find(folder);
        return found ? std::count_if(found->steps.begin(), found->steps.end(),
                                     [](const std::string& s) { return s.starts_with("click"); })
                     : -1;
    };
    QTRY_COMPARE_WITH_TIMEOUT(clicks(), traced, 5000);

    // The process ends without closing the design: the record outlives it.
    namespace fs = std::filesystem;
    const fs::path record = DesignRecovery::FolderOf(folder);
    const fs::path kept = fs::path(m_config.path().toStdString()) / "kept-record";
    fs::copy(record, kept, fs::copy_options::recursive);
    qunsetenv("MD_RECOVERY_INTERVAL_MS");
    StopHost();
    fs::remove_all(record);
    fs::copy(kept, record, fs::copy_options::recursive);

    PressYes();
    ASSERT_NO_FATAL_FAILURE(StartHost());
    IDesignUIPlugin* panel = m_window->Panel();
    QTRY_VERIFY_WITH_TIMEOUT(panel->IsDesignOpen(), 5000);
    panel->OnNotify(3, 0, 0);
    EXPECT_TRUE(Lights(module, module.Module().chains[0][0][traced]))
        << "nothing lit: " << Showing(module).caption.toStdString();
}

} // namespace
} // namespace md::host::test
