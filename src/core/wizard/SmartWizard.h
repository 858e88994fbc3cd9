#pragma once

#include "core/wizard/CombinedFile.h"
#include "core/wizard/WizardInputs.h"
#include "md/ModuleRecord.h"
#include "md/SocketRequest.h"

#include <cstdint>
#include <filesystem>
#include <functional>

namespace md {

class CommandChannel;
class CodePage;
class Profile;
class Prompter;
class Texts;
class WizardDialogs;
class FileChooser;
class HostServices;

/// What the wizard leaves for the design after it: the 16-bit copies of S, B and the scan rows
/// that the HUB address dialog and the layout step use, and the values of the last combined
/// file, so that a cut design can be combined again.
struct WizardMemory
{
    std::uint16_t driverPolarity = 0;
    std::uint16_t scanPolarity = 0;
    std::uint16_t scanRows = 0;
    bool combined = false;
    CombinedTrailer trailer;
    /// Where step 6 saved the combined file last; its dialog opens there.
    std::filesystem::path finished;
};

/// Everything the wizard talks to.
struct WizardContext
{
    CommandChannel& channel;
    WizardDialogs& dialogs;
    Prompter& prompter;
    const Texts& texts;
    FileChooser& files;
    Profile& profile;
    const CodePage& codePage;
    std::filesystem::path programFolder;
    WizardMemory& memory;
    HostServices& host;
};

/// The smart-setting wizard: drives the module through the command area while steps 1 to 4 ask
/// what it shows, hands the module record to the design panel, has the socket component write
/// the HUB file, combines the driver and HUB files, hands the combined file to the controller
/// side and ends with step 6. Any cancel or failure abandons at once, clearing the wizard flag.
class SmartWizard
{
public:
    enum class Outcome
    {
        Finished,
        Cancelled,
        Abandoned
    };

    SmartWizard(WizardContext context, WizardInputs inputs);

    /// Runs the whole wizard; the page reads Results() afterwards whatever the outcome.
    Outcome Run();
    const WizardResults& Results() const { return m_results; }
    const ModuleRecord& Record() const { return m_record; }
    const SocketRequest& Request() const { return m_request; }
    /// The page takes the cropped module size (step 6, Crop).
    std::function<void(int width, int height)> onCropped;

    /// Driver chip types for which steps 1 and 2 are skipped.
    static bool SkipsPolaritySteps(std::int32_t driverType);
    /// Types that drive several clocks by themselves: the multi-clock index is cleared for them.
    static bool ClearsMultiClock(std::int32_t driverType);
    /// Lines the module's colour type needs.
    static int ExpectedLineCount(int colourType);
    static int LineFactor(const WizardInputs& inputs);
    static bool FullColourSpecial(const WizardInputs& inputs);

private:
    Outcome Abandon();
    bool RunSteps();
    void BuildRecord();
    void BuildSocketRequest();
    bool HandOver();
    void Say(const char* key);

    WizardContext m_context;
    WizardInputs m_inputs;
    WizardResults m_results;
    ModuleRecord m_record{};
    SocketRequest m_request{};
    std::uint32_t m_s = 0;
    std::uint32_t m_b = 0;
    std::uint32_t m_count = 0;
    int m_rows = 0;
    int m_multiClock = 0;
    int m_expectedLines = 0;
    std::vector<std::uint16_t> m_lineColours;
    std::array<std::uint8_t, 4> m_lineMap{};
};

} // namespace md
