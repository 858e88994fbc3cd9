#include "core/document/LayoutStepPresenter.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/driverfile/UnstorableNames.h"
#include "core/io/FileIo.h"
#include "core/io/Utf.h"
#include "core/layout/LayoutArchive.h"
#include "core/layout/LayoutSnapshot.h"
#include "core/layout/PointTracer.h"
#include "core/platform/Clock.h"
#include "core/platform/FileChooser.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/posix/CodePage.h"
#include "core/wizard/RangeSelection.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

namespace md {

namespace {

constexpr const char16_t* kCheckSocket = u"Please check socket design.";

} // namespace

LayoutStepPresenter::LayoutStepPresenter(ModuleDesignDocument& document, LayoutStepPorts ports)
    : m_document(document), m_ports(std::move(ports))
{}

void LayoutStepPresenter::Say(std::u16string text)
{
    m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.TextOrKey("ID_PROMPT"), text);
}

void LayoutStepPresenter::Notify()
{
    if (m_ports.notifyHost)
        m_ports.notifyHost();
}

int LayoutStepPresenter::State() const
{
    if (!m_open)
        return 0;
    return m_saved && !m_document.Modified() ? 2 : 1;
}

bool LayoutStepPresenter::HasUnsavedChanges() const
{
    return m_open && m_document.Modified();
}

void LayoutStepPresenter::BeginDesign()
{
    m_open = true;
    m_saved = false;
}

void LayoutStepPresenter::Reset()
{
    m_document.DestroyLayout();
    m_document.SetFilePath({});
    m_open = false;
    m_saved = false;
}

void LayoutStepPresenter::StartFromRecord()
{
    m_document.DestroyLayout();
    BeginDesign();
}

bool LayoutStepPresenter::ModuleInfoValid() const
{
    ModuleDesignDocument& d = m_document;
    return d.ModuleInfo().xPixels > 0 && d.ModuleInfo().yPixels > 0 &&
           !d.ModuleInfo().ModuleName().empty();
}

bool LayoutStepPresenter::NewLayout()
{
    if (m_document.Tracer()) {
        const PromptAnswer answer =
            m_ports.prompter.Ask(PromptButtons::YesNo, m_ports.texts.TextOrKey("ID_PROMPT"),
                                 m_ports.texts.TextOrKey("ID_LAYOUT_EXIST_ABORT"));
        if (answer != PromptAnswer::Yes)
            return false;
        m_document.DestroyLayout();
        Notify();
    }
    // The socket designer's set-up: the grid needs the module's size.
    LayoutSetup& setup = m_document.Setup();
    if (setup.width == 0 || setup.height == 0)
        return false;
    setup.connectors = m_document.Connectors();
    m_document.CreateLayout(m_ports.texts, m_ports.prompter);
    m_document.LayoutReady();
    m_open = true;
    Notify();
    return true;
}

bool LayoutStepPresenter::Finish()
{
    PointTracer* tracer = m_document.Tracer();
    if (!tracer) {
        Say(m_ports.texts.TextOr("IDS_MD_FINISH_NO_LAYOUT",
                                 u"There is no layout to finish: make one with New layout."));
        return false;
    }
    if (tracer->PointGoSelected())
        return FinishPointGo(*tracer);
    if (!tracer->Analyse(true)) {
        // Say which of the two it is: too little traced, or traced points nothing follows from.
        const bool traced =
            tracer->AdvancedEnabled() ? tracer->TracedCount() > 0 : tracer->RowComplete();
        Say(traced ? m_ports.texts.TextOr("IDS_MD_FINISH_NOT_DEDUCIBLE",
                                          u"The traced points do not make up a layout the "
                                          u"program can complete. Undo the last points and "
                                          u"trace them again.")
                   : m_ports.texts.TextOr("IDS_MD_FINISH_INCOMPLETE",
                                          u"The layout is not traced far enough to finish: "
                                          u"trace the whole first scan row first."));
        return false;
    }
    Notify();
    return true;
}

