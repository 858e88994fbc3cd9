#include "core/document/ModuleDesignDocument.h"
#include "core/parameters/ConnectorTable.h"
#include "gui/host/HostLink.h"
#include "gui/parameters/CFirstPageSettingDlg.h"
#include "gui/parameters/CModuleSetttingDlg.h"
#include "gui/parameters/TestHost.h"
#include "gui/ui/NativeParent.h"
#include "md/ContractIds.h"
#include "support/ModalDriver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace md {
namespace {

using test::TestHost;

class FirstPageSettingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() /
                 ("md-page-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        const auto chips = m_root / "Modules" / "ModuleDesignUIPlugin";
        std::filesystem::create_directories(chips);
        std::filesystem::copy_file(std::filesystem::path(MD_SOURCE_DATA_DIR) / "Modules" /
                                       "ModuleDesignUIPlugin" / "ChipLib.xml",
                                   chips / "ChipLib.xml");
        std::ofstream(m_root / "runinfo.ini") << "[language]\nactive=_en-us\n";
        ::setenv("MD_PROGRAM_FOLDER", m_root.c_str(), 1);
        HostLink::SetHost(&m_host);
        m_parent.setAttribute(Qt::WA_NativeWindow);
        m_parent.resize(900, 700);
        m_parent.show();
    }
    void TearDown() override
    {
        m_settings.reset();
        HostLink::SetHost(nullptr);
        ::unsetenv("MD_PROGRAM_FOLDER");
        std::filesystem::remove_all(m_root);
    }

    /// Shows the settings frame in the parent, as the host's settings window does.
    CFirstPageSettingDlg* ShowPage()
    {
        m_settings = std::make_unique<CModuleSetttingDlg>();
        EXPECT_EQ(m_settings->Show(NativeHandle(&m_parent), 0, 0, 880, 680), 0);
        QApplication::processEvents(); // the page restores its record from a queued message
        return m_settings->ParameterPage();
    }
    template <typename T>
    T* Control(int id)
    {
        T* control = m_settings->findChild<T*>(QString::number(id));
        EXPECT_NE(control, nullptr) << id;
        return control;
    }
    void SetSize(const char* x, const char* y, const char* groups = "2")
    {
        Control<QLineEdit>(20502)->setText(x);
        Control<QLineEdit>(20503)->setText(y);
        Control<QLineEdit>(20504)->setText(groups);
    }
    /// Presses Next and returns the message it shows.
    QString PressNext(bool expectMessage = true)
    {
        QString shown;
        if (expectMessage)
            test::ModalDriver::Press(QStringLiteral("OK"), &shown);
        m_settings->findChild<QPushButton*>("NextButton")->click();
        return shown;
    }
    int IndexOf(QComboBox* list, const char* text) { return list->findText(text); }

    std::filesystem::path m_root;
    TestHost m_host;
    QWidget m_parent;
    std::unique_ptr<CModuleSetttingDlg> m_settings;
};

TEST_F(FirstPageSettingTest, FrameShowsThePageWithEveryControlAndTheEnglishChips)
{
    CFirstPageSettingDlg* page = ShowPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->objectName(), "20102");
    EXPECT_EQ(m_settings->objectName(), "20101");
    EXPECT_EQ(m_host.attached, contract::kPluginId);
    EXPECT_EQ(m_host.attachedPage, NativeHandle(m_settings.get()));
    for (int id : {20502, 20503, 20504, 20505, 20506})
        Control<QLineEdit>(id);
    for (int id : {20011, 20010, 20014, 20013, 20015, 20016, 13095, 13096, 3062})
        Control<QComboBox>(id);
    for (int id : {20545, 20534, 20563})
        Control<QCheckBox>(id);
    EXPECT_TRUE(Control<QRadioButton>(20508)->isChecked());
    EXPECT_TRUE(Control<QLineEdit>(20505)->isHidden());
    EXPECT_EQ(Control<QLineEdit>(20502)->text(), "16");
    EXPECT_EQ(Control<QComboBox>(13095)->itemText(5), "IDC_BOX_SETTING_STATIC_GROUP_6_DATA_MODE");
    EXPECT_EQ(Control<QComboBox>(13096)->itemData(2).toInt(), 5);

    QComboBox* scan = Control<QComboBox>(20010);
    EXPECT_EQ(scan->itemText(0), "74HC138 decoder");
    EXPECT_EQ(Control<QComboBox>(20014)->itemText(0), "Generic shift register");
    EXPECT_EQ(scan->view()->minimumWidth(), scan->width() * 2);
    // The module transform button opens the transform dialog.
    QString opened;
    test::ModalDriver::Expect([&opened](QWidget* modal) {
        opened = modal->objectName();
        modal->close();
    });
    m_settings->findChild<QPushButton*>("TransformButton")->click();
    EXPECT_EQ(opened, "20116");

    EXPECT_EQ(m_settings->Hide(), 0);
    EXPECT_EQ(m_settings->Hide(), -1);
}

