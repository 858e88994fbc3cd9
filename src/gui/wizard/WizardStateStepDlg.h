#pragma once

#include "gui/wizard/WizardStepDlg.h"

#include <functional>

class QRadioButton;

namespace md {

class WizardStep1;
class WizardStep2;

/// Steps 1 and 2: two radio buttons for the two polarity states the module is shown in.
class WizardStateStepDlg : public WizardStepDlg
{
    Q_OBJECT
public:
    /// Step 1: which state lights the whole module; a hidden button (3) flips the bit.
    WizardStateStepDlg(WizardStep1& step, QWidget* parent = nullptr);
    /// Step 2: which state is brighter.
    WizardStateStepDlg(WizardStep2& step, QWidget* parent = nullptr);

    QRadioButton* State1() const { return m_state1; }
    QRadioButton* State2() const { return m_state2; }

private:
    void Build(const char* state1Key, const QString& state1Fallback, const char* state2Key,
               const QString& state2Fallback, bool state1Chosen, std::function<void()> chooseState1,
               std::function<void()> chooseState2);

    QRadioButton* m_state1 = nullptr;
    QRadioButton* m_state2 = nullptr;
};

} // namespace md