bool LayoutStepPresenter::FinishPointGo(PointTracer& tracer)
{
    const PointGoResult& result = m_document.PointGoLayout();
    if (!result.Complete()) {
        const std::string recorded = std::to_string(result.Cursor());
        const std::string all = std::to_string(result.Size());
        std::u16string text = m_ports.texts.TextOr(
            "IDS_MD_FINISH_POINTGO_INCOMPLETE",
            u"Point-go has recorded %1 of the %2 LEDs of the device's lines. Confirm the rest "
            u"(Delete records an output that drives no LED) before Finish.");
        for (const auto& [place, number] : {std::pair{u"%1", &recorded}, std::pair{u"%2", &all}})
            if (const auto at = text.find(place); at != std::u16string::npos)
                text.replace(at, 2, utf::FromAscii(*number));
        Say(text);
        return false;
    }
    if (!tracer.Adopted())
        tracer.AdoptResult(result.Entries());
    Notify();
    return true;
}

std::u16string LayoutStepPresenter::FailureLine() const
{
    std::u16string line = m_failure.path.u16string();
    if (!m_failure.reason.empty())
        line += u": " + utf::ToUtf16(m_failure.reason);
    return line;
}

void LayoutStepPresenter::TakeConnectorTable()
{
    m_document.Setup().connectors = m_document.Connectors();
    m_document.Touch();
}

std::optional<std::filesystem::path> LayoutStepPresenter::ChoosePath(bool save)
{
    FileRequest request;
    request.title =
        m_ports.texts.TextOrKey(save ? "ID_SAVE_MODULE_DRIVER_FILE" : "ID_OPEN_MODULE_DRIVER_FILE");
    request.filter = m_ports.texts.Text("ID_MODULE_DRIVER_FILE") + u"(.MDR)|*.MDR||";
    request.defaultExtension = u"MDR";
    request.folder = m_document.Folder().ModLib();
    request.promptOverwrite = save;
    request.mustExist = !save;
    if (save) {
        const std::filesystem::path& current = m_document.FilePath();
        request.defaultName = current.empty() ? m_document.ModuleInfo().ModuleName() + u".MDR"
                                              : current.filename().u16string();
        if (!current.empty())
            request.folder = current.parent_path();
    }
    std::error_code ec;
    std::filesystem::create_directories(m_document.Folder().ModLib(), ec);
    auto path = save ? m_ports.chooser.ChooseSave(request) : m_ports.chooser.ChooseOpen(request);
    if (path && path->u16string().size() > kMaxPath) {
        Say(m_ports.texts.TextOr("IDS_MD_PATH_TOO_LONG",
                                 u"The path is longer than 260 characters; choose a shorter "
                                 u"folder or name.") +
            u"\n" + path->u16string());
        return std::nullopt;
    }
    return path;
}

int LayoutStepPresenter::Save(bool saveAs)
{
    return SaveChecked(saveAs, std::nullopt);
}

int LayoutStepPresenter::SaveTo(const std::filesystem::path& path)
{
    return SaveChecked(true, path);
}

