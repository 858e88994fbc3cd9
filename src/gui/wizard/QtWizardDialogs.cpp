#include "gui/wizard/QtWizardDialogs.h"

#include "core/wizard/RangeSelection.h"
#include "gui/wizard/ModuleRangeDlg.h"
#include "gui/wizard/WizardFinishDlg.h"
#include "gui/wizard/WizardLinesStepDlg.h"
#include "gui/wizard/WizardRowsStepDlg.h"
#include "gui/wizard/WizardStateStepDlg.h"

namespace md {

bool QtWizardDialogs::RunStep1(WizardStep1& step)
{
    return WizardStateStepDlg(step, m_parent).exec() == QDialog::Accepted;
}

bool QtWizardDialogs::RunStep2(WizardStep2& step)
{
    return WizardStateStepDlg(step, m_parent).exec() == QDialog::Accepted;
}

bool QtWizardDialogs::RunStep3(WizardStep3& step)
{
    return WizardRowsStepDlg(step, m_parent).exec() == QDialog::Accepted;
}

bool QtWizardDialogs::RunStep4(WizardStep4& step)
{
    return WizardLinesStepDlg(step, m_parent).exec() == QDialog::Accepted;
}

bool QtWizardDialogs::RunStep6(WizardStep6& step)
{
    return WizardFinishDlg(step, m_parent).exec() == QDialog::Accepted;
}

bool QtWizardDialogs::RunRange(RangeSelection& selection)
{
    return ModuleRangeDlg(selection, m_parent).exec() == QDialog::Accepted;
}

} // namespace md
