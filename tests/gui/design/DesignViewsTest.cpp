#include "core/driverfile/SocketSection.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/posix/CodePage.h"
#include "core/support/FakePorts.h"
#include "gui/design/CBackgroundDesignDlg.h"
#include "gui/design/NewFrameInfoDlg.h"
#include "gui/design/NewModuleInfo.h"
#include "gui/design/SocketDesignDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace md {
namespace {

/// A program folder with a 40 x 30 pin frame and the type pictures, named by the environment.
class DesignViewsInProgramFolder : public ::testing::Test
{
protected:
    std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("md_design_views_" + std::to_string(::getpid()));
    void SetUp() override
    {
        const auto plugin = root / "Modules" / "ModuleDesignUIPlugin";
        std::filesystem::create_directories(plugin);
        QImage frame(40, 30, QImage::Format_RGB32);
        frame.fill(QColor(80, 80, 80));
        ASSERT_TRUE(frame.save(QString::fromStdString((plugin / "frame_background.bmp").string())));
        QImage type(40, 30, QImage::Format_RGB32);
        type.fill(Qt::darkCyan);
        for (int i = 0; i < 12; ++i)
            type.save(QString::fromStdString(
                (plugin / ("socket_frame_background_" + std::to_string(i) + ".bmp")).string()));
        QImage background(8, 8, QImage::Format_RGB32);
        background.fill(Qt::darkBlue);
        background.save(QString::fromStdString((plugin / "module_bkground.png").string()));
        qputenv("MD_PROGRAM_FOLDER", QByteArray::fromStdString(root.string()));
    }
    void TearDown() override
    {
        qunsetenv("MD_PROGRAM_FOLDER");
        std::filesystem::remove_all(root);
    }
};

TEST(NewModuleInfoView, BindsControlsAndConfirmsThroughThePresenter)
{
    test::ScriptedPrompter prompter;
    test::KeyTexts texts;
    NewModuleInfo dialog({{u"ICN2038", 0, 0, 7}, {u"SM5166", 1, 1, 9}}, &prompter, &texts);
    EXPECT_EQ(dialog.objectName(), "20016");
    EXPECT_EQ(dialog.windowTitle(), "IDS_MD_NEWMODULE_TITLE"); // from the dialog's texts
    bool confirmed = true;
    QTimer::singleShot(0, &dialog, [&] {
        auto* pins = dialog.findChild<QLineEdit*>("20018");
        auto* rows = dialog.findChild<QLineEdit*>("20037");
        auto* scan = dialog.findChild<QComboBox*>("20030");
        auto* driver = dialog.findChild<QComboBox*>("20010");
        ASSERT_TRUE(pins && rows && scan && driver);
        EXPECT_EQ(pins->maxLength(), 2);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("20043")->maxLength(), 6);
        EXPECT_EQ(driver->count(), 1);
        scan->setCurrentIndex(0);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("20033")->text(), "B");
        rows->setText("1");
        EXPECT_FALSE(scan->isEnabled());
        EXPECT_EQ(scan->currentIndex(), -1);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("20033")->text(), "");
        dialog.accept(); // bypasses the checks: the OK button is what runs them
        confirmed = false;
    });
    dialog.RunModal();
    EXPECT_FALSE(confirmed);

    // Through OK: 65 x 64 is refused and the dialog stays open; 64 x 64 with a driver chip closes.
    QTimer::singleShot(0, &dialog, [&] {
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        dialog.findChild<QLineEdit*>("20018")->setText("16");
        dialog.findChild<QLineEdit*>("20037")->setText("1");
        dialog.findChild<QLineEdit*>("20020")->setText("65");
        dialog.findChild<QLineEdit*>("20022")->setText("64");
        dialog.findChild<QLineEdit*>("20025")->setText("P10");
        dialog.findChild<QComboBox*>("20010")->setCurrentIndex(0);
        ok->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.findChild<QLineEdit*>("20020")->setText("64");
        ok->click();
    });
    EXPECT_TRUE(dialog.RunModal());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.Last(), "ID_PARA_ERROR");
    EXPECT_TRUE(dialog.Confirmed());
    EXPECT_EQ(dialog.XPixels(), 64);
    EXPECT_EQ(dialog.ModuleName(), u"P10");
}