int LayoutStepPresenter::SaveChecked(bool saveAs,
                                     const std::optional<std::filesystem::path>& target)
{
    if (!m_document.Socket().IsValid()) {
        Say(kCheckSocket);
        return kNotSaved;
    }
    PointTracer* tracer = m_document.Tracer();
    if (!tracer || !tracer->LayoutPresent()) {
        Say(m_ports.texts.TextOrKey("ID_LAYOUT_DESIGN_NOT_COMPLETE"));
        return kNotSaved;
    }
    if (!ModuleInfoValid()) {
        Say(kCheckSocket);
        return kNotSaved;
    }
    if (!NamesStorable())
        return kNotSaved;
    std::filesystem::path path = target ? *target : m_document.FilePath();
    if (!target && (path.empty() || saveAs)) {
        auto chosen = ChoosePath(true);
        if (!chosen)
            return kNotSaved;
        path = *chosen;
    }
    if (m_document.Background().Width() == 0) {
        // The background follows the module; one that was never set up is set up now.
        m_document.Background().PlaceMarkers(m_document.Layout().Width(),
                                             m_document.Layout().Height());
        if (m_document.Background().Width() == 0) {
            Say(m_ports.texts.TextOrKey("ID_MODULE_BG_INIT_FAILURE"));
            return kNotSaved;
        }
    }
    DesignParts parts = DesignFile::PartsOf(m_document);
    const DriverFile::Result written = DesignPartsFile::Write(path, parts, m_ports.files);
    if (!written) {
        // A section that cannot be written says which; the file system says why it refused.
        const int error = errno;
        m_failure = {path,
                     written.section < 0 && error != 0 ? std::strerror(error) : written.message};
        return kWriteFailed;
    }
    m_document.SetFilePath(path);
    m_saved = true;
    m_document.MarkSaved();
    Notify();
    return kSaved;
}

bool LayoutStepPresenter::NamesStorable()
{
    const CodePage& codePage = m_ports.files.codePage;
    const CellDesign& cell = m_document.Cell();
    const auto unstorable =
        FindUnstorableNames({m_document.ModuleInfo(), cell.Images(), cell.Background(),
                             m_document.Background().Picture()},
                            codePage);
    if (unstorable.empty())
        return true;
    std::u16string text = m_ports.texts.TextOr(
        "IDS_MD_SAVE_UNSTORABLE_NAMES",
        u"Some names contain characters that the driver file's code page cannot hold; they "
        u"would be saved as '?'. Save anyway?");
    text += u"\n\n" + utf::FromAscii(codePage.Name()) + u":";
    for (const UnstorableName& name : unstorable)
        text += u"\n" + m_ports.texts.TextOrKey(name.field) + u" \"" + name.name + u"\": " +
                name.characters;
    return m_ports.prompter.Ask(PromptButtons::YesNo, m_ports.texts.TextOrKey("ID_PROMPT"), text) ==
           PromptAnswer::Yes;
}

int LayoutStepPresenter::Open(const std::optional<std::filesystem::path>& given)
{
    std::filesystem::path path;
    if (given) {
        path = *given;
    } else {
        auto chosen = ChoosePath(false);
        if (!chosen)
            return kOpenCancelled;
        path = *chosen;
    }
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    const auto bytes = fileio::ReadAll(path);
    if (!bytes) {
        m_failure = {path, exists ? "the file cannot be read" : "the file does not exist"};
        return kUnreadable;
    }
    // The design read starts empty: nothing of the open design (its socket file, its cell)
    // may leak into it.
    SocketDesign socket;
    socket.SetPictureFolder(m_document.Socket().PictureFolder());
    DesignParts parts{{}, socket, {}, {}};
    if (const DriverFile::Result read = DesignPartsFile::Parse(*bytes, parts, m_ports.files);
        !read) {
        m_failure = {path, read.message};
        return kFormatIncorrect;
    }
    if (parts.moduleInfo.xPixels == 0 || parts.moduleInfo.yPixels == 0) {
        m_failure = {path, "the module information gives no module size"};
        return kFormatIncorrect;
    }

    // Everything was read: now the open design is replaced.
    ModuleDesignDocument& d = m_document;
    d.ModuleInfo() = parts.moduleInfo;
    d.Socket() = parts.socket;
    d.Socket().SetDocumentState(SocketDesign::Loaded);
    d.Background() = parts.background;
    d.Background().SetLoaded();
    d.Cell().Restore(std::move(parts.layout.images), std::move(parts.layout.background),
                     parts.layout.cellSlots);
    d.SetupFromModuleInfo();
    PointTracer& tracer = d.CreateLayout(m_ports.texts, m_ports.prompter);
    layoutsnapshot::Restore(parts.layout, tracer);
    d.Setup().result = parts.layout.result;
    d.SetFilePath(path);
    m_open = true;
    m_saved = true;
    d.MarkSaved();
    d.LayoutReady();
    Notify();
    return kOpened;
}

