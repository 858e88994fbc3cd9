// The smart-setting wizard as a user runs it in the reference host: settings, Next, the step
// dialogs, with the controller monitor watching the command area.
#include "ControllerMonitor.h"
#include "HostFixture.h"
#include "support/ModalDriver.h"

#include <QDialog>
#include <QPushButton>

namespace md::host::test {
namespace {

using WizardThroughHostTest = HostFixture;

TEST_F(WizardThroughHostTest, NextWalksTheStepsAndAFailedHandOverClearsTheFlag)
{
    SettingsWindow* settings = ShowSettings();
    ASSERT_NE(settings, nullptr);
    auto* next = Find<QPushButton>(settings, "NextButton");
    ASSERT_NE(next, nullptr);

    // Answer every step with its default button; note each step and the flag while it is up.
    QStringList titles;
    std::vector<int> flags;
    std::function<void(QWidget*)> answer = [&](QWidget* modal) {
        titles << modal->windowTitle();
        m_window->Monitor()->Poll();
        flags.push_back(m_area->Bytes()[0]);
        if (titles.size() < 8)
            md::test::ModalDriver::Expect(answer, 2000);
        for (QPushButton* button : modal->findChildren<QPushButton*>())
            if (button->isDefault() || button->text() == "OK") {
                button->click();
                return;
            }
        modal->close();
    };
    md::test::ModalDriver::Expect(answer, 2000);
    next->click();
    m_window->Monitor()->Poll();

    // The steps ran with the wizard flag set; the design panel refused the hand-over, so the
    // wizard gave up and cleared the flag.
    ASSERT_GE(titles.size(), 2);
    EXPECT_EQ(flags.front(), 1);
    EXPECT_EQ(m_area->Bytes()[0], 0);
    EXPECT_EQ(m_area->Bytes()[4], 100); // the end mark
    EXPECT_EQ(m_area->Bytes()[24] & 0xF0, 0xA0);
    EXPECT_GE(m_window->Monitor()->HistorySize(), 3);
}

} // namespace
} // namespace md::host::test
