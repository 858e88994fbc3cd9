#pragma once

#include "core/wizard/WizardDialogs.h"

class QWidget;

namespace md {

/// The wizard's steps as modal Qt dialogs over the given parent.
class QtWizardDialogs final : public WizardDialogs
{
public:
    explicit QtWizardDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    bool RunStep1(WizardStep1& step) override;
    bool RunStep2(WizardStep2& step) override;
    bool RunStep3(WizardStep3& step) override;
    bool RunStep4(WizardStep4& step) override;
    bool RunStep6(WizardStep6& step) override;
    bool RunRange(RangeSelection& selection) override;

private:
    QWidget* m_parent;
};

} // namespace md
