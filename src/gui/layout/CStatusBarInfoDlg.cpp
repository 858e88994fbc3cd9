#include "gui/layout/CStatusBarInfoDlg.h"

#include "core/layout/StatusBarInfo.h"
#include "core/platform/Texts.h"
#include "gui/ui/ResourceId.h"

#include <QHBoxLayout>
#include <QLabel>

namespace md {

namespace {

QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CStatusBarInfoDlg::CStatusBarInfoDlg(StatusBarInfo& info, const Texts& texts, QWidget* parent)
    : QWidget(parent), m_info(info)
{
    SetResourceId(this, kDialogId);
    auto* row = new QHBoxLayout(this);
    const auto add = [&](const char* key, std::initializer_list<int> ids) {
        row->addWidget(new QLabel(ToQString(texts.Text(key)), this));
        for (int id : ids) {
            auto* field = new QLabel(this);
            SetResourceId(field, id);
            field->setMinimumWidth(28);
            row->addWidget(field);
        }
    };
    add("IDS_MODULE_EPSTATUS_BAR_SELECTED_CELL", {20515, 20516});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_CELL", {20518, 20519});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_GROUP", {20520});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_ROW", {20521});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_ROW_POS", {20522});
    auto* status = new QLabel(this);
    SetResourceId(status, 20544);
    row->addWidget(status, 1);
    m_info.SetOnChange([this] { Show(); });
    Show();
}

CStatusBarInfoDlg::~CStatusBarInfoDlg()
{
    m_info.SetOnChange({});
}

QLabel* CStatusBarInfoDlg::Field(int id)
{
    return findChild<QLabel*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void CStatusBarInfoDlg::Show()
{
    Field(20515)->setText(QString::number(m_info.SelectedColumn()));
    Field(20516)->setText(QString::number(m_info.SelectedRow()));
    Field(20518)->setText(QString::number(m_info.CurrentRow()));
    Field(20519)->setText(QString::number(m_info.CurrentColumn()));
    Field(20520)->setText(QString::number(m_info.Group()));
    Field(20521)->setText(QString::number(m_info.Row()));
    Field(20522)->setText(QString::number(m_info.RowPosition()));
    Field(20544)->setText(ToQString(m_info.StatusText()));
}

} // namespace md
