// The smart-setting wizard as a user runs it in the reference host: settings, Next, the step
// dialogs with the controller monitor watching the command area, the hand-over to the design
// panel, the files handed on, and step 6 with and without Crop.
#include "ControllerMonitor.h"
#include "HostFixture.h"
#include "support/ModalDriver.h"

#include "core/driverfile/CombinedFileContents.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/io/FileIo.h"
#include "core/posix/CodePage.h"
#include "md/IDesignUIPlugin.h"

#include <QCheckBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace md::host::test {
namespace {

class WizardThroughHostTest : public HostFixture
{
protected:
    /// Fills the page with a 32 x 16 one-group module and presses Next; every step is answered
    /// with its default button and step 6 with onStep6 (which must close it).
    void RunWizard(std::function<void(QWidget*)> onStep6)
    {
        SettingsWindow* settings = ShowSettings();
        ASSERT_NE(settings, nullptr);
        Find<QLineEdit>(settings, "20502")->setText("32");
        Find<QLineEdit>(settings, "20503")->setText("16");
        Find<QLineEdit>(settings, "20504")->setText("1");
        std::function<void(QWidget*)> answer = [&, onStep6](QWidget* modal) {
            m_window->Monitor()->Poll();
            flags.push_back(m_area->Bytes()[0]);
            if (modal->objectName() == "20109") {
                sawStep6 = true;
                onStep6(modal);
                return;
            }
            titles << modal->windowTitle();
            if (titles.size() < 12)
                md::test::ModalDriver::Expect(answer, 3000);
            for (QPushButton* button : modal->findChildren<QPushButton*>())
                if (button->isDefault() || button->text() == "OK") {
                    button->click();
                    return;
                }
            modal->close();
        };
        md::test::ModalDriver::Expect(answer, 3000);
        Find<QPushButton>(settings, "NextButton")->click();
        m_window->Monitor()->Poll();
    }
    QString Temp(const char* name) const { return m_program.filePath(QString("temp/") + name); }
    static QPushButton* Button(QWidget* parent, const QString& text)
    {
        for (QPushButton* button : parent->findChildren<QPushButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    CombinedFileContents Combined(std::vector<std::uint8_t>& bytes) const
    {
        bytes = fileio::ReadAll(Temp("zt5ModuleHUB.MHR").toStdString()).value_or(bytes);
        CombinedFileContents contents;
        std::string error;
        EXPECT_TRUE(contents.Parse(bytes, CodePage(), error)) << error;
        return contents;
    }

    QStringList titles;
    std::vector<int> flags;
    bool sawStep6 = false;
};

TEST_F(WizardThroughHostTest, HandOverWritesTheTemporaryFilesAndStep6EndsTheWizard)
{
    RunWizard([](QWidget* step6) { Button(step6, "Cancel")->click(); });
    ASSERT_TRUE(sawStep6) << titles.join(" | ").toStdString();
    EXPECT_EQ(flags.front(), 1);
    EXPECT_EQ(m_area->Bytes()[0], 0); // the wizard ended
    EXPECT_EQ(m_area->Bytes()[4], 100);

    // The panel took the hand-over: both temporary files, and the layout step is shown.
    EXPECT_TRUE(QFile::exists(Temp("zt5Module.mjk")));
    EXPECT_TRUE(QFile::exists(Temp("zt5Module.MDR")));
    EXPECT_TRUE(QFile::exists(Temp("zt5HUB.HDR")));
    EXPECT_TRUE(m_window->Panel()->IsDesignOpen());
    QWidget* layoutStep = m_window->PanelArea()->findChild<QWidget*>("20006");
    ASSERT_NE(layoutStep, nullptr);
    EXPECT_TRUE(layoutStep->isVisible());

    // The socket component got the request for one group of three lines.
    const auto& requests = m_host->Siblings().SocketRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].groupCount, 1);
    EXPECT_EQ(requests[0].lineCount, 3);
    // 96 per group, one group, divided by the default data line's factor of 4.
    EXPECT_EQ(requests[0].ledUnit, 24);
    EXPECT_EQ(QString::fromUtf16(requests[0].path), Temp("zt5Module.mjk"));