TEST_F(FirstPageSettingTest, FrameAvailabilityAndPendingWork)
{
    CFirstPageSettingDlg* page = ShowPage();
    EXPECT_TRUE(m_settings->IsAvailable()); // no global data service
    m_host.flags = 5;
    EXPECT_TRUE(m_settings->IsAvailable());
    m_host.flags = 2;
    EXPECT_FALSE(m_settings->IsAvailable());

    auto* popup = new QDialog(page);
    popup->show();
    EXPECT_EQ(m_settings->ClosePendingWork(), 0);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(popup->result(), QDialog::Rejected);
}

TEST_F(FirstPageSettingTest, NextReportsWhatTheEntriesBreakAndKeepsThem)
{
    CFirstPageSettingDlg* page = ShowPage();
    std::vector<ModuleParameters> started;
    page->SetWizardStarter(
        [&](const ModuleParameters& p, const ModuleDerivedValues&) { started.push_back(p); });

    // The order and bounds of the checks are the presenter's (ModuleParameterPresenterTest).
    SetSize("16", "16", "33");
    EXPECT_EQ(PressNext(), "IDS_MODULE_FIRSETDLG_GROUPSERROR");
    EXPECT_EQ(Control<QLineEdit>(20504)->text(), "33");
    EXPECT_TRUE(started.empty());

    // A type 2 driver chip lowers multi-clock to 1 before the size is checked.
    QComboBox* driver = Control<QComboBox>(20014);
    driver->setCurrentIndex(IndexOf(driver, "SM16158"));
    Control<QComboBox>(3062)->setCurrentIndex(3);
    SetSize("300", "16");
    EXPECT_EQ(PressNext(), "IDS_MODULE_FIRSETDLG_MODULESIZEERROR");
    EXPECT_EQ(Control<QComboBox>(3062)->currentIndex(), 1);

    Control<QCheckBox>(20534)->setChecked(true);
    SetSize("16", "16", "3");
    Control<QComboBox>(3062)->setCurrentIndex(0);
    EXPECT_EQ(PressNext(), "IDS_MODULE_FIRSETDLG_UNSUPPORTHORZSPLIT");

    SetSize("256", "256", "32");
    PressNext(false);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].xPoints, 256u);
    EXPECT_EQ(page->Presenter().Derived().driverChip.name, u"SM16158");
    EXPECT_EQ(page->Presenter().Connectors().columns, 1u);
}

TEST_F(FirstPageSettingTest, ChoicesEnableVirtualControlsAndTheHubCheck)
{
    ShowPage();
    QComboBox* virtualMode = Control<QComboBox>(20011);
    QCheckBox* swap = Control<QCheckBox>(20545);
    EXPECT_FALSE(virtualMode->isEnabled());
    EXPECT_TRUE(swap->isHidden());
    Control<QRadioButton>(20510)->click();
    EXPECT_TRUE(virtualMode->isEnabled());
    EXPECT_FALSE(swap->isHidden());
    Control<QRadioButton>(20507)->click();
    EXPECT_FALSE(virtualMode->isEnabled());
    EXPECT_TRUE(swap->isHidden());

    QCheckBox* hub = Control<QCheckBox>(20563);
    QComboBox* driver = Control<QComboBox>(20014);
    QComboBox* mode = Control<QComboBox>(13095);
    driver->setCurrentIndex(IndexOf(driver, "MBI5024")); // type 0
    mode->setCurrentIndex(4);
    EXPECT_FALSE(hub->isHidden());
    mode->setCurrentIndex(2);
    EXPECT_TRUE(hub->isHidden());
    mode->setCurrentIndex(1);
    driver->setCurrentIndex(IndexOf(driver, "MBI5124")); // type 3
    EXPECT_TRUE(hub->isHidden());
}

