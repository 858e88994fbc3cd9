#include "gui/parameters/CFirstPageSettingDlg.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/parameters/RuntimeSettings.h"
#include "core/posix/IniProfile.h"
#include "gui/host/HostLink.h"
#include "gui/parameters/FirstPageControls.h"
#include "gui/transform/CModuleTransformDlg.h"
#include "gui/ui/ResourceId.h"
#include "gui/wizard/WizardLauncher.h"
#include "md/ContractIds.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace md {

using namespace firstpage;

namespace {

constexpr int kTypeButtonIds[] = {20507, 20508, 20509, 20510};

QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

ChipLibrary LoadChips(const std::filesystem::path& programFolder)
{
    const auto settings =
        RuntimeSettings::FromHost(HostLink::Services(), programFolder / "runinfo.ini");
    return ChipLibrary::Load(ChipLibrary::PathIn(programFolder), settings.LanguageAttribute());
}

} // namespace

CFirstPageSettingDlg::CFirstPageSettingDlg(const std::filesystem::path& programFolder,
                                           QWidget* parent)
    : CFirstPageSettingDlg(*new ModuleDesignDocument(ProgramFolder(programFolder)), parent)
{
    m_ownDocument.reset(&m_document);
}

CFirstPageSettingDlg::CFirstPageSettingDlg(ModuleDesignDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_prompter(this)
{
    SetResourceId(this, kResourceId);
    const std::filesystem::path programFolder = document.Folder().Root();
    // The page maps the controller's command area for as long as it exists.
    m_document.Controller().Hold(IniProfile(IniProfile::DefaultPath()));
    m_presenter = std::make_unique<ModuleParameterPresenter>(
        *this, m_prompter, m_texts, LoadChips(programFolder), programFolder);
    m_presenter->UseConnectorTable(m_document.Connectors());
    m_presenter->SetSender(&HostLink::Send);
    m_presenter->SetWizardStarter([this](const ModuleParameters& parameters,
                                         const ModuleDerivedValues& derived) {
        WizardLauncher::Run(this, *m_presenter, m_document, parameters, derived, HostMainWindow());
    });
    BuildControls();
    m_presenter->Initialise();
    Connect();
    FindHostMainWindow();
    // Restore the saved record once initialisation is over.
    QMetaObject::invokeMethod(
        this, [this] { m_presenter->Restore(); }, Qt::QueuedConnection);
}

CFirstPageSettingDlg::~CFirstPageSettingDlg()
{
    m_document.Controller().LetGo();
}

std::int32_t CFirstPageSettingDlg::OnMessage(std::uint32_t message, std::intptr_t lParam)
{
    if (message != kMsgCombine)
        return 0;
    const auto* size = reinterpret_cast<const std::uint32_t*>(lParam);
    if (!size)
        return -1;
    const CodePage codePage =
        RuntimeSettings::FromHost(HostLink::Services(), m_document.Folder().RunInfo())
            .NamesCodePage();
    return m_document.CombineTemporaryFiles(size[0], size[1], codePage) ? 0 : -1;
}

void CFirstPageSettingDlg::BuildControls()
{
    auto* outer = new QVBoxLayout(this);
    auto* box = new QGroupBox(Label("IDS_MODULE_FIRSETDLG_MODULEPARAMETER"), this);
    outer->addWidget(box);
    auto* grid = new QGridLayout(box);
    int row = 0;
    const auto addRow = [&](const char* key, QWidget* control) {
        auto* label = new QLabel(Label(key), box);
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1);
        ++row;
        return label;
    };

    auto* typeRow = new QWidget(box);
    auto* typeLayout = new QHBoxLayout(typeRow);
    typeLayout->setContentsMargins(0, 0, 0, 0);
    m_types = new QButtonGroup(this);
    for (const Choice& choice : choices::ModuleTypes()) {
        auto* button = new QRadioButton(Label(choice.labelKey), typeRow);
        SetResourceId(button, kTypeButtonIds[choice.value]);
        m_types->addButton(button, choice.value);
        typeLayout->addWidget(button);
    }
    addRow("IDS_MODULE_FIRSETDLG_MODULETYPE", typeRow);
    m_virtualMode = MakeList(box, 20011, choices::VirtualModes());
    addRow("IDS_MODULE_FIRSETDLG_VIRTUALLAYOUTMODE", m_virtualMode);
    m_colourSwap = new QCheckBox(Label("IDS_MODULE_FIRSETDLG_COLOR_SWAP"), box);
    SetResourceId(m_colourSwap, 20545);
    grid->addWidget(m_colourSwap, row++, 1);
    m_xPoints = MakeNumberEdit(box, 20502);
    addRow("IDS_MODULE_FIRSETDLG_XPOINTS", m_xPoints);
    m_yPoints = MakeNumberEdit(box, 20503);
    addRow("IDS_MODULE_FIRSETDLG_YPOINTS", m_yPoints);
    m_dataGroups = MakeNumberEdit(box, 20504);
    addRow("IDS_MODULE_FIRSETDLG_DATALINEGROUPS", m_dataGroups);
    m_virtualPosition = MakeNumberEdit(box, 20505);
    addRow("IDS_MODULE_FIRSETDLG_VIRTUALPOS", m_virtualPosition)->hide();
    m_virtualPosition->hide();
    m_virtualLength = MakeNumberEdit(box, 20506);
    addRow("IDS_MODULE_FIRSETDLG_VIRTUALLEN", m_virtualLength)->hide();
    m_virtualLength->hide();

    m_scanChip = new QComboBox(box);
    SetResourceId(m_scanChip, 20010);
    m_scanChip->installEventFilter(this);
    addRow("IDS_MODULE_FIRSETDLG_SCANCHIP", m_scanChip);
    m_driverChip = new QComboBox(box);
    SetResourceId(m_driverChip, 20014);
    addRow("IDS_MODULE_FIRSETDLG_DRIVERCHIP", m_driverChip);
    m_oneGroupCut = new QCheckBox(Label("IDS_MODULE_FIRSETDLG_ONEGROUPCUTMODULE"), box);
    SetResourceId(m_oneGroupCut, 20534);
    grid->addWidget(m_oneGroupCut, row++, 1);
    m_splitMode = MakeList(box, 20013, choices::SplitModes());
    addRow("IDS_MODULE_FIRSETDLG_SPLITMODE", m_splitMode);
    m_polarity = MakeList(box, 20015, choices::Polarities());
    addRow("IDS_MODULE_FIRSETDLG_ROW_BLANKING_POLAR", m_polarity);
    m_discharge = MakeList(box, 20016, choices::Discharges());
    addRow("IDS_MODULE_FIRSETDLG_ROW_DISCHARGE_SET", m_discharge);
    m_groupDataMode = MakeList(box, 13095, choices::GroupDataModes());
    addRow("IDS_MUTI_CHIP_CONFIGSTATIC_GROUP_ENABLE", m_groupDataMode);
    m_dataLineType = MakeList(box, 13096, choices::DataLineTypes());
    addRow("IDS_MODULE_FIRSETDLG_TATIC_DATALINE_TYPE", m_dataLineType);
    m_multiClock = MakeList(box, 3062, choices::MultiClocks());
    addRow("IDS_MODULE_FIRSETDLG_MULTI_CLOCK", m_multiClock);
    m_hubContinuous = new QCheckBox(Label("IDS_MODULE_FIRSETDLG_HUB_ADDRESS_CONTINUE"), box);
    SetResourceId(m_hubContinuous, 20563);
    grid->addWidget(m_hubContinuous, row++, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    m_cellDesign = new QPushButton(Label("IDS_MODULE_FIRSETDLG_MODULECELLDESIGON"), this);
    m_cellDesign->setObjectName(QStringLiteral("CellDesignButton"));
    m_transform = new QPushButton(Label("IDS_MODUL_UI_DIG_SETTING_BUTTON_TRANSFORM"), this);
    m_transform->setObjectName(QStringLiteral("TransformButton"));
    m_next = new QPushButton(Label("IDS_MODULE_FIRSETDLG_NEXT"), this);
    m_next->setObjectName(QStringLiteral("NextButton"));
    buttons->addWidget(m_cellDesign);
    buttons->addWidget(m_transform);
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    outer->addLayout(buttons);
    outer->addStretch(1);
}

void CFirstPageSettingDlg::Connect()
{
    connect(m_types, &QButtonGroup::idClicked, this,
            [this](int id) { m_presenter->TypeChanged(static_cast<ModuleType>(id)); });
    connect(m_driverChip, &QComboBox::currentIndexChanged, this,
            [this] { m_presenter->DriverOrGroupModeChanged(); });
    connect(m_groupDataMode, &QComboBox::currentIndexChanged, this,
            [this] { m_presenter->DriverOrGroupModeChanged(); });
    connect(m_next, &QPushButton::clicked, this, [this] { m_presenter->Next(); });
    connect(m_cellDesign, &QPushButton::clicked, this, [this] { m_presenter->CellDesign(); });
    connect(m_transform, &QPushButton::clicked, this, [this] {
        CModuleTransformDlg dialog(m_document.Folder().Root(), this);
        dialog.exec();
    });
}

void CFirstPageSettingDlg::FindHostMainWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->property(contract::kMainWindowProperty).isValid()) {
            m_mainWindow = window;
            return;
        }
}

