// The module transform dialog offscreen, driven through its numbered controls.
#include "core/driverfile/DemoDesign.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"
#include "gui/transform/CModuleTransformDlg.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace md {
namespace {

class ModuleTransformDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DemoDesign::Options options;
        options.width = 4;
        options.height = 2;
        options.groups = 1;
        options.scanRows = 1;
        auto design = DemoDesign::Build(options);
        std::string error;
        source = Path("m.MDR");
        ASSERT_TRUE(fileio::WriteAtomic(source, DemoDesign::Bytes(*design, CodePage(), error)));
    }
    std::filesystem::path Path(const char* name) const
    {
        return std::filesystem::path(folder.path().toStdString()) / name;
    }
    QPushButton* Button(int id) { return dialog.findChild<QPushButton*>(QString::number(id)); }

    QTemporaryDir folder;
    std::filesystem::path source;
    CModuleTransformDlg dialog{std::filesystem::path(folder.path().toStdString())};
};

TEST_F(ModuleTransformDialogTest, OpenTransformAndTheGrids)
{
    EXPECT_EQ(dialog.objectName(), "20116");
    // Both grids' models stay consistent through loading, transforming and zooming.
    QAbstractItemModelTester sourceTester(dialog.SourceGrid()->model(),
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester resultTester(dialog.ResultGrid()->model(),
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
    // Transform with nothing loaded does nothing.
    Button(CModuleTransformDlg::kTransform)->click();
    EXPECT_EQ(dialog.ResultGrid()->model()->rowCount(), 0);

    // "..." opens a file through a dialog automation can drive.
    test::ModalDriver::Expect([this](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(files, nullptr);
        files->selectFile(QString::fromStdString(source.string()));
        static_cast<QDialog*>(files)->accept();
    });
    Button(CModuleTransformDlg::kOpen)->click();
    EXPECT_EQ(dialog.SourceFigures(), "4 x 2, 8 LEDs, 8 valid");
    QAbstractItemModel* sourceCells = dialog.SourceGrid()->model();
    EXPECT_EQ(sourceCells->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "4");
    EXPECT_EQ(sourceCells->index(1, 3).data(Qt::BackgroundRole).value<QColor>(),
              QColor(0x00, 0xA0, 0x00));

    dialog.findChild<QComboBox*>("Angle")->setCurrentText("90");
    Button(CModuleTransformDlg::kTransform)->click();
    EXPECT_EQ(dialog.ResultFigures(), "2 x 4, 8 LEDs, 8 valid");
    QAbstractItemModel* resultCells = dialog.ResultGrid()->model();
    ASSERT_EQ(resultCells->rowCount(), 4);
    ASSERT_EQ(resultCells->columnCount(), 2);
    EXPECT_EQ(resultCells->index(0, 1).data().toString(), "1,1"); // (0,0) went to (1,0)
    EXPECT_EQ(resultCells->index(3, 0).data().toString(), "4,2"); // (3,1) went to (0,3)

    // Zoom buttons change the cell size by one, never below 1.
    QHeaderView* columns = dialog.ResultGrid()->horizontalHeader();
    const int width = columns->defaultSectionSize();
    Button(CModuleTransformDlg::kResultLarger)->click();
    EXPECT_EQ(columns->defaultSectionSize(), width + 1);
    for (int i = 0; i < 100; ++i)
        Button(CModuleTransformDlg::kResultSmaller)->click();
    EXPECT_EQ(columns->defaultSectionSize(), 1);

    // A zoom that is on must be a positive number.
    dialog.findChild<QCheckBox*>("HorizontalZoomOn")->setChecked(true);
    dialog.findChild<QComboBox*>("HorizontalZoom")->setCurrentText("0");
    QString shown;
    test::ModalDriver::Press("OK", &shown);
    Button(CModuleTransformDlg::kTransform)->click();
    EXPECT_TRUE(shown.contains("zoom")) << shown.toStdString();
    EXPECT_EQ(dialog.ResultFigures(), "2 x 4, 8 LEDs, 8 valid");

    // A damaged file: the parse message, and the old contents stay.
    QFile bad(folder.filePath("bad.MDR"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(".MDR and then nothing a driver file holds");
    bad.close();
    test::ModalDriver::Press("OK", &shown);
    EXPECT_FALSE(dialog.OpenPath(Path("bad.MDR")));
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(dialog.SourceFigures(), "4 x 2, 8 LEDs, 8 valid");
}

TEST_F(ModuleTransformDialogTest, SaveOfAPlainSourceAsksForTheHubFile)
{
    ASSERT_TRUE(dialog.OpenPath(source));
    Button(CModuleTransformDlg::kTransform)->click();
    // The save-option dialog: browse only while the box is checked; unchecked, only the
    // driver file is written.
    test::ModalDriver::Expect([](QWidget* modal) {
        ASSERT_EQ(modal->objectName(), "20117");
        auto* combine = modal->findChild<QCheckBox*>("CombineFile");
        auto* browse = modal->findChild<QPushButton*>("BrowseHub");
        EXPECT_FALSE(browse->isEnabled());
        combine->setChecked(true);
        EXPECT_TRUE(browse->isEnabled());
        combine->setChecked(false);
        static_cast<QDialog*>(modal)->accept();
        test::ModalDriver::Expect([](QWidget* save) {
            auto* files = qobject_cast<QFileDialog*>(save);
            ASSERT_NE(files, nullptr);
            // The dialog opens beside the source.
            files->selectFile(files->directory().filePath("out.MDR"));
            static_cast<QDialog*>(files)->accept();
        });
    });
    Button(CModuleTransformDlg::kSave)->click();
    EXPECT_TRUE(QFile::exists(folder.filePath("out.MDR")));
    EXPECT_FALSE(QFile::exists(folder.filePath("out.MHR")));

    // Checked with a HUB file that is not there, OK refuses and the dialog stays.
    bool stayed = false;
    test::ModalDriver::Expect([&stayed](QWidget* modal) {
        modal->findChild<QCheckBox*>("CombineFile")->setChecked(true);
        test::ModalDriver::Expect([](QWidget* box) { box->close(); });
        const auto buttons = modal->findChildren<QPushButton*>();
        for (QPushButton* button : buttons)
            if (button->text() == "OK")
                button->click();
        stayed = modal->isVisible();
        static_cast<QDialog*>(modal)->reject();
    });
    Button(CModuleTransformDlg::kSave)->click();
    EXPECT_TRUE(stayed);

    // Test without a host: the save-option dialog cancelled says the sending was cancelled.
    QString shown;
    test::ModalDriver::Expect([&shown](QWidget* modal) {
        static_cast<QDialog*>(modal)->reject();
        test::ModalDriver::Press("OK", &shown);
    });
    Button(CModuleTransformDlg::kTest)->click();
    EXPECT_FALSE(shown.isEmpty());
}

} // namespace
} // namespace md
