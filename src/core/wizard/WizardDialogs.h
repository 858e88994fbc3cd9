#pragma once

namespace md {

class WizardStep1;
class WizardStep2;
class WizardStep3;
class WizardStep4;
class WizardStep6;
class RangeSelection;

/// Runs the wizard's step dialogs modally; each returns true for Next (or Finish) and false
/// for Cancel. The views bind the presenters to their widgets; tests script them.
class WizardDialogs
{
public:
    virtual ~WizardDialogs() = default;
    virtual bool RunStep1(WizardStep1& step) = 0;
    virtual bool RunStep2(WizardStep2& step) = 0;
    virtual bool RunStep3(WizardStep3& step) = 0;
    /// Step 4 stays open while its Finish refuses (every line black).
    virtual bool RunStep4(WizardStep4& step) = 0;
    virtual bool RunStep6(WizardStep6& step) = 0;
    /// The real-range dialog of step 6's Crop; true for OK with a selection.
    virtual bool RunRange(RangeSelection& selection) = 0;
};

} // namespace md
