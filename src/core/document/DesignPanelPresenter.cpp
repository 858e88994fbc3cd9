#include "core/document/DesignPanelPresenter.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/driverfile/SocketFile.h"
#include "core/io/FileIo.h"
#include "core/layout/PointTracer.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/wizard/RangeSelection.h"
#include "md/ContractIds.h"
#include "md/DesignRequests.h"

namespace md {

namespace {

std::u16string PathText(const char16_t* text, std::size_t capacity)
{
    std::u16string path;
    for (std::size_t i = 0; i < capacity && text[i]; ++i)
        path.push_back(text[i]);
    return path;
}

} // namespace

DesignPanelPresenter::DesignPanelPresenter(ModuleDesignDocument& document,
                                           LayoutStepPresenter& layout, DesignPanelView& view,
                                           DesignPanelPorts ports)
    : m_document(document), m_layout(layout), m_view(view), m_ports(std::move(ports))
{
    // The host hears of every flip of the modified state (its title marks unsaved work), and
    // the wizard asks through the document before its hand-over replaces the design.
    m_document.SetModifiedHandler([this](bool) {
        if (m_ports.notifyHost)
            m_ports.notifyHost();
    });
    m_document.SetReplaceGuard([this] { return MayReplace(); });
}

DesignPanelPresenter::~DesignPanelPresenter()
{
    m_document.SetModifiedHandler({});
    m_document.SetReplaceGuard({});
}

void DesignPanelPresenter::Say(const char* key)
{
    m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.TextOrKey("ID_PROMPT"),
                         m_ports.texts.TextOrKey(key));
}

void DesignPanelPresenter::SayFailure(const char* key)
{
    m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.TextOrKey("ID_PROMPT"),
                         m_ports.texts.TextOrKey(key) + u"\n" + m_layout.FailureLine());
}

PromptAnswer DesignPanelPresenter::Ask(PromptButtons buttons, const char* key)
{
    return m_ports.prompter.Ask(buttons, m_ports.texts.TextOrKey("ID_PROMPT"),
                                m_ports.texts.TextOrKey(key));
}

bool DesignPanelPresenter::MayReplace()
{
    if (!IsDesignOpen())
        return true;
    // A Yes whose save fails or is cancelled keeps the design: the user has not given it up.
    if (m_layout.HasUnsavedChanges())
        return Ask(PromptButtons::YesNo, "ID_SAVE_EDIT_MODULE_DESIGN") != PromptAnswer::Yes ||
               SaveDesignChecked() == LayoutStepPresenter::kSaved;
    return Ask(PromptButtons::YesNo, "ID_GIVEUP_EDIT_MODULE_DESIGN") == PromptAnswer::Yes;
}

std::int32_t DesignPanelPresenter::AskBeforeClose()
{
    if (!IsDesignOpen() || !m_layout.HasUnsavedChanges())
        return 0;
    switch (Ask(PromptButtons::YesNoCancel, "ID_SAVE_EDIT_MODULE_DESIGN")) {
    case PromptAnswer::Yes:
        return SaveDesignChecked() == LayoutStepPresenter::kSaved ? 0 : -1;
    case PromptAnswer::No:
        return 0;
    default:
        return -1;
    }
}

std::int32_t DesignPanelPresenter::NewDesign()
{
    if (!MayReplace())
        return -1;
    NewModuleInfoRecord info = m_document.ModuleInfo();
    if (!m_view.RunNewModuleInfo(info) || info.confirmed == 0)
        return -1;
    m_view.DesignReset();
    m_layout.Reset();
    m_document.Clear();
    m_document.ModuleInfo() = info;
    m_document.SetupFromModuleInfo();
    m_state = kNone;
    OnNotify(contract::kMsgShowSocketView, 0, 0);
    NewSocket();
    m_view.DesignReady(true);
    m_layout.BeginDesign();
    m_state = kNewSetUp;
    m_document.MarkSaved();
    return 0;
}

