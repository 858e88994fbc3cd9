#pragma once

#include "gui/wizard/WizardStepDlg.h"

class QComboBox;

namespace md {

class WizardStep3;

/// Step 3: the number of scan rows, read off the module as the interval between lit rows.
class WizardRowsStepDlg : public WizardStepDlg
{
    Q_OBJECT
public:
    WizardRowsStepDlg(WizardStep3& step, QWidget* parent = nullptr);
    QComboBox* Rows() const { return m_rows; }

protected:
    bool CanFinish() override;

private:
    WizardStep3& m_step;
    QComboBox* m_rows = nullptr;
};

} // namespace md
