#include "gui/wizard/WizardLauncher.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/parameters/ModuleParameterPresenter.h"
#include "core/parameters/RuntimeSettings.h"
#include "core/posix/IniProfile.h"
#include "core/wizard/SmartWizard.h"
#include "gui/host/HostLink.h"
#include "gui/host/HostTexts.h"
#include "gui/platform/QtFileChooser.h"
#include "gui/platform/QtPrompter.h"
#include "gui/wizard/QtWizardDialogs.h"

#include <QWidget>

namespace md {

WizardInputs WizardLauncher::InputsFrom(const ModuleParameters& p, const ModuleDerivedValues& d)
{
    WizardInputs in;
    in.driverChip = d.driverChip;
    in.scanChip = d.scanChip;
    in.colourType = static_cast<int>(p.moduleType);
    in.dataGroups = p.dataGroups;
    in.xPixels = p.xPoints;
    in.yPixels = p.yPoints;
    in.splitByOneGroup = p.oneGroupCut;
    in.verticalSplit = p.splitMode == 1;
    in.virtualArrangement = p.virtualMode;
    in.rowBlankingPolarity = p.polarity;
    in.rowDischarge = p.discharge;
    in.groupingMode = p.groupDataMode;
    in.dataLineType = p.dataLineType;
    in.multiClock = p.multiClock;
    in.sameColourSwap = p.colourSwap;
    in.virtualPointPosition = static_cast<std::uint16_t>(p.virtualPosition);
    in.virtualPointLength = static_cast<std::uint16_t>(p.virtualLength);
    in.hubAddressContinuous = p.hubAddressContinuous;
    return in;
}

void WizardLauncher::Run(QWidget* page, ModuleParameterPresenter& presenter,
                         ModuleDesignDocument& document, const ModuleParameters& parameters,
                         const ModuleDerivedValues& derived, WindowHandle owner)
{
    // The hand-over at the wizard's end replaces the open design: the user decides first,
    // before anything reaches the command area.
    if (!document.MayReplaceDesign())
        return;
    const std::filesystem::path programFolder = document.Folder().Root();
    QtWizardDialogs dialogs(page);
    QtPrompter prompter(page);
    HostTexts texts;
    QtFileChooser files(page);
    IniProfile profile(IniProfile::DefaultPath());
    const CodePage codePage =
        RuntimeSettings::FromHost(HostLink::Services(), programFolder / "runinfo.ini")
            .NamesCodePage();
    WizardContext context{document.Controller().Channel(),
                          dialogs,
                          prompter,
                          texts,
                          files,
                          profile,
                          codePage,
                          programFolder,
                          document.Wizard(),
                          HostLink::Services()};
    WizardInputs inputs = InputsFrom(parameters, derived);
    inputs.owner = owner;
    SmartWizard wizard(context, inputs);
    bool cropped = false;
    wizard.onCropped = [&presenter, &cropped](int width, int height) {
        cropped = true;
        presenter.TakeModuleSize(static_cast<std::uint32_t>(width),
                                 static_cast<std::uint32_t>(height));
    };
    wizard.Run();
    const WizardResults& results = wizard.Results();
    if (results.polaritiesStored)
        presenter.TakeWizardPolarities(results.driverPolarity, results.scanPolarity);
    // A split by one group gives the record a smaller size than the page's; the page takes it,
    // unless the user cropped the module in step 6, whose size then stands.
    if (!cropped && results.width > 0 && results.height > 0 &&
        (static_cast<std::uint32_t>(results.width) != parameters.xPoints ||
         static_cast<std::uint32_t>(results.height) != parameters.yPoints))
        presenter.TakeModuleSize(static_cast<std::uint32_t>(results.width),
                                 static_cast<std::uint32_t>(results.height));
}

} // namespace md