std::int32_t DesignPanelPresenter::OpenDesign(const char16_t* path)
{
    const int state = m_layout.State();
    if (path) {
        if (!MayReplace())
            return -1;
    } else if (state == 1 || state == 2) {
        const PromptAnswer answer =
            Ask(PromptButtons::YesNoCancel, "ID_MODULE_DESIGN_CHANGED_SAVE");
        if (answer == PromptAnswer::Cancel ||
            (answer == PromptAnswer::Yes && SaveDesignChecked() != LayoutStepPresenter::kSaved))
            return -1;
    }
    std::optional<std::filesystem::path> file;
    if (path)
        file = std::filesystem::path(std::u16string(path));
    // The file is read and checked whole before the open design is touched, so a damaged
    // file leaves it exactly as it was.
    const int result = m_layout.Open(file);
    if (result != LayoutStepPresenter::kOpened) {
        if (result == LayoutStepPresenter::kFormatIncorrect)
            SayFailure("ID_DRIVER_FILE_FORMAT_INCORRECT");
        else if (result == LayoutStepPresenter::kUnreadable)
            SayFailure("IDS_MD_OPEN_FAILURE");
        return result;
    }
    m_view.DesignReset();
    m_view.DesignReady(false);
    OnNotify(contract::kMsgShowSocketView, 0, 0);
    m_state = kOpened;
    // Setting up the windows (the grid lights its first position) is no edit.
    m_document.MarkSaved();
    return 0;
}

void DesignPanelPresenter::NewSocket()
{
    const NewModuleInfoRecord& info = m_document.ModuleInfo();
    m_document.Socket().NewSocket(info.pinCount, info.scanRows);
}

int DesignPanelPresenter::SaveSocket(bool promptOverwrite)
{
    const SocketFile::Context context{m_ports.chooser, m_ports.texts, m_ports.version,
                                      m_document.ModuleInfo().ModuleName(), m_ports.notifyHost};
    SocketDesign& socket = m_document.Socket();
    return promptOverwrite ? SocketFile::SaveAs(socket, context)
                           : SocketFile::Save(socket, context);
}

std::int32_t DesignPanelPresenter::SaveDesign()
{
    if (m_view.SocketViewVisible()) {
        const int result = SaveSocket(true);
        if (result == 2) {
            Say("ID_CHECK_SOCKET_DESIGN");
            m_state = kSaving;
        } else if (result == 3) {
            Say("ID_SAVE_FAILURE");
        }
        return result;
    }
    const int result = m_layout.Save(false);
    if (result == LayoutStepPresenter::kWriteFailed)
        SayFailure("ID_SAVE_FAILURE");
    if (result != LayoutStepPresenter::kNotSaved)
        m_state = kSaving;
    return result;
}

std::int32_t DesignPanelPresenter::SaveSocketOrDriverFile()
{
    if (m_view.SocketViewVisible()) {
        const int result = SaveSocket(false);
        if (result == 3)
            Say("ID_CHECK_SOCKET_DESIGN");
        else if (result == 2)
            Say("ID_SAVE_SOCKET_FAILURE");
        return result;
    }
    const int result = m_layout.Save(false);
    if (result == LayoutStepPresenter::kWriteFailed)
        SayFailure("ID_SAVE_FAILURE");
    if (result == LayoutStepPresenter::kSaved)
        m_state = kSocketSaved;
    return result;
}

std::int32_t DesignPanelPresenter::SaveDesignChecked()
{
    m_state = kSaving;
    if (!m_document.Socket().IsValid()) {
        Say("ID_CHECK_SOCKET_DESIGN");
        return 2;
    }
    const int result = m_layout.Save(false);
    if (result == LayoutStepPresenter::kWriteFailed)
        SayFailure("ID_SAVE_FAILURE");
    return result;
}

bool DesignPanelPresenter::HasUnsavedChanges() const
{
    return IsDesignOpen() && m_layout.HasUnsavedChanges();
}

std::uint32_t DesignPanelPresenter::QueryView(std::uint32_t) const
{
    if (m_view.LayoutViewVisible())
        return 0;
    if (m_view.SocketViewVisible())
        return static_cast<std::uint32_t>(m_document.Socket().DocumentState());
    return 0;
}

std::u16string DesignPanelPresenter::DocumentName() const
{
    if (m_view.SocketViewVisible() && !m_document.Socket().FilePath().empty())
        return m_document.Socket().FilePath().filename().u16string();
    if (!m_document.FilePath().empty())
        return m_document.FileTitle();
    return m_document.ModuleInfo().ModuleName();
}

