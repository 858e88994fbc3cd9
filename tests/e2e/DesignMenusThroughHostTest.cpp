// The host's File and View menus over a traced design: title, Save As with the host's own file
// dialog, the recent-files list.
#include "DesignMenus.h"
#include "HostFixture.h"
#include "support/ModalDriver.h"

#include "md/IDesignUIPlugin.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QTest>

namespace md::host::test {
namespace {

using DesignMenusThroughHostTest = HostFixture;

TEST_F(DesignMenusThroughHostTest, SaveAsAsksForThePathAndTheTitleFollowsTheFile)
{
    ASSERT_NO_FATAL_FAILURE(RunDemo("P16-16x8-2S-serpentine.json"));
    DesignMenus* menus = m_window->Menus();
    menus->UpdateTitle();
    EXPECT_TRUE(m_window->windowTitle().startsWith("P16-outdoor-full-colour-16-x-8.MDR - "))
        << m_window->windowTitle().toStdString();

    // Save As always asks, with a dialog automation can drive.
    const QString copy = m_program.filePath("ModLib/copy.MDR");
    bool native = true;
    md::test::ModalDriver::Expect([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        dialog->selectFile(copy);
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(menus->SaveAs(), 0);
    EXPECT_FALSE(native);
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_TRUE(m_window->windowTitle().startsWith("copy.MDR - "));
    ASSERT_FALSE(menus->RecentFiles().isEmpty());
    EXPECT_EQ(menus->RecentFiles().front(), QFileInfo(copy).absoluteFilePath());

    // Cancelling the dialog sends nothing.
    md::test::ModalDriver::Expect([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(menus->SaveAs(), -1);

    // The View menu switches the panel's views; Ctrl+1 is the socket view.
    auto* socketView = m_window->findChild<QAction*>("View2");
    ASSERT_NE(socketView, nullptr);
    EXPECT_EQ(socketView->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
    socketView->trigger();
    EXPECT_NE(m_window->Panel()->QueryView(0), 0u);

    // A saved, unchanged design closes without a question.
    m_window->close();
}

} // namespace
} // namespace md::host::test