TEST_F(FirstPageSettingTest, CellDesignShowsWhetherCellsAreDesigned)
{
    ShowPage();
    QPushButton* button = m_settings->findChild<QPushButton*>("CellDesignButton");
    EXPECT_EQ(button->text(), "IDS_MODULE_FIRSETDLG_MODULECELLDESIGON");
    button->click();
    EXPECT_EQ(button->text(), "IDS_MODULE_FIRSETDLG_CELLNODESIGNED");
    m_host.cellCount = 2;
    button->click();
    EXPECT_EQ(button->text(), "IDS_MODULE_FIRSETDLG_CELLDESIGNED");
    EXPECT_EQ(m_host.sent.back(), std::string(contract::kPluginId) + ":17");
}

TEST_F(FirstPageSettingTest, ApplyIsRestoredByTheNextPage)
{
    ShowPage();
    Control<QRadioButton>(20510)->click();
    Control<QComboBox>(20011)->setCurrentIndex(3);
    Control<QCheckBox>(20545)->setChecked(true);
    SetSize("64", "32", "4");
    Control<QComboBox>(20010)->setCurrentIndex(2);
    Control<QComboBox>(20014)->setCurrentIndex(5);
    Control<QComboBox>(20013)->setCurrentIndex(1);
    Control<QComboBox>(20016)->setCurrentIndex(3);
    Control<QComboBox>(3062)->setCurrentIndex(2);
    ASSERT_EQ(m_settings->Apply(), 0);
    SetSize("65", "64");
    EXPECT_EQ(m_settings->Apply(), -1);

    m_settings->DestroyWindow();
    EXPECT_EQ(m_settings->Apply(), -1);
    ShowPage();
    EXPECT_TRUE(Control<QRadioButton>(20510)->isChecked());
    EXPECT_TRUE(Control<QComboBox>(20011)->isEnabled());
    EXPECT_EQ(Control<QComboBox>(20011)->currentIndex(), 3);
    EXPECT_TRUE(Control<QCheckBox>(20545)->isChecked());
    EXPECT_EQ(Control<QLineEdit>(20502)->text(), "64");
    EXPECT_EQ(Control<QLineEdit>(20503)->text(), "32");
    EXPECT_EQ(Control<QLineEdit>(20504)->text(), "4");
    EXPECT_EQ(Control<QComboBox>(20010)->currentIndex(), 2);
    EXPECT_EQ(Control<QComboBox>(20014)->currentIndex(), 5);
    EXPECT_EQ(Control<QComboBox>(20013)->currentIndex(), 1);
    EXPECT_EQ(Control<QComboBox>(20016)->currentIndex(), 3);
    EXPECT_EQ(Control<QComboBox>(3062)->currentIndex(), 2);
}

TEST_F(FirstPageSettingTest, PageKeepsTheHostMainWindow)
{
    QWidget main;
    main.setProperty(contract::kMainWindowProperty, true);
    main.show();
    CFirstPageSettingDlg page(m_root);
    EXPECT_EQ(page.HostMainWindow(), static_cast<WindowHandle>(main.winId()));
}

TEST_F(FirstPageSettingTest, CombineMessageCombinesTheTemporaryFilesAgain)
{
    ModuleDesignDocument document{ProgramFolder(m_root)};
    CFirstPageSettingDlg page(document);
    const std::uint32_t size[2] = {24, 12};
    const auto lParam = reinterpret_cast<std::intptr_t>(size);
    EXPECT_EQ(page.OnMessage(CFirstPageSettingDlg::kMsgCombine, 0), -1);      // no values
    EXPECT_EQ(page.OnMessage(CFirstPageSettingDlg::kMsgCombine, lParam), -1); // no wizard run
    document.Wizard().combined = true;
    document.Wizard().trailer.scanRows = 4;
    EXPECT_EQ(page.OnMessage(CFirstPageSettingDlg::kMsgCombine, lParam), -1); // no files yet
    std::filesystem::create_directories(m_root / "temp");
    std::ofstream(m_root / "temp" / "zt5Module.MDR") << "driver";
    std::ofstream(m_root / "temp" / "zt5HUB.HDR") << "hub";
    ASSERT_EQ(page.OnMessage(CFirstPageSettingDlg::kMsgCombine, lParam), 0);
    EXPECT_TRUE(std::filesystem::exists(m_root / "temp" / "zt5ModuleHUB.MHR"));
    EXPECT_EQ(document.Wizard().trailer.xPixels, 24u);
    EXPECT_EQ(document.Wizard().trailer.yPixels, 12u);
}

} // namespace
} // namespace md
