// The design panel's real windows offscreen: Ctrl+Z undoes and Ctrl+Y and Ctrl+Shift+Z redo the
// last edit in whichever view is in front, and at start the panel offers back a design a run
// left unsaved (Yes restores it unsaved under its own path, No deletes the record).
#include "core/document/DesignFingerprint.h"
#include "core/document/DesignRecovery.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointTracer.h"
#include "gui/design/CBackgroundDesignDlg.h"
#include "gui/design/SocketDesignDlg.h"
#include "gui/layout/CLedLayoutCtrl.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/wizard/ModuleLayoutDlg.h"
#include "support/ModalDriver.h"

#include "support/HandedOverRecord.h"
#include <QAbstractButton>
#include <QAction>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace md {
namespace {

ModuleRecord Record()
{
    return md::test::HandedOverRecord(16, 8, 4, 2);
}

class UndoShortcutsAndRestoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::copy(fs::path(MD_PROGRAM_DIR) / "Modules", Root() / "Modules",
                 fs::copy_options::recursive);
        // The record is written at the panel's first look once the design is unsaved.
        qputenv("MD_RECOVERY_INTERVAL_MS", "1");
    }
    void TearDown() override
    {
        m_panel.reset();
        m_document.reset();
        qunsetenv("MD_RECOVERY_INTERVAL_MS");
    }

    std::filesystem::path Root() const { return m_folder.path().toStdString(); }
    std::uint64_t Print() const { return DesignFingerprint::Of(*m_document); }

    /// A fresh document and panel over the program folder, shown and active.
    void Open()
    {
        m_panel.reset();
        m_document = std::make_unique<ModuleDesignDocument>(ProgramFolder(Root()));
        m_panel = std::make_unique<ModuleDesignPanelDlg>(*m_document);
        m_panel->resize(700, 400);
        m_panel->show();
    }
    /// The panel's window takes the keyboard (shortcuts need an active window).
    void Activate()
    {
        m_panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_panel.get()));
    }
    /// Hand-over and New layout: the layout view in front with its grid.
    void NewDesign()
    {
        const ModuleRecord record = Record();
        ASSERT_EQ(m_panel->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
        m_panel->LayoutDlg()
            ->findChild<QAction*>(QString::number(ModuleLayoutDlg::kNewLayout))
            ->trigger();
        ASSERT_NE(m_panel->LayoutDlg()->Grid(), nullptr);
        m_panel->OnNotify(3, 0, 0);
    }
    /// A marker drag, one edit from the press to the release.
    void MoveMarker(int by)
    {
        BackgroundDesign& background = m_document->Background();
        m_document->Edits().MarkersPressed();
        for (int step = 1; step <= by; ++step)
            background.SetPoints({background.Point1().x + 1, background.Point1().y},
                                 background.Point2());
        m_document->Edits().MarkersReleased();
    }
    QTableView* Grid() const { return m_panel->LayoutDlg()->Grid()->Grid(); }
    void ClickCell(int x, int y)
    {
        QTableView* grid = Grid();
        const QModelIndex index = grid->model()->index(y, x);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    }
    /// Presses the left button on the first cell, moves over the others and lets go on the
    /// last.
    void DragOver(const std::vector<QPoint>& cells)
    {
        QTableView* grid = Grid();
        QWidget* viewport = grid->viewport();
        const auto send = [&](QEvent::Type type, QPoint cell, Qt::MouseButtons held) {
            const QPointF at = grid->visualRect(grid->model()->index(cell.y(), cell.x())).center();
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        };
        send(QEvent::MouseButtonPress, cells.front(), Qt::LeftButton);
        for (const QPoint& cell : cells)
            send(QEvent::MouseMove, cell, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, cells.back(), Qt::NoButton);
    }

    /// In the view in front (its widget has the focus): Ctrl+Z gives back `before`, Ctrl+Y
    /// and Ctrl+Shift+Z give back `after`.
    void CheckShortcuts(QWidget* focus, std::uint64_t before, std::uint64_t after, const char* view)
    {
        SCOPED_TRACE(view);
        ASSERT_NE(before, after) << "the edit changed the design";
        focus->setFocus();
        QApplication::processEvents();
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Print(), before) << "Ctrl+Z";
        QTest::keyClick(focus, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(Print(), after) << "Ctrl+Y";
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Print(), before) << "Ctrl+Z again";
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Print(), after) << "Ctrl+Shift+Z";
    }

    QTemporaryDir m_folder;
    std::unique_ptr<ModuleDesignDocument> m_document;
    std::unique_ptr<ModuleDesignPanelDlg> m_panel;
};

