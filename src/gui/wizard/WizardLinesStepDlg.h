#pragma once

#include "gui/wizard/WizardStepDlg.h"

#include <array>

class QComboBox;
class QPushButton;

namespace md {

class WizardStep4;

/// Step 4: the colour each data line shows while its button lights it.
class WizardLinesStepDlg : public WizardStepDlg
{
    Q_OBJECT
public:
    WizardLinesStepDlg(WizardStep4& step, QWidget* parent = nullptr);
    QComboBox* List(int line) const { return m_lists[static_cast<std::size_t>(line)]; }
    QPushButton* LineButton(int line) const { return m_buttons[static_cast<std::size_t>(line)]; }

protected:
    bool CanFinish() override;

private:
    WizardStep4& m_step;
    std::array<QComboBox*, 4> m_lists{};
    std::array<QPushButton*, 4> m_buttons{};
};

} // namespace md
