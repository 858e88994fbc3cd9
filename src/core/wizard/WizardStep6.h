#pragma once

#include "core/wizard/SmartWizard.h"

#include <functional>

namespace md {

/// Step 6, the wizard's last: save the combined file where the user wants it (with the driver
/// and HUB files beside it when asked, choices kept in the profile), or crop the module to its
/// real range first.
class WizardStep6
{
public:
    WizardStep6(WizardContext context, int moduleWidth, int moduleHeight);

    bool SaveDriverFile() const;
    bool SaveHubFile() const;
    /// Toggling a choice writes it to the profile at once.
    void SetSaveDriverFile(bool save);
    void SetSaveHubFile(bool save);

    /// Finish: true when the combined file was saved and handed to the controller sender (the
    /// step closes); false keeps the step open (cancelled save dialog, failed copy, no host).
    bool Finish();
    /// Crop: runs the range dialog and hands the range to the design panel; true when the page
    /// took the cropped size.
    bool Crop();

    std::function<void(int width, int height)> onCropped;

private:
    void Say(const char* key);

    WizardContext m_context;
    int m_width;
    int m_height;
};

} // namespace md
