#pragma once

#include "core/parameters/ModuleDerivedValues.h"
#include "core/parameters/ModuleParameters.h"
#include "core/wizard/WizardInputs.h"

#include <filesystem>

class QWidget;

namespace md {

class ModuleDesignDocument;
class ModuleParameterPresenter;

/// Starts the smart-setting wizard from the module parameter page: its checked parameters
/// become the wizard's inputs, its dialogs run over the page, and what the wizard finds goes
/// back into the page.
class WizardLauncher
{
public:
    static WizardInputs InputsFrom(const ModuleParameters& parameters,
                                   const ModuleDerivedValues& derived);

    /// Runs the wizard to its end over the design document's controller link; the page's
    /// presenter takes the results.
    static void Run(QWidget* page, ModuleParameterPresenter& presenter,
                    ModuleDesignDocument& document, const ModuleParameters& parameters,
                    const ModuleDerivedValues& derived, WindowHandle owner);
};

} // namespace md
