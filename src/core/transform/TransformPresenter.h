#pragma once

#include "core/io/ProgramFolder.h"
#include "core/transform/ModuleTransform.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace md {

class FileChooser;
class Prompter;
class Texts;

/// What the save-option dialog returns on OK: whether to write the combined file, and the HUB
/// file to combine with.
struct TransformSaveOptions
{
    bool combine = false;
    std::filesystem::path hub;
};

/// What the transform dialog talks to.
struct TransformPorts
{
    Prompter& prompter;
    const Texts& texts;
    FileChooser& chooser;
    DesignFilePorts files;
    ProgramFolder folder;
    /// Runs the save-option dialog; nothing on Cancel.
    std::function<std::optional<TransformSaveOptions>()> saveOptions;
    /// Message 23 with wParam 1 to the controller sender; false without a host or service.
    std::function<bool(const std::u16string& combined)> sendToController;
};

/// The logic of the module transform dialog: open (with the extraction of a combined file),
/// transform, save and combine, and the test on the controller, with their messages. The
/// opened source, and a combined source's HUB file, stay in memory while the dialog is open:
/// saving over the source file, or another file that fails to open, changes neither.
class TransformPresenter
{
public:
    explicit TransformPresenter(TransformPorts ports);

    /// The open dialog, then OpenPath; false when cancelled or refused (old contents kept).
    bool Open();
    bool OpenPath(const std::filesystem::path& path);
    /// Transform with the dialog's settings; false when nothing is loaded or a zoom is refused.
    bool Transform(const TransformSettings& settings);
    /// Save (20571): the save-option dialog for a plain source, the driver file, the combined
    /// file beside it when wanted.
    bool Save();
    /// Test (20580): the result as "zt_test.MDR" and "zt_test.MHR" in the temp folder, handed
    /// to the controller side.
    bool Test();

    const ModuleTransform& Model() const { return m_transform; }
    bool SourceCombined() const { return m_combined; }
    const std::filesystem::path& HubPath() const { return m_hub; }

private:
    void Say(const char* key, std::u16string_view fallback, const char* caption = nullptr);
    /// The HUB file for a save or test: the extracted one, or the dialog's; false on Cancel.
    bool ChooseHub(std::optional<std::filesystem::path>& hub, bool forTest);
    enum class Written
    {
        Done,
        DriverFailed,
        CombineFailed
    };
    /// Writes the result to driver and, with a HUB file, combines the two into combined.
    Written WriteResult(const std::filesystem::path& driver,
                        const std::optional<std::filesystem::path>& hub,
                        const std::filesystem::path& combined);

    TransformPorts m_ports;
    ModuleTransform m_transform;
    bool m_combined = false;
    std::filesystem::path m_hub;
    std::vector<std::uint8_t> m_hubBytes; ///< the combined source's HUB file
    std::filesystem::path m_opened;
};

} // namespace md