    // The combined file carries the page's values; message 23 asked to send it.
    std::vector<std::uint8_t> bytes;
    const CombinedFileContents combined = Combined(bytes);
    ASSERT_TRUE(combined.extension.has_value());
    EXPECT_EQ(combined.extension->xPixels, 32u);
    EXPECT_EQ(combined.extension->yPixels, 16u);
    EXPECT_EQ(combined.extension->scanRows, 8); // step 3's default answer
    EXPECT_EQ(combined.extension->ledUnit, requests[0].ledUnit);
    EXPECT_EQ(combined.extension->dataGroups, 1u);
    const auto& sends = m_host->Siblings().SendParams();
    ASSERT_FALSE(sends.empty());
    EXPECT_EQ(sends.back(), 0x10001u); // no multi-clock
    EXPECT_TRUE(m_host->Siblings().SentFiles().back().endsWith("zt5ModuleHUB.MHR"));
    // The controller side shows what it received.
    EXPECT_EQ(SiblingComponents::ModuleSize(Temp("zt5ModuleHUB.MHR")), "32 x 16");

    // Without a crop the page keeps the module's size.
    SettingsWindow* settings = m_window->ExistingSettings();
    EXPECT_EQ(Find<QLineEdit>(settings, "20502")->text(), "32");
    EXPECT_EQ(Find<QLineEdit>(settings, "20503")->text(), "16");
}

TEST_F(WizardThroughHostTest, CropCutsTheDriverFileAndThePageKeepsTheCroppedSize)
{
    RunWizard([](QWidget* step6) {
        md::test::ModalDriver::Expect([](QWidget* range) {
            ASSERT_EQ(range->objectName(), "20113");
            auto* grid = range->findChild<QTableView*>();
            const auto* model = grid->model();
            // Columns 3 to 26 (24 wide) of rows 2 to 13 (12 high).
            grid->selectionModel()->select(QItemSelection(model->index(2, 3), model->index(13, 26)),
                                           QItemSelectionModel::Select);
            Button(range, "OK")->click();
        });
        Button(step6, "Crop...")->click();
        Button(step6, "Cancel")->click();
    });
    ASSERT_TRUE(sawStep6);
    std::vector<std::uint8_t> bytes;
    const CombinedFileContents combined = Combined(bytes);
    ASSERT_TRUE(combined.extension.has_value());
    EXPECT_EQ(combined.extension->xPixels, 24u); // combined again after the cut
    EXPECT_EQ(combined.extension->yPixels, 12u);
    EXPECT_EQ(SiblingComponents::ModuleSize(Temp("zt5ModuleHUB.MHR")), "24 x 12");
    // The temporary driver file was cut to the range.
    const auto driver = fileio::ReadAll(Temp("zt5Module.MDR").toStdString());
    ASSERT_TRUE(driver.has_value());
    DriverFileContents cut;
    std::string error;
    ASSERT_TRUE(cut.Parse(*driver, CodePage(), error)) << error;
    EXPECT_EQ(cut.moduleInfo.xPixels, 24);
    EXPECT_EQ(cut.moduleInfo.yPixels, 12);
    BackgroundDesign resized; // the background's markers follow the cut size
    resized.PlaceMarkers(24, 12);
    EXPECT_EQ(cut.background.Point2(), resized.Point2());
    SettingsWindow* settings = m_window->ExistingSettings();
    EXPECT_EQ(Find<QLineEdit>(settings, "20502")->text(), "24");
    EXPECT_EQ(Find<QLineEdit>(settings, "20503")->text(), "12");
}

} // namespace
} // namespace md::host::test