TEST_F(DesignViewsInProgramFolder, SocketPageSizesFrameSelectsAndAssigns)
{
    SocketDesignDlg page;
    page.resize(400, 600);
    page.NewSocket(5, 8);
    NewFrameInfoDlg* frame = page.Frame();
    EXPECT_EQ(frame->size(), QSize(2 * 40 + 100, 3 * 30));
    EXPECT_EQ(frame->x(), (400 - 180) / 2);
    EXPECT_EQ(page.Socket().DocumentState(), SocketDesign::New);

    QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(50 + 40 + 5, 30 + 5));
    EXPECT_EQ(page.Socket().Selected(), 3);
    page.OnCommand(0x10002); // code 16
    EXPECT_EQ(page.Socket().Pins()[3].code, 16u);
    EXPECT_EQ(page.Socket().DocumentState(), SocketDesign::Changed);
    EXPECT_TRUE(page.OnKey(Qt::Key_Up));
    EXPECT_EQ(page.Socket().Selected(), 1);
    EXPECT_FALSE(page.OnKey(Qt::Key_A));
    const QImage shot = frame->grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(51, 51, 51));

    // The section reloads through the frame pictures.
    ByteWriter out;
    std::string error;
    ASSERT_TRUE(page.Section()->Write(out, error));
    SocketDesignDlg other;
    ByteReader in(out.Data());
    ASSERT_TRUE(other.Section()->Read(in, error)) << error;
    EXPECT_EQ(other.Socket().Pins()[3].code, 16u);
    EXPECT_EQ(other.Socket().Pins()[3].right - other.Socket().Pins()[3].left, 40);
}

TEST_F(DesignViewsInProgramFolder, BackgroundViewZoomsScrollsAndNamesItsScrollBars)
{
    CBackgroundDesignDlg view;
    view.resize(500, 400);
    view.SetUp(32, 16);
    EXPECT_EQ(view.objectName(), "20026");
    EXPECT_TRUE(view.findChild<QScrollBar*>("20057"));
    EXPECT_TRUE(view.Design().HasPicture());
    EXPECT_EQ(view.OnMessage(CBackgroundDesignDlg::kZoomIn), -1);
    EXPECT_EQ(view.OnMessage(CBackgroundDesignDlg::kZoomOut), 0);
    EXPECT_EQ(view.Design().Scale(), 10);
    auto* vertical = view.findChild<QScrollBar*>("20059");
    const int before = vertical->value();
    view.OnMessage(CBackgroundDesignDlg::kWheel, -120);
    EXPECT_EQ(vertical->value(), before + 20);
    vertical->setValue(before);
    EXPECT_EQ(view.Design().ScrollY(), before);
    // What is drawn: the picture scaled into the module's frame and the first marker on it.
    vertical->setValue(0);
    view.findChild<QScrollBar*>("20057")->setValue(0);
    const QImage shot = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(shot.isNull());
    const auto& bytes = view.Design().Picture().bytes;
    const QImage picture = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_FALSE(picture.isNull());
    const QColor pictureColour = picture.pixelColor(0, 0);
    int red = 0, frame = 0, pictured = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c == QColor(255, 0, 0) ? 1 : 0;
            frame += c == QColor(51, 51, 51) ? 1 : 0;
            pictured += c == pictureColour ? 1 : 0;
        }
    EXPECT_GT(red, 4) << "the first marker";
    EXPECT_GT(frame, 100) << "the module's frame";
    EXPECT_GT(pictured, shot.width() * shot.height() / 2) << "the background picture";
}

} // namespace
} // namespace md
