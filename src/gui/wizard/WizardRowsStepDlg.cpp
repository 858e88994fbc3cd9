#include "gui/wizard/WizardRowsStepDlg.h"

#include "core/wizard/WizardSteps.h"
#include "gui/ui/HostText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace md {

WizardRowsStepDlg::WizardRowsStepDlg(WizardStep3& step, QWidget* parent)
    : WizardStepDlg("IDS_MODULE_STEP3DLG_TITLE", QString::fromUtf8("智能设置--步骤3"), "", parent),
      m_step(step)
{
    auto* form = new QFormLayout;
    m_rows = new QComboBox(this);
    m_rows->setObjectName("ScanRows");
    for (int rows = 1; rows <= WizardStep3::kMaxRows; ++rows)
        m_rows->addItem(QString::asprintf("%d", rows), rows);
    m_rows->setCurrentIndex(step.Rows() - 1);
    form->addRow(
        HostText("IDS_MODULE_STEP3DLG_SCANROWS", QString::fromUtf8("间隔行数(含一行亮行):")),
        m_rows);
    Body()->addLayout(form);
    auto* hint = new QLabel(HostText("IDS_MODULE_STEP3DLG_SCANROWINFOPROMPT"), this);
    hint->setWordWrap(true);
    hint->setStyleSheet("color: #606060");
    Body()->addWidget(hint);
}

bool WizardRowsStepDlg::CanFinish()
{
    return m_step.SetRows(m_rows->currentData().toInt());
}

} // namespace md