bool LayoutStepPresenter::WriteDriverFile(const std::filesystem::path& path)
{
    DesignParts parts = DesignFile::PartsOf(m_document);
    return static_cast<bool>(DesignPartsFile::Write(path, parts, m_ports.files));
}

bool LayoutStepPresenter::WriteHandOverFile(const std::filesystem::path& path)
{
    ModuleDesignDocument& d = m_document;
    DesignParts parts{d.ModuleInfo(), d.Socket(), {}, d.Background()};
    return static_cast<bool>(DesignPartsFile::Write(path, parts, m_ports.files));
}

bool LayoutStepPresenter::WriteCutFile(const std::filesystem::path& path, const ModuleRange& cut)
{
    LayoutRange range;
    range.originX = cut.x;
    range.originY = cut.y;
    range.width = cut.width;
    range.height = cut.height;
    for (const auto& [column, row] : cut.cells)
        range.inside.insert(LayoutModel::Key(column, row));
    if (cut.bandKind == ModuleRange::kRows || cut.bandKind == ModuleRange::kColumns) {
        range.splitMode = cut.bandKind == ModuleRange::kRows ? 1 : 2;
        range.splitPosition = cut.bandStart;
        range.splitGap = cut.bandCount;
    }
    ModuleDesignDocument& d = m_document;
    DesignParts parts{d.ModuleInfo(), d.Socket(), DesignFile::CaptureLayout(d, range),
                      d.Background()};
    parts.moduleInfo.xPixels = cut.width;
    parts.moduleInfo.yPixels = cut.height;
    parts.background.PlaceMarkers(cut.width, cut.height);
    return static_cast<bool>(DesignPartsFile::Write(path, parts, m_ports.files));
}

std::filesystem::path LayoutStepPresenter::BlockFileName(const std::filesystem::path& driverFile,
                                                         std::uint32_t tick, std::uint32_t block)
{
    std::string base = driverFile.string();
    if (base.size() >= 4)
        base.resize(base.size() - 4);
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "_%u_%u.BDT", tick, block);
    return std::filesystem::path(base + suffix);
}

std::optional<std::filesystem::path>
LayoutStepPresenter::WriteBlockFile(const BlockDescription& block)
{
    const std::filesystem::path& current = m_document.FilePath();
    if (current.empty() || block.width == 0 || block.height == 0 || block.width > 0xFFFF ||
        block.height > 0xFFFF || (block.forwardCount && !block.forward) ||
        (block.backwardCount && !block.backward))
        return std::nullopt;
    DesignParts parts{{}, m_document.Socket(), {}, {}};
    if (!DesignPartsFile::Read(current, parts, m_ports.files))
        return std::nullopt;
    std::map<std::uint32_t, std::uint32_t> forward;
    std::map<std::uint32_t, std::uint32_t> backward;
    for (std::uint32_t i = 0; i < block.forwardCount; ++i)
        forward[block.forward[i].from] = block.forward[i].to;
    for (std::uint32_t i = 0; i < block.backwardCount; ++i)
        backward[block.backward[i].from] = block.backward[i].to;
    parts.moduleInfo.xPixels = static_cast<std::uint16_t>(block.width);
    parts.moduleInfo.yPixels = static_cast<std::uint16_t>(block.height);
    layoutarchive::Remap(parts.layout, block.width, block.height, forward, backward);
    parts.background.PlaceMarkers(block.width, block.height);
    const std::filesystem::path path =
        BlockFileName(current, m_ports.files.clock.TickCount(), block.block);
    if (!DesignPartsFile::Write(path, parts, m_ports.files))
        return std::nullopt;
    return path;
}

} // namespace md
