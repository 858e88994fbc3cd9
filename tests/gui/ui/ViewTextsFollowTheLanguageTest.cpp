// The views take every text they show from the host's language file: with the English file no
// Chinese character is left on a dialog, and message boxes label their buttons in the
// language of the file.
#include "core/controller/CommandChannel.h"
#include "core/design/CellDesignPresenter.h"
#include "core/io/IniFile.h"
#include "core/io/Utf.h"
#include "core/platform/FileChooser.h"
#include "core/wizard/RangeSelection.h"
#include "core/wizard/WizardSteps.h"
#include "gui/design/CCellDesignCtrl.h"
#include "gui/design/NewModuleInfo.h"
#include "gui/design/PixDecomposeModeDlg.h"
#include "gui/host/HostLink.h"
#include "gui/host/HostTexts.h"
#include "gui/layout/CEPModeDlg.h"
#include "gui/platform/QtPictureCodec.h"
#include "gui/platform/QtPrompter.h"
#include "gui/transform/CModuleTransformDlg.h"
#include "gui/transform/CModuleTransformSaveParameterDlg.h"
#include "gui/wizard/ModuleRangeDlg.h"
#include "gui/wizard/WizardLinesStepDlg.h"
#include "gui/wizard/WizardRowsStepDlg.h"
#include "gui/wizard/WizardStateStepDlg.h"
#include "md/ContractIds.h"
#include "md/IHost.h"
#include "md/IMultilingualInterface.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

namespace md {
namespace {

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// A host whose texts come from one of the shipped language files.
class LanguageHost final : public IHost, IMultilingualInterface
{
public:
    explicit LanguageHost(const std::string& language)
        : m_texts(IniFile::Load(std::filesystem::path(MD_SOURCE_DATA_DIR) / "lang" /
                                (language + ".ini")))
    {}
    std::uint32_t AddRef() override { return 0; }
    std::uint32_t Release() override { return 0; }
    bool QueryService(const char* id, std::uint32_t, void** out) override
    {
        if (std::strcmp(id, contract::kMultilingualId) != 0)
            return false;
        *out = static_cast<IMultilingualInterface*>(this);
        return true;
    }
    std::int32_t Reserved3() override { return 0; }
    std::int32_t AttachPage(const char*, WindowHandle, std::int32_t, std::int32_t, std::int32_t,
                            std::int32_t) override
    {
        return 0;
    }
    std::int32_t PageAttached(const char*) override { return 0; }
    std::int32_t Reserved6() override { return 0; }
    std::int32_t Reserved7() override { return 0; }
    const char* GetNotifyTarget() override { return "host"; }
    bool GetText(const char* section, const char* key, char16_t* buffer,
                 std::uint32_t capacity) override
    {
        const auto value = m_texts.Value(section, key);
        if (!value)
            return false;
        const std::u16string text = utf::ToUtf16(*value);
        if (text.size() >= capacity)
            return false;
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = 0;
        return true;
    }

private:
    IniFile m_texts;
};

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
        m_host = std::make_unique<LanguageHost>(language);
        HostLink::SetHost(m_host.get());
    }

    std::unique_ptr<LanguageHost> m_host;
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