WindowHandle CFirstPageSettingDlg::HostMainWindow() const
{
    return m_mainWindow ? static_cast<WindowHandle>(m_mainWindow->winId()) : 0;
}

void CFirstPageSettingDlg::SetWizardStarter(ModuleParameterPresenter::WizardStarter starter)
{
    m_presenter->SetWizardStarter(std::move(starter));
}

int CFirstPageSettingDlg::Apply()
{
    return m_presenter->Apply();
}

void CFirstPageSettingDlg::ClosePendingWork()
{
    for (QDialog* dialog : findChildren<QDialog*>())
        if (dialog->isVisible())
            dialog->reject();
}

bool CFirstPageSettingDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The scan-chip list drops down twice as wide as the control: its names are long.
    if (watched == m_scanChip && event->type() == QEvent::Resize)
        m_scanChip->view()->setMinimumWidth(m_scanChip->width() * 2);
    return QWidget::eventFilter(watched, event);
}

void CFirstPageSettingDlg::ShowChipLists(const std::vector<std::u16string>& scanChips,
                                         const std::vector<std::u16string>& driverChips)
{
    const QSignalBlocker scanBlock(m_scanChip);
    const QSignalBlocker driverBlock(m_driverChip);
    m_scanChip->clear();
    for (const std::u16string& name : scanChips)
        m_scanChip->addItem(ToQString(name));
    m_driverChip->clear();
    for (const std::u16string& name : driverChips)
        m_driverChip->addItem(ToQString(name));
}

