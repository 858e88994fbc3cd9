#pragma once

#include "core/driverfile/DesignPartsFile.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/posix/SystemClock.h"
#include "gui/host/HostTexts.h"
#include "gui/platform/FrontPorts.h"
#include "gui/platform/QtPictureCodec.h"

#include <filesystem>

namespace md {

/// The ports a window that reads and writes driver files hands its presenter: message boxes
/// and file dialogs over the window in front, the host's texts, pictures, the code page and
/// program version of the runtime settings, GUIDs and the clock.
struct QtDesignPorts
{
    explicit QtDesignPorts(const std::filesystem::path& runInfo);

    DesignFilePorts Files() { return {codePage, codec, guids, clock, version}; }

    FrontPrompter prompter;
    FrontFileChooser chooser;
    HostTexts texts;
    QtPictureCodec codec;
    CodePage codePage;
    RandomGuids guids;
    SystemClock clock;
    VersionWords version;
};

} // namespace md
