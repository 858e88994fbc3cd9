#pragma once

#include "core/parameters/ModuleParameterPresenter.h"
#include "core/parameters/ModuleParameterView.h"
#include "gui/host/HostTexts.h"
#include "gui/platform/QtPrompter.h"
#include "md/SdkTypes.h"

#include <QPointer>
#include <QWidget>

#include <filesystem>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace md {

class ModuleDesignDocument;

/// The module parameter page (resource 20102): binds the controls to ModuleParameterPresenter.
/// Every control carries its resource number as objectName.
class CFirstPageSettingDlg : public QWidget, public ModuleParameterView
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20102;
    /// The page's own message on which it restores the saved record after initialisation.
    static constexpr int kMsgRestore = 1025;

    /// The message that combines the temporary driver and HUB files again; lParam points to the
    /// module's width and height (two 32-bit values).
    static constexpr std::uint32_t kMsgCombine = 4096;

    /// A page of the design document's plug-in: the wizard it starts works on the document.
    explicit CFirstPageSettingDlg(ModuleDesignDocument& document, QWidget* parent = nullptr);
    /// A page with a document of its own over the program folder.
    explicit CFirstPageSettingDlg(const std::filesystem::path& programFolder,
                                  QWidget* parent = nullptr);
    ~CFirstPageSettingDlg() override;

    /// The page's own messages: 4096 combines again (0, or -1 on failure or a null pointer).
    std::int32_t OnMessage(std::uint32_t message, std::intptr_t lParam);
    /// Writes the module configuration file; 0 or -1.
    int Apply();
    /// Cancels the dialogs the page has open (the wizard's popups).
    void ClosePendingWork();

    ModuleParameterPresenter& Presenter() { return *m_presenter; }
    /// Where the wizard plugs in: called after Next has checked and derived everything.
    void SetWizardStarter(ModuleParameterPresenter::WizardStarter starter);
    /// The host's main window found at initialisation (0 when there is none).
    WindowHandle HostMainWindow() const;

    // ModuleParameterView
    void ShowChipLists(const std::vector<std::u16string>& scanChips,
                       const std::vector<std::u16string>& driverChips) override;
    ModuleParameters ReadControls() const override;
    void ShowRecord(const ModuleParameters& parameters) override;
    void ShowMultiClock(std::int32_t index) override;
    void ShowVirtualControls(bool virtualModule) override;
    void ShowHubAddressCheck(bool visible) override;
    void ShowCellDesigned(bool designed) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Connect();
    void FindHostMainWindow();

    std::unique_ptr<ModuleDesignDocument> m_ownDocument;
    ModuleDesignDocument& m_document;
    QtPrompter m_prompter;
    HostTexts m_texts;
    std::unique_ptr<ModuleParameterPresenter> m_presenter;
    QPointer<QWidget> m_mainWindow;

    QLineEdit* m_xPoints = nullptr;
    QLineEdit* m_yPoints = nullptr;
    QLineEdit* m_dataGroups = nullptr;
    QLineEdit* m_virtualPosition = nullptr;
    QLineEdit* m_virtualLength = nullptr;
    QButtonGroup* m_types = nullptr;
    QComboBox* m_virtualMode = nullptr;
    QComboBox* m_scanChip = nullptr;
    QComboBox* m_driverChip = nullptr;
    QComboBox* m_splitMode = nullptr;
    QComboBox* m_polarity = nullptr;
    QComboBox* m_discharge = nullptr;
    QComboBox* m_groupDataMode = nullptr;
    QComboBox* m_dataLineType = nullptr;
    QComboBox* m_multiClock = nullptr;
    QCheckBox* m_colourSwap = nullptr;
    QCheckBox* m_oneGroupCut = nullptr;
    QCheckBox* m_hubContinuous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_cellDesign = nullptr;
    QPushButton* m_transform = nullptr;
};

} // namespace md