ModuleParameters CFirstPageSettingDlg::ReadControls() const
{
    ModuleParameters p;
    p.xPoints = m_xPoints->text().toUInt();
    p.yPoints = m_yPoints->text().toUInt();
    p.dataGroups = m_dataGroups->text().toUInt();
    p.virtualPosition = m_virtualPosition->text().toInt();
    p.virtualLength = m_virtualLength->text().toInt();
    if (m_types->checkedId() >= 0)
        p.moduleType = static_cast<ModuleType>(m_types->checkedId());
    p.virtualMode = m_virtualMode->currentIndex();
    p.colourSwap = m_colourSwap->isChecked();
    p.scanChip = m_scanChip->currentIndex();
    p.driverChip = m_driverChip->currentIndex();
    p.oneGroupCut = m_oneGroupCut->isChecked();
    p.splitMode = m_splitMode->currentIndex() < 0 ? -1 : SelectedValue(m_splitMode);
    p.polarity = m_polarity->currentIndex();
    p.discharge = m_discharge->currentIndex();
    p.groupDataMode = static_cast<std::uint16_t>(SelectedValue(m_groupDataMode));
    p.dataLineType = static_cast<std::uint16_t>(SelectedValue(m_dataLineType));
    p.multiClock = m_multiClock->currentIndex();
    p.hubAddressContinuous = m_hubContinuous->isChecked();
    return p;
}

void CFirstPageSettingDlg::ShowRecord(const ModuleParameters& p)
{
    const QSignalBlocker driverBlock(m_driverChip);
    const QSignalBlocker groupBlock(m_groupDataMode);
    m_xPoints->setText(QString::number(p.xPoints));
    m_yPoints->setText(QString::number(p.yPoints));
    m_dataGroups->setText(QString::number(p.dataGroups));
    m_virtualPosition->setText(QString::number(p.virtualPosition));
    m_virtualLength->setText(QString::number(p.virtualLength));
    if (QAbstractButton* type = m_types->button(static_cast<int>(p.moduleType)))
        type->setChecked(true);
    SelectIndex(m_virtualMode, p.virtualMode);
    m_colourSwap->setChecked(p.colourSwap);
    SelectIndex(m_scanChip, p.scanChip);
    SelectIndex(m_driverChip, p.driverChip);
    m_oneGroupCut->setChecked(p.oneGroupCut);
    SelectIndex(m_splitMode, p.splitMode);
    SelectIndex(m_polarity, p.polarity);
    SelectIndex(m_discharge, p.discharge);
    // These two lists are chosen by item value; the first item when none matches.
    SelectIndex(m_groupDataMode, choices::IndexOfValue(choices::GroupDataModes(), p.groupDataMode));
    SelectIndex(m_dataLineType, choices::IndexOfValue(choices::DataLineTypes(), p.dataLineType));
    SelectIndex(m_multiClock, p.multiClock);
    m_hubContinuous->setChecked(p.hubAddressContinuous);
}

void CFirstPageSettingDlg::ShowMultiClock(std::int32_t index)
{
    SelectIndex(m_multiClock, index);
}

void CFirstPageSettingDlg::ShowVirtualControls(bool virtualModule)
{
    m_virtualMode->setEnabled(virtualModule);
    m_colourSwap->setVisible(virtualModule);
}

void CFirstPageSettingDlg::ShowHubAddressCheck(bool visible)
{
    m_hubContinuous->setVisible(visible);
}

void CFirstPageSettingDlg::ShowCellDesigned(bool designed)
{
    m_cellDesign->setText(Label(designed ? "IDS_MODULE_FIRSETDLG_CELLDESIGNED"
                                         : "IDS_MODULE_FIRSETDLG_CELLNODESIGNED"));
}

} // namespace md
