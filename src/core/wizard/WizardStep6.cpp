#include "core/wizard/WizardStep6.h"

#include "core/io/FileIo.h"
#include "core/platform/FileChooser.h"
#include "core/platform/HostServices.h"
#include "core/platform/Profile.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/wizard/RangeSelection.h"
#include "core/wizard/WizardDialogs.h"
#include "md/ContractIds.h"

#include <algorithm>
#include <cctype>

#include <sys/stat.h>

namespace md {

namespace {
constexpr const char* kSection = "module_paramter";
constexpr const char* kCombined = "zt5ModuleHUB.MHR";
constexpr const char* kDriver = "zt5Module.MDR";
constexpr const char* kHub = "zt5HUB.HDR";

/// The target path with its last three characters replaced.
std::filesystem::path Beside(const std::filesystem::path& target, const char* extension)
{
    std::string text = target.string();
    if (text.size() >= 3)
        text.resize(text.size() - 3);
    return text + extension;
}

/// Whether the target's last three characters name that extension, in any case.
bool EndsLike(const std::filesystem::path& target, const char* extension)
{
    const std::string text = target.string();
    return text.size() >= 3 &&
           std::equal(text.end() - 3, text.end(), extension, [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}
} // namespace

WizardStep6::WizardStep6(WizardContext context, int moduleWidth, int moduleHeight)
    : m_context(context), m_width(moduleWidth), m_height(moduleHeight)
{}

bool WizardStep6::SaveDriverFile() const
{
    return m_context.profile.GetInt(kSection, "save_module", 0) != 0;
}

bool WizardStep6::SaveHubFile() const
{
    return m_context.profile.GetInt(kSection, "save_hub", 0) != 0;
}

void WizardStep6::SetSaveDriverFile(bool save)
{
    m_context.profile.SetInt(kSection, "save_module", save ? 1 : 0);
}

void WizardStep6::SetSaveHubFile(bool save)
{
    m_context.profile.SetInt(kSection, "save_hub", save ? 1 : 0);
}

std::filesystem::path WizardStep6::Temp(const char* name) const
{
    return m_context.programFolder / "temp" / name;
}

std::optional<WizardStep6::Stamp> WizardStep6::StampOf(const std::filesystem::path& path)
{
    struct stat status
    {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return Stamp{static_cast<std::uint64_t>(status.st_dev),
                 static_cast<std::uint64_t>(status.st_ino),
                 static_cast<std::int64_t>(status.st_size),
                 std::int64_t{status.st_mtim.tv_sec} * 1000000000 + status.st_mtim.tv_nsec};
}

void WizardStep6::TakeCombinedFile()
{
    m_combined = StampOf(Temp(kCombined));
    m_driver = StampOf(Temp(kDriver));
    m_cropFailed = false;
}

const char* WizardStep6::CombinedFileProblem() const
{
    const auto combined = StampOf(Temp(kCombined));
    if (m_combined && combined == m_combined && StampOf(Temp(kDriver)) == m_driver)
        return nullptr;
    // The design panel writes the cut driver file, then combines it again.
    if (m_cropFailed)
        return "IDS_MD_STEP6_NOT_COMBINED_AGAIN";
    if (!combined)
        return "IDS_MD_STEP6_FILE_MISSING";
    return "IDS_MD_STEP6_NOT_THIS_RUN";
}

void WizardStep6::Say(const char* key)
{
    m_context.prompter.Ask(PromptButtons::Ok, m_context.texts.Text("IDS_MODULE_FIRSETDLG_PROMPT"),
                           m_context.texts.Text(key));
}

void WizardStep6::Refuse(const char* key, const std::filesystem::path& path, const char* reason)
{
    m_context.prompter.Ask(PromptButtons::Ok, m_context.texts.Text("IDS_MODULE_FIRSETDLG_PROMPT"),
                           m_context.texts.TextOrKey(key) + u"\n" + path.u16string() + u": " +
                               m_context.texts.TextOrKey(reason));
}

void WizardStep6::CopyBeside(const char* temp, const std::filesystem::path& target)
{
    const auto bytes = fileio::ReadAll(Temp(temp));
    if (!bytes)
        Refuse("IDS_MD_STEP6_COPY_FAILED", Temp(temp),
               StampOf(Temp(temp)) ? "IDS_MD_STEP6_NOT_READ" : "IDS_MD_STEP6_FILE_MISSING");
    else if (!fileio::WriteAtomic(target, *bytes))
        Refuse("IDS_MD_STEP6_COPY_FAILED", target, "IDS_MD_STEP6_NOT_WRITTEN");
}

bool WizardStep6::Finish()
{
    FileRequest request;
    request.filter = m_context.texts.Text("IDS_MODULE_STEP6DLG_SAVEMHRFILE");
    request.defaultExtension = u"MHR";
    request.defaultName = u"module";
    request.promptOverwrite = true;
    request.mustExist = false;
    const std::filesystem::path& last = m_context.memory.finished;
    request.folder = last.empty() ? m_context.programFolder / "ModLib" : last.parent_path();
    std::error_code ec;
    if (last.empty())
        std::filesystem::create_directories(request.folder, ec);
    const auto target = m_context.files.ChooseSave(request);
    if (!target)
        return false;
    constexpr const char* kFailed = "IDS_MODULE_STEP6DLG_SAVEMHRFAILED";
    // The copy saved beside the combined file would replace it.
    if ((SaveDriverFile() && EndsLike(*target, "MDR")) ||
        (SaveHubFile() && EndsLike(*target, "HDR"))) {
        Refuse(kFailed, *target, "IDS_MD_STEP6_NAME_OF_COPY");
        return false;
    }
    if (const char* problem = CombinedFileProblem()) {
        Refuse(kFailed, Temp(kCombined), problem);
        return false;
    }
    const auto combined = fileio::ReadAll(Temp(kCombined));
    if (!combined) {
        Refuse(kFailed, Temp(kCombined), "IDS_MD_STEP6_NOT_READ");
        return false;
    }
    if (!fileio::WriteAtomic(*target, *combined)) {
        Refuse(kFailed, *target, "IDS_MD_STEP6_NOT_WRITTEN");
        return false;
    }
    m_context.memory.finished = *target;
    if (SaveDriverFile())
        CopyBeside(kDriver, Beside(*target, "MDR"));
    if (SaveHubFile())
        CopyBeside(kHub, Beside(*target, "HDR"));
    if (!m_context.host.CanNotify()) {
        Say("IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD");
        return false;
    }
    const std::u16string path = target->u16string();
    m_context.host.Send(contract::kControllerSenderId, contract::kMsgSendCombined, 0,
                        reinterpret_cast<std::intptr_t>(path.c_str()));
    return true;
}

bool WizardStep6::Crop()
{
    RangeSelection selection(m_width, m_height);
    if (!m_context.dialogs.RunRange(selection))
        return false;
    const auto range = selection.Confirm();
    if (!range)
        return false;
    if (!m_context.host.CanNotify()) {
        Say("IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD");
        return false;
    }
    const auto driver = StampOf(Temp(kDriver));
    const auto result = m_context.host.Send(contract::kPluginId, contract::kMsgModuleRange, 0,
                                            reinterpret_cast<std::intptr_t>(&*range));
    if (!result || *result != 0) {
        // A cut driver file without its combined file: Finish must not hand on the old one.
        m_cropFailed = true;
        if (StampOf(Temp(kDriver)) == driver)
            Refuse("IDS_MD_STEP6_CROP_FAILED", Temp(kDriver), "IDS_MD_STEP6_CUT_NOT_WRITTEN");
        else
            Refuse("IDS_MD_STEP6_CROP_FAILED", Temp(kCombined), "IDS_MD_STEP6_NOT_COMBINED_AGAIN");
        return false;
    }
    TakeCombinedFile();
    if (onCropped)
        onCropped(range->width, range->height);
    return true;
}

} // namespace md
