#include "core/wizard/WizardStep6.h"

#include "core/platform/FileChooser.h"
#include "core/platform/HostServices.h"
#include "core/platform/Profile.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/wizard/RangeSelection.h"
#include "core/wizard/WizardDialogs.h"
#include "md/ContractIds.h"

namespace md {

namespace {
constexpr const char* kSection = "module_paramter";

/// The target path with its last three characters replaced.
std::filesystem::path Beside(const std::filesystem::path& target, const char* extension)
{
    std::string text = target.string();
    if (text.size() >= 3)
        text.resize(text.size() - 3);
    return text + extension;
}

void CopyIfPresent(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code ec;
    if (std::filesystem::exists(from, ec))
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
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

void WizardStep6::Say(const char* key)
{
    m_context.prompter.Ask(PromptButtons::Ok, m_context.texts.Text("IDS_MODULE_FIRSETDLG_PROMPT"),
                           m_context.texts.Text(key));
}

bool WizardStep6::Finish()
{
    FileRequest request;
    request.filter = m_context.texts.Text("IDS_MODULE_STEP6DLG_SAVEMHRFILE");
    request.defaultExtension = u"MHR";
    request.defaultName = u"module";
    request.promptOverwrite = true;
    request.mustExist = false;
    const auto target = m_context.files.ChooseSave(request);
    if (!target)
        return false;
    const std::filesystem::path temp = m_context.programFolder / "temp";
    std::error_code ec;
    std::filesystem::copy_file(temp / "zt5ModuleHUB.MHR", *target,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (!std::filesystem::exists(*target, ec)) {
        Say("IDS_MODULE_STEP6DLG_SAVEMHRFAILED");
        return false;
    }
    if (SaveDriverFile())
        CopyIfPresent(temp / "zt5Module.MDR", Beside(*target, "MDR"));
    if (SaveHubFile())
        CopyIfPresent(temp / "zt5HUB.HDR", Beside(*target, "HDR"));
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
    const auto result = m_context.host.Send(contract::kPluginId, contract::kMsgModuleRange, 0,
                                            reinterpret_cast<std::intptr_t>(&*range));
    if (!result || *result != 0)
        return false;
    if (onCropped)
        onCropped(range->width, range->height);
    return true;
}

} // namespace md