TEST_F(UndoShortcutsAndRestoreTest, ShortcutsUndoAndRedoTheLastEditInTheViewInFront)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NO_FATAL_FAILURE(Activate());
    ASSERT_NO_FATAL_FAILURE(NewDesign());

    // The layout view: a point traced with the mouse, then a drag in the erase marks mode over
    // three more, which unmarks and traces each: one edit from the press to the release.
    ClickCell(0, 0);
    ASSERT_EQ(m_document->Tracer()->History().size(), 1u);
    std::uint64_t before = Print();
    m_document->Tracer()->SetEditMode(3);
    DragOver({{1, 0}, {2, 0}, {3, 0}});
    m_document->Tracer()->SetEditMode(0);
    ASSERT_EQ(m_document->Tracer()->History().size(), 4u);
    ASSERT_EQ(m_document->Layout().MarkedCount(), 16u * 8u - 3u);
    CheckShortcuts(Grid(), before, Print(), "layout");
    EXPECT_EQ(m_document->Tracer()->History().size(), 4u);

    // The socket view in front: the shortcuts reach the same history (a marker moved).
    m_panel->OnNotify(2, 0, 0);
    SocketDesignDlg* socket = m_panel->SocketWindow();
    ASSERT_TRUE(socket->isVisible());
    before = Print();
    MoveMarker(7);
    CheckShortcuts(socket, before, Print(), "socket");

    // The background view: a marker drag is one edit.
    m_panel->OnNotify(4, 0, 0);
    CBackgroundDesignDlg* background = m_panel->BackgroundWindow();
    ASSERT_TRUE(background && background->isVisible());
    before = Print();
    MoveMarker(3);
    CheckShortcuts(background->viewport(), before, Print(), "background");
}

TEST_F(UndoShortcutsAndRestoreTest, YesRestoresTheDesignUnsavedUnderItsPathAndNoDeletesTheRecord)
{
    const auto original = Root() / "ModLib" / "mine.MDR";
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NO_FATAL_FAILURE(NewDesign());
    m_document->SetFilePath(original);
    for (int x = 0; x < 5; ++x)
        ClickCell(x, 0);
    const auto history = m_document->Tracer()->History();
    const std::uint64_t print = Print();
    const ProgramFolder folder(Root());
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return DesignRecovery::Find(folder).has_value() &&
               DesignRecovery::Find(folder)->steps.size() == 5;
    }));
    // What a killed run leaves: the record, which a clean close would remove.
    const auto kept = Root() / "kept";
    std::filesystem::copy(DesignRecovery::FolderOf(folder), kept);
    m_panel.reset();
    ASSERT_FALSE(DesignRecovery::Find(folder).has_value());
    std::filesystem::rename(kept, DesignRecovery::FolderOf(folder));
    std::filesystem::copy(DesignRecovery::FolderOf(folder), kept);

    QString asked;
    test::ModalDriver::Expect([&asked](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        asked = box->text();
        box->button(QMessageBox::Yes)->click();
    });
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_panel->IsDesignOpen(); }));
    EXPECT_TRUE(asked.contains("mine.MDR")) << asked.toStdString();
    ASSERT_NE(m_document->Tracer(), nullptr);
    EXPECT_EQ(m_document->Tracer()->History(), history);
    EXPECT_EQ(Print(), print);
    EXPECT_EQ(m_document->FilePath(), original);
    EXPECT_EQ(m_panel->HasUnsavedChanges(), 1);
    // The restored tracing goes on where it stood.
    ClickCell(5, 0);
    EXPECT_EQ(m_document->Tracer()->History().size(), 6u);

    // No: the record goes and nothing is opened.
    m_panel.reset();
    std::filesystem::remove_all(DesignRecovery::FolderOf(folder));
    std::filesystem::rename(kept, DesignRecovery::FolderOf(folder));
    test::ModalDriver::Expect([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::No)->click();
    });
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !DesignRecovery::Find(folder).has_value(); }));
    EXPECT_FALSE(std::filesystem::exists(DesignRecovery::FolderOf(folder)));
    EXPECT_FALSE(m_panel->IsDesignOpen());
}

TEST_F(UndoShortcutsAndRestoreTest, YesBringsPointGoBackSelectedWithTheLedsItRecorded)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    CellLed led;
    led.widthPx = led.heightPx = 40;
    for (int slot = 1; slot <= 4; ++slot)
        m_document->Cell().Slot(slot) = {led};
    ASSERT_NO_FATAL_FAILURE(NewDesign());
    // Point-go half way through its first line: three LEDs recorded, then an unused output.
    LayoutModel& layout = m_document->Layout();
    PointGoResult& result = m_document->PointGoLayout();
    result.Build(layout, {32, 32}, 2);
    for (int x = 0; x < 3; ++x)
        ASSERT_TRUE(result.Record(layout, layout.IndexOf(x, 0), 0));
    ASSERT_TRUE(result.Skip());
    m_document->Tracer()->SetPointGoSelected(true);
    m_document->Touch();
    const ProgramFolder folder(Root());
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return DesignRecovery::Find(folder).has_value() &&
               !DesignRecovery::Find(folder)->pointGo.empty();
    }));
    const auto kept = Root() / "kept";
    std::filesystem::copy(DesignRecovery::FolderOf(folder), kept);
    m_panel.reset();
    std::filesystem::rename(kept, DesignRecovery::FolderOf(folder));

    test::ModalDriver::Press("Yes");
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_panel->IsDesignOpen(); }));
    ASSERT_NE(m_panel->LayoutDlg()->PointGoRun(), nullptr);
    EXPECT_TRUE(m_panel->LayoutDlg()->PointGoRun()->Selected());
    EXPECT_EQ(m_document->PointGoLayout().Cursor(), 4u);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(m_document->Layout().Points()[m_document->Layout().IndexOf(x, 0)].LedVisible(0),
                  x == 3)
            << x;
}

} // namespace
} // namespace md
