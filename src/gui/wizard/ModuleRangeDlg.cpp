#include "gui/wizard/ModuleRangeDlg.h"

#include "core/wizard/RangeSelection.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace md {

namespace {

/// Empty cells over the module's pixels; the headers count columns and rows from 1.
class PixelGridModel final : public QAbstractTableModel
{
public:
    PixelGridModel(int width, int height, QObject* parent)
        : QAbstractTableModel(parent), m_width(width), m_height(height)
    {}
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_height;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_width;
    }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    QVariant headerData(int section, Qt::Orientation, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QString::asprintf("%d", section + 1))
                                       : QVariant();
    }

private:
    int m_width;
    int m_height;
};

} // namespace

ModuleRangeDlg::ModuleRangeDlg(RangeSelection& selection, QWidget* parent)
    : QDialog(parent), m_selection(selection)
{
    SetResourceId(this, kResourceId);
    setWindowTitle(HostText("IDS_MODULE_RANGEDLG_NAME", QString::fromUtf8("模组真实范围选取")));
    resize(760, 560);
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableView(this);
    m_grid->setModel(new PixelGridModel(selection.Width(), selection.Height(), m_grid));
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setDefaultSectionSize(25);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->setStyleSheet("QTableView { background: #FFFFFF; gridline-color: #000000; "
                          "selection-background-color: #00FF00; }");
    layout->addWidget(m_grid, 1);
    m_replace =
        new QCheckBox(HostText("IDS_MD_RANGE_REPLACE_PIXELS", QString::fromUtf8("替换像素")), this);
    layout->addWidget(m_replace);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(HostText("IDS_MODULE_RANGEDLG_OK", tr("OK")), QDialogButtonBox::AcceptRole);
    buttons->addButton(HostText("IDS_MODULE_RANGEDLG_CANCEL", tr("Cancel")),
                       QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ModuleRangeDlg::Confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ModuleRangeDlg::Confirm()
{
    m_selection.Clear();
    for (const QModelIndex& index : m_grid->selectionModel()->selectedIndexes())
        m_selection.Select(index.column(), index.row());
    m_selection.SetReplacePixels(m_replace->isChecked());
    if (!m_selection.Confirm())
        return; // nothing chosen: the dialog stays open
    accept();
}

} // namespace md
