// Closing the reference host over a design with unsaved work, through the real windows: the
// title marks the work, every answer that keeps the design keeps the window open.
#include "DesignMenus.h"
#include "HostFixture.h"
#include "support/ModalDriver.h"

#include "md/IDesignUIPlugin.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>

namespace md::host::test {
namespace {

using ClosingThroughHostTest = HostFixture;

/// Presses the message box's button of the given role and records its text; then expects the
/// next modal, if any.
void Answer(QMessageBox::StandardButton button, QString* text, std::function<void()> next = {})
{
    md::test::ModalDriver::Expect([button, text, next](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        *text = box->text();
        ASSERT_NE(box->button(button), nullptr);
        box->button(button)->click();
        if (next)
            next();
    });
}

TEST_F(ClosingThroughHostTest, UnsavedWorkKeepsTheWindowUntilTheUserLetsItGo)
{
    QString savedFile;
    ASSERT_NO_FATAL_FAILURE(RunDemo("P16-16x8-2S-serpentine.json", &savedFile));
    IDesignUIPlugin* panel = m_window->Panel();
    ASSERT_EQ(panel->HasUnsavedChanges(), 0);
    m_window->show();
    const QByteArray saved = [&] {
        QFile file(savedFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_FALSE(saved.isEmpty());

    // New layout on the layout step's toolbar, answered Yes, drops the traced layout: unsaved
    // work, and the title says so once the change has been looked at. (A QTRY_ macro would
    // return from the test unnoticed when it times out.)
    panel->OnNotify(3, 0, 0);
    const QString newLayout = QString::number(0x1000E);
    auto* button = m_window->ToolbarArea()->findChild<QAbstractButton*>(newLayout);
    auto* entry = m_window->ToolbarArea()->findChild<QAction*>(newLayout);
    ASSERT_TRUE(button || entry);
    QString question;
    md::test::ModalDriver::Press("Yes", &question);
    if (button && button->isVisible())
        button->click();
    else
        entry->trigger();
    EXPECT_FALSE(question.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->HasUnsavedChanges() == 1; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->windowTitle().contains(".MDR * - "); }))
        << m_window->windowTitle().toStdString();

    // Cancel keeps the window; the question is the save question with three answers.
    QString asked;
    Answer(QMessageBox::Cancel, &asked);
    EXPECT_FALSE(m_window->close());
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(asked.isEmpty());

    // Yes whose save fails (the file has become a folder) keeps it too, after saying why.
    QFile::remove(savedFile);
    ASSERT_TRUE(QDir().mkpath(savedFile + "/in-the-way"));
    QString failure;
    Answer(QMessageBox::Yes, &asked, [&failure] { md::test::ModalDriver::Press("OK", &failure); });
    EXPECT_FALSE(m_window->close());
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(failure.contains(savedFile)) << failure.toStdString();
    EXPECT_EQ(panel->HasUnsavedChanges(), 1);

    // No lets it go.
    Answer(QMessageBox::No, &asked);
    EXPECT_TRUE(m_window->close());
}

} // namespace
} // namespace md::host::test
