#include "core/design/CellDesignPresenter.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/support/FakePorts.h"
#include "gui/design/CCellDesignCtrl.h"
#include "gui/design/CellCanvas.h"
#include "gui/panel/ModuleDesignPanelDlg.h"
#include "gui/platform/QtPictureCodec.h"
#include "gui/platform/QtPrompter.h"
#include "gui/wizard/ModuleLayoutDlg.h"

#include "support/ModalDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace md {
namespace {

class NoChooser final : public FileChooser
{
public:
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest&) override { return {}; }
    std::optional<std::filesystem::path> ChooseSave(const FileRequest&) override { return {}; }
};

template <typename T>
T* Child(QWidget* dialog, int id)
{
    return dialog->findChild<T*>(QString::number(id));
}

void Mouse(QWidget* canvas, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

/// A program folder with two light pictures and a background drawn for the test.
class CellDesignDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString root = m_dir.path();
        QDir(root).mkpath(QStringLiteral("Lightlibrary"));
        QDir(root).mkpath(QStringLiteral("Modules/ModuleDesignUIPlugin"));
        Draw(root + "/Lightlibrary/R3528.png", Qt::red);
        Draw(root + "/Lightlibrary/G3528.png", Qt::green);
        Draw(root + "/Modules/ModuleDesignUIPlugin/moduledesign_bkground.bmp", Qt::darkGray);
        m_presenter = std::make_unique<CellDesignPresenter>(
            CellDesignPresenter::Ports{m_prompter, m_texts, m_codec, m_chooser,
                                       [] {
                                           return std::vector<HostLight>{
                                               {u"R3528.png", 35, 20, 0, 1},
                                               {u"G3528.png", 35, 20, 1, 1}};
                                       }},
            ProgramFolder(root.toStdString()));
    }
    static void Draw(const QString& path, Qt::GlobalColor colour)
    {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path));
    }

    QTemporaryDir m_dir;
    QtPrompter m_prompter;
    test::MapTexts m_texts;
    QtPictureCodec m_codec;
    NoChooser m_chooser;
    std::unique_ptr<CellDesignPresenter> m_presenter;
};

TEST_F(CellDesignDialog, AddSelectMoveConfirm)
{
    CCellDesignCtrl dialog(*m_presenter);
    QString refused;
    QString sizeLine;
    QString position;
    int ledsAfterArrow = -1;
    bool infoShown = false;
    test::ModalDriver::Expect([&](QWidget* modal) {
        ASSERT_EQ(modal, &dialog);
        auto* red = Child<QComboBox>(modal, 20011);
        auto* addRed = Child<QPushButton>(modal, 20034);
        ASSERT_TRUE(red && addRed && Child<QLineEdit>(modal, 20036));
        EXPECT_EQ(red->count(), 1);

        // Nothing chosen yet: a message box, answered here.
        test::ModalDriver::Press(QStringLiteral("OK"), &refused);
        addRed->click();

        red->setCurrentIndex(0);
        sizeLine = Child<QLabel>(modal, 20049)->text();
        addRed->click();
        auto* green = Child<QComboBox>(modal, 20014);
        green->setCurrentIndex(0);
        Child<QPushButton>(modal, 20042)->click();

        // The LEDs overlap at (0, 0): the press picks the red one, listed first.
        QWidget* canvas = dialog.Canvas();
        Mouse(canvas, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
        Mouse(canvas, QEvent::MouseMove, {60, 40}, Qt::LeftButton);
        Mouse(canvas, QEvent::MouseMove, {250, 40}, Qt::LeftButton); // clamped at the edge
        Mouse(canvas, QEvent::MouseButtonRelease, {250, 40}, Qt::NoButton);
        position = Child<QLabel>(modal, 20075)->text();

        // An arrow key acts while the cell size edit has the focus.
        auto* edit = Child<QLineEdit>(modal, 20036);
        modal->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Left);
        ledsAfterArrow = m_presenter->Model().Slot(1)[0].x;
        // F4 works as well, and the edit keeps its text.
        QTest::keyClick(edit, Qt::Key_F4);
        infoShown = m_presenter->Model().Slot(1)[1].showInfo == 1 && edit->text() == "10.0";

        Child<QPushButton>(modal, 1)->click();
    });
    EXPECT_EQ(dialog.Run(), QDialog::Accepted);

    EXPECT_EQ(refused, QStringLiteral("please choose a light."));
    EXPECT_EQ(sizeLine, QStringLiteral("灯大小信息: 3.5 * 2.0 (mm)"));
    EXPECT_EQ(position, QStringLiteral("(167 , 30)"));
    EXPECT_EQ(ledsAfterArrow, 166);
    EXPECT_TRUE(infoShown);
    const auto& cell = m_presenter->Model().Slot(1);
    ASSERT_EQ(cell.size(), 2u);
    EXPECT_EQ(cell[1].x, 0);
    EXPECT_EQ(cell[1].index, 1);
    EXPECT_EQ(m_presenter->Model().Images().size(), 2u);
    EXPECT_EQ(m_presenter->Model().PixelCount(), 2);

    // The canvas shows the red LED where it was moved, over the background.
    const QImage shown = dialog.Canvas()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(200, 50), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(100, 150), QColor(Qt::darkGray));
}

TEST(CellDesignPanel, CellRequestRunsTheLayoutsCellDesign)
{
    ModuleDesignDocument document(ProgramFolder(std::filesystem::temp_directory_path()));
    ModuleDesignPanelDlg panel(document);
    // First use opens the dialog; Exit leaves no cell.
    test::ModalDriver::Press(QStringLiteral("退出(E)"));
    EXPECT_EQ(panel.OnNotify(17, 0, 0), 0);
    ASSERT_NE(panel.LayoutDlg()->CellDesignCtrl(), nullptr);

    CellDesign& cell = panel.LayoutDlg()->Presenter().CellDesign().Model();
    cell.Append(CellLed{});
    cell.Append(CellLed{});
    QString question;
    test::ModalDriver::Press(QStringLiteral("No"), &question);
    EXPECT_EQ(panel.OnNotify(17, 0, 0), 2);
    EXPECT_FALSE(question.isEmpty());
    EXPECT_EQ(cell.Slot(1).size(), 2u);
}

} // namespace
} // namespace md
