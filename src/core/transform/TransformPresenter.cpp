#include "core/transform/TransformPresenter.h"

#include "core/io/FileIo.h"
#include "core/platform/FileChooser.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/transform/TransformFiles.h"

namespace md {

TransformPresenter::TransformPresenter(TransformPorts ports) : m_ports(std::move(ports)) {}

void TransformPresenter::Say(const char* key, std::u16string_view fallback, const char* caption)
{
    const std::u16string title =
        caption ? m_ports.texts.Text(caption)
                : m_ports.texts.TextOr("IDS_MODULE_UI_DIG_TRANSFORM_BOX_TITLE_ERROR", u"错误");
    m_ports.prompter.Ask(PromptButtons::Ok, title, m_ports.texts.TextOr(key, fallback));
}

bool TransformPresenter::Open()
{
    FileRequest request;
    request.filter = u"MDR or MHR files  (*.MDR;*.MHR)|*.MDR;*.MHR||";
    request.defaultExtension = u"MDR";
    request.mustExist = true;
    request.promptOverwrite = false;
    const auto path = m_ports.chooser.ChooseOpen(request);
    return path && OpenPath(*path);
}

bool TransformPresenter::OpenPath(const std::filesystem::path& path)
{
    // The source is read into memory before anything is written: a file that fails leaves the
    // loaded source, its HUB file and their extracted copies as they were.
    const bool combined = ModuleTransform::IsCombined(path);
    const std::filesystem::path temp = m_ports.folder.Temp();
    std::optional<CombinedSource> entries;
    int result = ModuleTransform::kCannotOpen;
    if (!combined)
        result = m_transform.Load(path, m_ports.files);
    else if ((entries = ModuleTransform::ReadCombined(path)))
        result = m_transform.Load(entries->driver, temp / "conversion.MDR", m_ports.files);
    if (result != ModuleTransform::kLoaded) {
        if (result == ModuleTransform::kCannotOpen)
            Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_OPEN", u"文件打开失败!");
        else
            Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_PARSE", u"文件解析失败!");
        return false;
    }
    m_combined = combined;
    m_hub = combined ? temp / "conversion.HDR" : std::filesystem::path();
    m_hubBytes = combined ? std::move(entries->hub) : std::vector<std::uint8_t>();
    m_opened = path;
    if (combined) {
        // The extracted files are copies for the user to look at; the dialog works from memory.
        m_ports.folder.EnsureTemp();
        fileio::WriteAtomic(m_transform.SourcePath(), entries->driver);
        fileio::WriteAtomic(m_hub, m_hubBytes);
    }
    return true;
}

bool TransformPresenter::Transform(const TransformSettings& settings)
{
    switch (m_transform.Run(settings)) {
    case ModuleTransform::RunResult::Done:
        return true;
    case ModuleTransform::RunResult::BadZoom:
        Say("IDS_MD_UI_DIG_TRANSFORM_BOX_LABEL_BAD_ZOOM",
            u"The zoom factor must be a number above 0.");
        return false;
    case ModuleTransform::RunResult::NotLoaded:
        return false;
    }
    return false;
}

bool TransformPresenter::ChooseHub(std::optional<std::filesystem::path>& hub, bool forTest)
{
    if (m_combined) {
        hub = m_hub;
        return true;
    }
    const auto options = m_ports.saveOptions ? m_ports.saveOptions() : std::nullopt;
    if (!options) {
        if (forTest)
            Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_CANCEL_SEND", u"取消发送!");
        return false;
    }
    if (options->combine)
        hub = options->hub;
    else if (forTest) {
        Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_NO_HUB_FILE", u"没有HUB文件!");
        return false;
    }
    return true;
}

TransformPresenter::Written
TransformPresenter::WriteResult(const std::filesystem::path& driver,
                                const std::optional<std::filesystem::path>& hub,
                                const std::filesystem::path& combined)
{
    const auto bytes = TransformFiles::BuildResult(m_transform, m_ports.files);
    if (!bytes || !fileio::WriteAtomic(driver, *bytes))
        return Written::DriverFailed;
    if (!hub)
        return Written::Done;
    const auto hubBytes = m_combined ? std::optional(m_hubBytes) : fileio::ReadAll(*hub);
    if (!hubBytes ||
        !TransformFiles::Combine(driver, *bytes, *hub, *hubBytes, combined, m_ports.files))
        return Written::CombineFailed;
    return Written::Done;
}

bool TransformPresenter::Save()
{
    if (!m_transform.Loaded())
        return false;
    std::optional<std::filesystem::path> hub;
    if (!ChooseHub(hub, false))
        return false;
    FileRequest request;
    request.filter = m_ports.texts.Text("ID_MODULE_DRIVER_FILE") + u"(.MDR)|*.MDR||";
    request.defaultExtension = u"MDR";
    request.promptOverwrite = true;
    request.folder = m_opened.parent_path(); // beside the file the user opened
    const auto target = m_ports.chooser.ChooseSave(request);
    if (!target)
        return false;
    switch (WriteResult(*target, hub, std::filesystem::path(*target).replace_extension("MHR"))) {
    case Written::Done:
        return true;
    case Written::DriverFailed:
        Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_SAVE", u"The file could not be saved!");
        return false;
    case Written::CombineFailed:
        Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_SAVE_MHR", u"MHR文件保存失败!");
        return false;
    }
    return false;
}

bool TransformPresenter::Test()
{
    if (!m_transform.Loaded()) {
        Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_NO_LOAD_FILE", u"没有加载文件!");
        return false;
    }
    if (!m_transform.HasResult()) {
        Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_NO_TRANS_FILE", u"未转换文件!");
        return false;
    }
    std::optional<std::filesystem::path> hub;
    if (!ChooseHub(hub, true) || !hub)
        return false;
    if (!m_ports.folder.EnsureTemp())
        return false;
    const std::filesystem::path combined = m_ports.folder.Temp() / "zt_test.MHR";
    switch (WriteResult(m_ports.folder.Temp() / "zt_test.MDR", hub, combined)) {
    case Written::Done:
        break;
    case Written::DriverFailed:
        Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_SAVE_MDR", u"模组文件保存失败!");
        return false;
    case Written::CombineFailed:
        Say("IDS_MODULE_UI_DIG_TRANSFORM_BOX_LABEL_FAILED_COMBINE_MHR", u"组合MHR文件失败!");
        return false;
    }
    if (!m_ports.sendToController || !m_ports.sendToController(combined.u16string())) {
        Say("IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD", u"IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD",
            "IDS_MODULE_FIRSETDLG_PROMPT");
        return false;
    }
    return true;
}

} // namespace md
