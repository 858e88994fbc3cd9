#include "gui/wizard/HubAddressDlg.h"

#include "core/controller/CommandChannel.h"
#include "core/controller/CommandWords.h"
#include "core/wizard/SmartWizard.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace md {

namespace {
constexpr QRgb kOccupied = 0xD0D0FF;
constexpr QRgb kEmptyTint = 0xD0FFD0;

QComboBox* AddressCombo(int id, std::int32_t* target, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    SetResourceId(combo, id);
    for (int value = 0; value < 32; ++value)
        combo->addItem(QString::asprintf("%d", value));
    combo->setCurrentIndex(target && *target >= 0 && *target < 32 ? *target : 0);
    QObject::connect(combo, &QComboBox::currentIndexChanged, parent, [target](int index) {
        if (target)
            *target = index;
    });
    return combo;
}
} // namespace

HubAddressDlg::HubAddressDlg(std::int32_t* connectorAddress, std::int32_t* scanRowAddress,
                             ConnectorTable& table, int multiClock, const WizardMemory& memory,
                             CommandChannel& channel, QWidget* parent)
    : QDialog(parent), m_connector(connectorAddress), m_scanRow(scanRowAddress), m_table(table),
      m_memory(memory), m_channel(channel), m_arranger(table, multiClock),
      m_size(std::clamp(multiClock, 0, 7) + 2)
{
    SetResourceId(this, kResourceId);
    setWindowTitle(HostText("IDS_MODULE_STEP5DLG_HUBADDRESS_TITLE",
                            QString::fromUtf8("模块连接的HUB插头地址选择")));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(HostText("IDS_MODULE_STEP5DLG_STATIC_HUBADDRESS"),
                 AddressCombo(20535, connectorAddress, this));
    const QString rowLabel = HostText("IDS_HUBADDRESSSETECT_UI_DIG_SCANROW_SELECT");
    form->addRow(rowLabel, AddressCombo(20536, scanRowAddress, this));
    layout->addLayout(form);
    auto* prompt = new QLabel(HostText("IDS_MODULE_STEP5DLG_PROMPT"), this);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    m_grid = new QTableWidget(m_size - 1, m_size - 1, this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    for (auto* header : {m_grid->horizontalHeader(), m_grid->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setDefaultSectionSize(40);
    }
    m_grid->viewport()->installEventFilter(this);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    FillGrid();
}

void HubAddressDlg::FillGrid()
{
    for (int r = 0; r < m_size - 1; ++r) {
        for (int c = 0; c < m_size - 1; ++c) {
            const std::int32_t value = m_table.cells[r][c];
            auto* item = new QTableWidgetItem(
                value >= 0 ? QString::fromStdString(HubAddressArranger::SlotText(value))
                           : QString());
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(QColor::fromRgb(value >= 0 ? kOccupied : kEmptyTint));
            m_grid->setItem(r, c, item);
        }
    }
}

void HubAddressDlg::PressCell(int row, int column)
{
    const auto slot = m_arranger.Press(row, column);
    if (!slot)
        return;
    const WizardMemory& memory = m_memory;
    m_channel.Send(
        commandwords::HubAddress(memory.driverPolarity, memory.scanPolarity, memory.scanRows,
                                 static_cast<std::uint32_t>(*slot),
                                 static_cast<std::uint32_t>(m_connector ? *m_connector : 0)));
}

void HubAddressDlg::DropOnCell(int row, int column)
{
    if (m_arranger.Drop(row, column))
        FillGrid();
}

bool HubAddressDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                          event->type() == QEvent::MouseButtonRelease)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_grid->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index.isValid()) {
            if (event->type() == QEvent::MouseButtonPress)
                PressCell(index.row() + 1, index.column() + 1);
            else
                DropOnCell(index.row() + 1, index.column() + 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace md