bool DesignPanelPresenter::IsDesignOpen() const
{
    const int state = m_layout.State();
    return state == 1 || state == 2;
}

std::int32_t DesignPanelPresenter::HandOver(std::uintptr_t wParam)
{
    const auto* record = reinterpret_cast<const ModuleRecord*>(wParam);
    if (!record)
        return -1;
    m_view.DesignReset();
    m_layout.Reset();
    m_document.Clear();
    m_document.TakeRecord(*record);
    NewSocket();
    m_view.DesignReady(true);
    m_layout.StartFromRecord();
    m_state = kNewSetUp;
    const ProgramFolder& folder = m_document.Folder();
    if (!folder.EnsureTemp())
        return -1;
    const bool socket = fileio::WriteAtomic(
        folder.Temp() / "zt5Module.mjk", SocketFile::Build(m_document.Socket(), m_ports.version));
    const bool driver = m_layout.WriteHandOverFile(folder.Temp() / "zt5Module.MDR");
    OnNotify(contract::kMsgShowLayoutView, 0, 0);
    // The design as the windows have set it up is where unsaved work starts from.
    m_document.MarkSaved();
    return socket && driver ? 0 : -1;
}

std::int32_t DesignPanelPresenter::CutToRange(std::intptr_t lParam)
{
    const auto* range = reinterpret_cast<const ModuleRange*>(lParam);
    if (!range || range->width == 0 || range->height == 0)
        return -1;
    const ProgramFolder& folder = m_document.Folder();
    if (!folder.EnsureTemp())
        return -1;
    const std::filesystem::path temp = folder.Temp();
    if (!m_layout.WriteCutFile(temp / "zt5Module.MDR", *range))
        return -1;
    // Step 6's Finish copies the combined file: it must hold the cut design too.
    if (m_document.Wizard().combined &&
        !m_document.CombineTemporaryFiles(range->width, range->height, m_ports.codePage))
        return -1;
    return 0;
}

std::int32_t DesignPanelPresenter::OnNotify(std::uint32_t message, std::uintptr_t wParam,
                                            std::intptr_t lParam)
{
    switch (message) {
    case contract::kMsgShowSocketView:
        m_view.ShowSocketView();
        if (m_ports.notifyHost)
            m_ports.notifyHost();
        return 0;
    case contract::kMsgShowLayoutView:
        m_view.ShowLayoutView();
        if (m_ports.notifyHost)
            m_ports.notifyHost();
        return 0;
    case contract::kMsgShowBackground:
        if (m_state == kNewSetUp || m_state == kOpened || IsDesignOpen()) {
            m_view.ShowBackgroundView();
            if (m_ports.notifyHost)
                m_ports.notifyHost();
        }
        return 0;
    case contract::kMsgAskSave:
        return AskBeforeClose();
    case contract::kMsgCellDesign:
        return m_view.RunCellDesign();
    case contract::kMsgWizardHandOver:
        return HandOver(wParam);
    case contract::kMsgModuleRange:
        return lParam ? CutToRange(lParam) : 0;
    case contract::kMsgWriteDriverFile: {
        const auto* request = reinterpret_cast<const DriverFileRequest*>(lParam);
        if (!request)
            return -1;
        const std::u16string path = PathText(request->path, DriverFileRequest::kPathCapacity);
        if (path.empty())
            return -1;
        return m_layout.SaveTo(path) == LayoutStepPresenter::kSaved ? 0 : -1;
    }
    case contract::kMsgReadDriverFile: {
        const auto* request = reinterpret_cast<const DriverFileRequest*>(lParam);
        if (!request)
            return -1;
        const std::u16string path = PathText(request->path, DriverFileRequest::kPathCapacity);
        return path.empty() ? -1 : OpenDesign(path.c_str());
    }
    case contract::kMsgWriteBlockFile: {
        const auto* block = reinterpret_cast<const BlockDescription*>(lParam);
        return block && m_layout.WriteBlockFile(*block) ? 0 : -1;
    }
    default:
        return 0;
    }
}

} // namespace md
