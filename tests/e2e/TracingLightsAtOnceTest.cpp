// A design opened in a freshly started reference host lights the module as soon as tracing
// runs, whatever window the user looked at first: the layout step maps the command area itself,
// not only the module parameter page. (A restored design is traced at once by the demo runs of
// RecoveryAfterKillTest, which wait for each lit pixel.)
#include "DemoRunner.h"
#include "HostFixture.h"
#include "support/ModalDriver.h"

#include "md/IDesignUIPlugin.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

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

} // namespace
} // namespace md::host::test
