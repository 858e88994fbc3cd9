#pragma once

#include "core/wizard/SmartWizard.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace md {

/// Step 6, the wizard's last: save the combined file where the user wants it (with the driver
/// and HUB files beside it when asked, choices kept in the profile), or crop the module to its
/// real range first. Only the combined file this run wrote from the current driver file is
/// saved and handed on; every refusal names the path and the reason.
class WizardStep6
{
public:
    WizardStep6(WizardContext context, int moduleWidth, int moduleHeight);

    bool SaveDriverFile() const;
    bool SaveHubFile() const;
    /// Toggling a choice writes it to the profile at once.
    void SetSaveDriverFile(bool save);
    void SetSaveHubFile(bool save);

    /// Takes the combined file now in the temp folder, and the driver file it holds, as this
    /// run's: the wizard calls it after its combine, Crop after the design panel combined the
    /// cut module again.
    void TakeCombinedFile();

    /// Finish: true when the combined file was saved and handed to the controller sender (the
    /// step closes); false keeps the step open (cancelled save dialog, refused target, no
    /// combined file of this run, failed write, no host).
    bool Finish();
    /// Crop: runs the range dialog and hands the range to the design panel; true when the page
    /// took the cropped size.
    bool Crop();

    std::function<void(int width, int height)> onCropped;

private:
    /// What tells one version of a file from another: a new file renamed into place has
    /// another inode, a rewrite another time or size.
    struct Stamp
    {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modified = 0; ///< nanoseconds
        bool operator==(const Stamp&) const = default;
    };
    static std::optional<Stamp> StampOf(const std::filesystem::path& path);

    std::filesystem::path Temp(const char* name) const;
    /// Why the combined file in the temp folder is not this run's current one; nullptr when it is.
    const char* CombinedFileProblem() const;
    void Say(const char* key);
    /// The message, then the path and the reason on a second line.
    void Refuse(const char* key, const std::filesystem::path& path, const char* reason);
    void CopyBeside(const char* temp, const std::filesystem::path& target);

    WizardContext m_context;
    int m_width;
    int m_height;
    std::optional<Stamp> m_combined;
    std::optional<Stamp> m_driver;
    bool m_cropFailed = false;
};

} // namespace md
