#pragma once

#include <QDialog>

namespace md {

class WizardStep6;

/// Step 6 (20109): save the combined file, optionally with the driver and HUB files, or crop
/// the module to its real range.
class WizardFinishDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20109;

    WizardFinishDlg(WizardStep6& step, QWidget* parent = nullptr);

private:
    WizardStep6& m_step;
};

} // namespace md
