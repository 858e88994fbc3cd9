#include "gui/layout/CEPModeDlg.h"

#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

namespace md {

CEPModeDlg::CEPModeDlg(int value, QWidget* parent) : QDialog(parent), m_presenter(value)
{
    SetResourceId(this, TracingModePresenter::kDialogId);
    setWindowTitle(HostText("IDS_MD_EPMODE_TITLE", QStringLiteral("模式选择")));
    m_modeOne = new QRadioButton(HostText("IDS_MD_EPMODE_ONE", QStringLiteral("模式一")), this);
    m_modeTwo = new QRadioButton(HostText("IDS_MD_EPMODE_TWO", QStringLiteral("模式二")), this);
    SetResourceId(m_modeOne, TracingModePresenter::kModeOneId);
    SetResourceId(m_modeTwo, TracingModePresenter::kModeTwoId);
    m_modeOne->setAutoExclusive(false);
    m_modeTwo->setAutoExclusive(false);
    for (QRadioButton* radio : {m_modeOne, m_modeTwo})
        connect(radio, &QRadioButton::clicked, this, [this, radio] {
            m_presenter.RadioClicked(radio->objectName().toInt());
            ShowValue();
        });
    auto* ok = new QPushButton(HostText("IDS_MD_BUTTON_OK", QStringLiteral("确定")), this);
    auto* cancel = new QPushButton(HostText("IDS_MD_BUTTON_CANCEL", QStringLiteral("取消")), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_modeOne, 0, 0);
    grid->addWidget(m_modeTwo, 0, 1);
    grid->addWidget(ok, 1, 0);
    grid->addWidget(cancel, 1, 1);
    ShowValue();
}

void CEPModeDlg::ShowValue()
{
    const int checked = m_presenter.CheckedRadio();
    m_modeOne->setChecked(checked == TracingModePresenter::kModeOneId);
    m_modeTwo->setChecked(checked == TracingModePresenter::kModeTwoId);
}

} // namespace md
