#include "gui/layout/CStatusBarInfoDlg.h"

#include "core/layout/StatusBarInfo.h"
#include "core/platform/Texts.h"
#include "gui/ui/FlowLayout.h"
#include "gui/ui/ResourceId.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace md {

namespace {

/// The tracing texts the status field shows; the field is at least as wide as the widest.
constexpr const char* kStatusKeys[] = {"IDS_MODULE_STEP5DLG_START_EP",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_ING",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_FINISH",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_NOSUPPORT",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_MODE2_FINISH",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_SCANROW_POS"};

/// Positions, rows, groups and sizes are 16-bit: at most five digits.
constexpr int kDigits = 5;

QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

int WidestNumber(const QFontMetrics& metrics)
{
    int widest = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QString(kDigits, QChar(digit))));
    return widest;
}

} // namespace

CStatusBarInfoDlg::CStatusBarInfoDlg(StatusBarInfo& info, const Texts& texts, QWidget* parent)
    : QWidget(parent), m_info(info)
{
    SetResourceId(this, kDialogId);
    auto* flow = new FlowLayout(this, 12);
    flow->setContentsMargins(6, 3, 6, 3);
    const QFontMetrics metrics(font());
    const int numberWidth = WidestNumber(metrics) + 4;
    // A caption and its numbers stay together on one line; the numbers never change width.
    const auto add = [&](const char* key, std::initializer_list<int> ids) {
        auto* unit = new QWidget(this);
        auto* row = new QHBoxLayout(unit);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        row->addWidget(new QLabel(ToQString(texts.Text(key)), unit));
        for (int id : ids) {
            auto* field = new QLabel(unit);
            SetResourceId(field, id);
            field->setFixedWidth(numberWidth);
            row->addWidget(field);
        }
        flow->addWidget(unit);
    };
    add("IDS_MODULE_EPSTATUS_BAR_SELECTED_CELL", {20515, 20516});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_CELL", {20518, 20519});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_GROUP", {20520});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_ROW", {20521});
    add("IDS_MODULE_EPSTATUS_BAR_CURRENT_ROW_POS", {20522});
    // The status text takes the rest of the line, or a line of its own; longer texts (point-go
    // reports) wrap onto further lines.
    auto* status = new QLabel(this);
    SetResourceId(status, 20544);
    status->setWordWrap(true);
    int statusWidth = 0;
    for (const char* key : kStatusKeys)
        statusWidth = std::max(statusWidth, metrics.horizontalAdvance(ToQString(texts.Text(key))));
    status->setMinimumWidth(statusWidth + 4);
    flow->AddFiller(status);
    m_info.SetOnChange([this] { Show(); });
    Show();
}

CStatusBarInfoDlg::~CStatusBarInfoDlg()
{
    m_info.SetOnChange({});
}

QLabel* CStatusBarInfoDlg::Field(int id)
{
    return findChild<QLabel*>(QString::number(id));
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
