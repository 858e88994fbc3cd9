#include "gui/design/NewModuleInfo.h"

#include "gui/host/HostLink.h"
#include "gui/host/HostTexts.h"
#include "gui/platform/QtPrompter.h"
#include "gui/ui/ResourceId.h"
#include "gui/ui/StandardButtonTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace md {

namespace {

std::vector<NewModuleInfoRecord::Chip> HostChips()
{
    std::vector<NewModuleInfoRecord::Chip> chips;
    for (const auto& chip : HostLink::Chips())
        chips.push_back({chip.name, chip.kind, chip.chipType, chip.value});
    return chips;
}

QString ToQt(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

QLineEdit* Edit(QWidget* parent, int id, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    SetResourceId(edit, id);
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

NewModuleInfo::NewModuleInfo(QWidget* parent) : NewModuleInfo(HostChips(), nullptr, nullptr, parent)
{}

NewModuleInfo::NewModuleInfo(std::vector<NewModuleInfoRecord::Chip> library, Prompter* prompter,
                             const Texts* texts, QWidget* parent)
    : QDialog(parent),
      m_presenter(std::make_unique<NewModuleInfoPresenter>(m_record, std::move(library))),
      m_prompter(prompter), m_texts(texts)
{
    if (!m_prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    if (!m_texts) {
        m_ownTexts = std::make_unique<HostTexts>();
        m_texts = m_ownTexts.get();
    }
    SetResourceId(this, kResourceId);
    setWindowTitle(Text("IDS_MD_NEWMODULE_TITLE", QStringLiteral("新建模块")));
    BuildControls();
}

NewModuleInfo::~NewModuleInfo() {}

QString NewModuleInfo::Text(const char* key, const QString& fallback) const
{
    const std::u16string text = m_texts->Text(key);
    return text.empty() ? fallback : QString::fromStdU16String(text);
}

void NewModuleInfo::BuildControls()
{
    auto* grid = new QGridLayout(this);
    m_pins = Edit(this, kPins, 2);
    m_scanRows = Edit(this, kScanRows, 2);
    m_length = Edit(this, kLength, 3);
    m_width = Edit(this, kWidth, 3);
    const int nameIds[] = {kName1, kName2, kName3, kName4};
    auto* nameRow = new QHBoxLayout;
    for (std::size_t i = 0; i < m_nameParts.size(); ++i) {
        m_nameParts[i] = Edit(this, nameIds[i], 6);
        nameRow->addWidget(m_nameParts[i]);
    }
    m_driverChip = new QComboBox(this);
    SetResourceId(m_driverChip, kDriverChip);
    m_scanChip = new QComboBox(this);
    SetResourceId(m_scanChip, kScanChip);
    m_driverType = Edit(this, kDriverType, 8);
    m_scanType = Edit(this, kScanType, 8);
    m_driverType->setReadOnly(true);
    m_scanType->setReadOnly(true);

    int row = 0;
    grid->addWidget(new QLabel(Text("IDS_MD_NEWMODULE_NAME", QStringLiteral("模块规格:")), this),
                    row, 0);
    grid->addLayout(nameRow, row++, 1, 1, 3);
    grid->addWidget(new QLabel(Text("IDS_MD_NEWMODULE_PINS", QStringLiteral("插针数:")), this), row,
                    0);
    grid->addWidget(m_pins, row, 1);
    grid->addWidget(new QLabel(Text("IDS_MD_NEWMODULE_SCAN_ROWS", QStringLiteral("扫描数:")), this),
                    row, 2);
    grid->addWidget(m_scanRows, row++, 3);
    grid->addWidget(new QLabel(Text("IDS_MD_NEWMODULE_LENGTH", QStringLiteral("长度:")), this), row,
                    0);
    grid->addWidget(m_length, row, 1);
    grid->addWidget(new QLabel(Text("IDS_MD_NEWMODULE_WIDTH", QStringLiteral("宽度:")), this), row,
                    2);
    grid->addWidget(m_width, row++, 3);
    grid->addWidget(
        new QLabel(Text("IDS_MD_NEWMODULE_DRIVER_CHIP", QStringLiteral("驱动芯片:")), this), row,
        0);
    grid->addWidget(m_driverChip, row, 1);
    grid->addWidget(
        new QLabel(Text("IDS_MD_NEWMODULE_CHIP_TYPE", QStringLiteral("芯片类型:")), this), row, 2);
    grid->addWidget(m_driverType, row++, 3);
    grid->addWidget(
        new QLabel(Text("IDS_MD_NEWMODULE_SCAN_CHIP", QStringLiteral("扫描芯片:")), this), row, 0);
    grid->addWidget(m_scanChip, row, 1);
    grid->addWidget(
        new QLabel(Text("IDS_MD_NEWMODULE_CHIP_TYPE", QStringLiteral("芯片类型:")), this), row, 2);
    grid->addWidget(m_scanType, row++, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    LocalizeStandardButtons(*buttons);
    grid->addWidget(buttons, row, 0, 1, 4);

    connect(buttons, &QDialogButtonBox::accepted, this, &NewModuleInfo::Confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_driverChip, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_presenter->SelectDriverChip(index < 0 ? std::nullopt : std::optional<std::size_t>(index));
        ShowPresenterState();
    });
    connect(m_scanChip, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_presenter->SelectScanChip(index < 0 ? std::nullopt : std::optional<std::size_t>(index));
        ShowPresenterState();
    });
    connect(m_scanRows, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_presenter->ScanRowsEdited(text.toStdU16String());
        ShowPresenterState();
    });
}

void NewModuleInfo::Open()
{
    m_presenter->Open();
    const QSignalBlocker blockDriver(m_driverChip);
    const QSignalBlocker blockScan(m_scanChip);
    m_driverChip->clear();
    m_scanChip->clear();
    for (const auto& name : m_presenter->DriverChipNames())
        m_driverChip->addItem(ToQt(name));
    for (const auto& name : m_presenter->ScanChipNames())
        m_scanChip->addItem(ToQt(name));
    m_driverChip->setCurrentIndex(-1);
    m_scanChip->setCurrentIndex(-1);
    const auto fields = m_presenter->FieldsFromRecord();
    m_pins->setText(ToQt(fields.pins));
    m_length->setText(ToQt(fields.length));
    m_width->setText(ToQt(fields.width));
    for (std::size_t i = 0; i < m_nameParts.size(); ++i)
        m_nameParts[i]->setText(ToQt(fields.nameParts[i]));
    m_scanRows->setText(ToQt(fields.scanRows));
    m_presenter->ScanRowsEdited(fields.scanRows);
    ShowPresenterState();
}

void NewModuleInfo::ShowPresenterState()
{
    const QSignalBlocker blockScan(m_scanChip);
    m_driverType->setText(ToQt(m_presenter->DriverTypeText()));
    m_scanType->setText(ToQt(m_presenter->ScanTypeText()));
    m_scanChip->setEnabled(m_presenter->ScanListEnabled());
    const auto selection = m_presenter->ScanSelection();
    m_scanChip->setCurrentIndex(selection ? static_cast<int>(*selection) : -1);
}

void NewModuleInfo::Confirm()
{
    NewModuleInfoFields fields;
    fields.pins = m_pins->text().toStdU16String();
    fields.scanRows = m_scanRows->text().toStdU16String();
    fields.length = m_length->text().toStdU16String();
    fields.width = m_width->text().toStdU16String();
    for (std::size_t i = 0; i < m_nameParts.size(); ++i)
        fields.nameParts[i] = m_nameParts[i]->text().toStdU16String();
    if (m_presenter->Confirm(fields, *m_prompter, *m_texts))
        accept();
}

bool NewModuleInfo::RunModal()
{
    Open();
    return exec() == QDialog::Accepted;
}

void NewModuleInfo::SetFromRecord(const NewModuleInfoRecord& record)
{
    m_record.pinCount = record.pinCount;
    m_record.scanRows = record.scanRows;
    m_record.xPixels = record.xPixels;
    m_record.yPixels = record.yPixels;
    m_record.nameParts = record.nameParts;
    m_record.driverChip = record.driverChip;
    m_record.scanChip = record.scanChip;
}

} // namespace md
