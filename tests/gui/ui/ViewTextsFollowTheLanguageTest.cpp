// The views take every text they show from the host's language file: with the English file no
// Chinese character is left on a dialog, and message boxes label their buttons in the
// language of the file.
#include "core/controller/CommandChannel.h"
#include "core/design/CellDesignPresenter.h"
#include "core/platform/FileChooser.h"
#include "core/wizard/RangeSelection.h"
#include "core/wizard/WizardSteps.h"
#include "gui/design/CCellDesignCtrl.h"
#include "gui/design/NewModuleInfo.h"
#include "gui/design/PixDecomposeModeDlg.h"
#include "gui/host/HostLink.h"
#include "gui/host/HostTexts.h"
#include "gui/layout/CEPModeDlg.h"
#include "gui/parameters/TestHost.h"
#include "gui/platform/QtPictureCodec.h"
#include "gui/platform/QtPrompter.h"
#include "gui/transform/CModuleTransformDlg.h"
#include "gui/transform/CModuleTransformSaveParameterDlg.h"
#include "gui/wizard/ModuleRangeDlg.h"
#include "gui/wizard/WizardLinesStepDlg.h"
#include "gui/wizard/WizardRowsStepDlg.h"
#include "gui/wizard/WizardStateStepDlg.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace md {
namespace {

class NoChooser final : public FileChooser
{
public:
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest&) override { return {}; }
    std::optional<std::filesystem::path> ChooseSave(const FileRequest&) override { return {}; }
};

/// Every text a dialog shows: its title, labels, buttons and group box titles.
QStringList ShownTexts(QWidget& dialog)
{
    QStringList texts{dialog.windowTitle()};
    for (QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        texts << button->text();
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        texts << box->title();
    return texts;
}

QStringList Chinese(const QStringList& texts)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return texts.filter(han);
}

class ViewTextsFollowTheLanguageTest : public ::testing::Test
{
protected:
    void TearDown() override { HostLink::SetHost(nullptr); }
    void Use(const std::string& language)
    {
        m_host.UseLanguage(language);
        HostLink::SetHost(&m_host);
    }

    test::TestHost m_host;
};

TEST_F(ViewTextsFollowTheLanguageTest, EnglishLeavesNoChineseOnTheDialogs)
{
    Use("en-us");
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::filesystem::path root = folder.path().toStdString();

    HostTexts texts;
    QtPrompter prompter;
    QtPictureCodec codec;
    NoChooser chooser;
    CellDesignPresenter cell(CellDesignPresenter::Ports{prompter, texts, codec, chooser,
                                                        [] { return std::vector<HostLight>{}; }},
                             ProgramFolder(root));
    CommandChannel channel;
    WizardStep1 step1(2, 0, 0x03FF10F6, channel);
    WizardStep2 step2(2, 0, 0x03FF10F6, channel);
    WizardStep3 step3;
    WizardStep4 step4(0x12, 8, 0, 0, channel);
    RangeSelection range(8, 4);

    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.push_back(std::make_unique<CCellDesignCtrl>(cell));
    dialogs.push_back(std::make_unique<NewModuleInfo>(
        std::vector<NewModuleInfoRecord::Chip>{{u"ICN2038", 0, 0, 7}}, &prompter, &texts));
    dialogs.push_back(std::make_unique<PixDecomposeModeDlg>(ProgramFolder(root)));
    dialogs.push_back(std::make_unique<CModuleTransformDlg>(root));
    dialogs.push_back(std::make_unique<CModuleTransformSaveParameterDlg>(chooser));
    dialogs.push_back(std::make_unique<WizardStateStepDlg>(step1));
    dialogs.push_back(std::make_unique<WizardStateStepDlg>(step2));
    dialogs.push_back(std::make_unique<WizardRowsStepDlg>(step3));
    dialogs.push_back(std::make_unique<WizardLinesStepDlg>(step4));
    dialogs.push_back(std::make_unique<ModuleRangeDlg>(range));
    dialogs.push_back(std::make_unique<CEPModeDlg>(1));
    for (const auto& dialog : dialogs) {
        const QStringList shown = ShownTexts(*dialog);
        EXPECT_GT(shown.size(), 2) << dialog->metaObject()->className();
        EXPECT_EQ(Chinese(shown).join(" | ").toStdString(), "")
            << dialog->metaObject()->className();
    }
    // What the English file says arrives, not the built-in Chinese.
    auto* cellDialog = static_cast<CCellDesignCtrl*>(dialogs[0].get());
    EXPECT_EQ(cellDialog->windowTitle(), "Module cell design");
    EXPECT_TRUE(ShownTexts(*dialogs[3]).contains("Mirror left-right"));
}

TEST_F(ViewTextsFollowTheLanguageTest, MessageBoxButtonsSpeakTheLanguageOfTheFile)
{
    for (const auto& [language, yes, no] :
         {std::tuple{"zh-cn", QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")},
          std::tuple{"en-us", QStringLiteral("&Yes"), QStringLiteral("&No")}}) {
        Use(language);
        QtPrompter prompter;
        QStringList buttons;
        test::ModalDriver::Expect([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            box->button(QMessageBox::No)->click();
        });
        EXPECT_EQ(prompter.Ask(PromptButtons::YesNo, u"?", u"?"), PromptAnswer::No);
        buttons.sort();
        QStringList expected{yes, no};
        expected.sort();
        EXPECT_EQ(buttons, expected) << language;
    }
}

} // namespace
} // namespace md
