#include "core/document/ModuleDesignDocument.h"

#include "core/document/DesignFingerprint.h"
#include "core/layout/PointTracer.h"

#include <algorithm>

namespace md {

ModuleDesignDocument::ModuleDesignDocument(ProgramFolder folder) : m_folder(std::move(folder))
{
    m_socket.SetPictureFolder(m_folder.PluginData());
    const auto touch = [this] { Touch(); };
    m_socket.Changes().Connect(touch);
    m_background.Changes().Connect(touch);
    m_cell.Changes().Connect(touch);
    m_layout.Changes().Connect(touch);
    m_savedFingerprint = DesignFingerprint::Of(*this);
}

ModuleDesignDocument::~ModuleDesignDocument() = default;

void ModuleDesignDocument::TakeRecord(const ModuleRecord& record)
{
    m_record = record;
    m_hasRecord = true;
    // The record opens with the same four numbers the module information starts from: the
    // record kind doubles as the connector's pin count.
    m_moduleInfo.pinCount = record.kind;
    m_moduleInfo.scanRows = record.scanRows;
    m_moduleInfo.xPixels = record.width;
    m_moduleInfo.yPixels = record.height;
    if (m_moduleInfo.ModuleName().empty()) {
        std::u16string name;
        for (std::size_t i = 0; i < ModuleRecord::kNameCapacity && record.name[i]; ++i)
            name.push_back(record.name[i]);
        m_moduleInfo.SetModuleName(name);
    }

    LayoutSetup setup;
    setup.scanRows = std::max<std::uint16_t>(record.scanRows, 1);
    setup.width = record.width;
    setup.height = record.height;
    setup.driverPolarity = static_cast<std::uint32_t>(record.driverChip.polarity);
    setup.scanPolarity = static_cast<std::uint32_t>(record.scanChip.polarity);
    for (int i = 0; i < 3; ++i)
        setup.virtualCode[i] = record.virtualTriple[i];
    setup.dataGroups = std::max<std::uint16_t>(record.groupCount, 1);
    setup.pointsPerGroup = record.pointsPerGroup;
    setup.rowLength = record.pointsPerRow;
    const std::size_t lines = std::clamp<std::size_t>(record.lineCount, 1, 4);
    setup.channelColours.assign(record.lineColours, record.lineColours + lines);
    setup.multiClock = record.multiClock;
    setup.sameColourSwap = record.sameColourSwap;
    ConnectorTable table;
    table.rows = std::min<std::uint32_t>(record.connectorRows, ConnectorTable::kSize);
    table.columns = std::min<std::uint32_t>(record.connectorColumns, ConnectorTable::kSize);
    for (int r = 0; r < ConnectorTable::kSize; ++r)
        for (int c = 0; c < ConnectorTable::kSize; ++c)
            table.cells[r][c] = record.connector[r][c];
    setup.connectors = table;
    m_connectors = table;
    m_setup = setup;
    Touch();
}

void ModuleDesignDocument::SetupFromModuleInfo()
{
    LayoutSetup setup;
    setup.width = m_moduleInfo.xPixels;
    setup.height = m_moduleInfo.yPixels;
    setup.scanRows = std::max<std::uint16_t>(m_moduleInfo.scanRows, 1);
    setup.connectors = m_connectors;
    setup.DeriveCounts();
    m_setup = setup;
    Touch();
}

void ModuleDesignDocument::SetConnectors(const ConnectorTable& table)
{
    m_connectors = table;
    Touch();
}

bool ModuleDesignDocument::Modified() const
{
    return DesignFingerprint::Of(*this) != m_savedFingerprint;
}

void ModuleDesignDocument::MarkSaved()
{
    m_savedFingerprint = DesignFingerprint::Of(*this);
    Refresh();
}

void ModuleDesignDocument::MarkUnsaved()
{
    m_savedFingerprint = ~DesignFingerprint::Of(*this);
    Refresh();
}

void ModuleDesignDocument::SetModifiedHandler(std::function<void(bool)> handler)
{
    m_onModified = std::move(handler);
}

void ModuleDesignDocument::SetRefreshScheduler(std::function<void()> schedule)
{
    m_scheduleRefresh = std::move(schedule);
}

void ModuleDesignDocument::Touch()
{
    if (m_refreshPending || !m_scheduleRefresh)
        return;
    m_refreshPending = true;
    m_scheduleRefresh();
}

void ModuleDesignDocument::Refresh()
{
    m_refreshPending = false;
    const bool modified = Modified();
    if (modified == m_reportedModified)
        return;
    m_reportedModified = modified;
    if (m_onModified)
        m_onModified(modified);
}

bool ModuleDesignDocument::MayReplaceDesign()
{
    return !m_replaceGuard || m_replaceGuard();
}

PointTracer& ModuleDesignDocument::CreateLayout(const Texts& texts, Prompter& prompter)
{
    std::array<std::vector<CellLed>, 4> slots;
    for (int i = 0; i < CellDesign::kSlotCount; ++i)
        slots[i] = m_cell.Slot(i + 1);
    m_tracer.reset();
    ++m_layoutNumber;
    m_pointGoLayout.Forget();
    m_layout.Construct(m_setup.width, m_setup.height, slots);
    m_tracer = std::make_unique<PointTracer>(m_layout, m_controller.Channel(), texts, prompter);
    m_tracer->SetSetup(&m_setup, true);
    m_tracer->SetEventSink([this](const PointTracer::Event& event) {
        // Tracing that starts over takes what point-go hid on the grid back with it (tracing
        // refuses to while point-go is selected, which is when it has recorded anything).
        if (event.kind == PointTracer::Event::Kind::Reset && !m_pointGoLayout.Empty()) {
            m_pointGoLayout.Drop(m_layout);
            m_layout.ClearTracing();
        }
        m_edits.OnTracing(event);
        if (m_tracingListener)
            m_tracingListener(event);
    });
    m_edits.Stack().Clear();
    return *m_tracer;
}

void ModuleDesignDocument::LayoutReady()
{
    if (m_tracer && m_tracingListener)
        m_tracingListener(PointTracer::Event{PointTracer::Event::Kind::Reset});
}

void ModuleDesignDocument::DestroyLayout()
{
    m_tracer.reset();
    ++m_layoutNumber;
    m_pointGoLayout.Forget();
    m_layout.Construct(0, 0, {});
    m_edits.Stack().Clear();
}

std::u16string ModuleDesignDocument::FileTitle() const
{
    return m_filePath.filename().u16string();
}

bool ModuleDesignDocument::CombineTemporaryFiles(std::uint32_t width, std::uint32_t height,
                                                 const CodePage& codePage)
{
    if (!m_wizard.combined || width == 0 || height == 0)
        return false;
    m_wizard.trailer.xPixels = width;
    m_wizard.trailer.yPixels = height;
    const std::filesystem::path temp = m_folder.Temp();
    return CombinedFile::Combine(temp / "zt5Module.MDR", temp / "zt5HUB.HDR",
                                 temp / "zt5ModuleHUB.MHR", m_wizard.trailer, codePage);
}

HandshakeWords ModuleDesignDocument::PointGoWords() const
{
    return {m_setup.driverPolarity, m_setup.scanPolarity, (m_wizard.driverPolarity & 2U) ? 2U : 1U};
}

void ModuleDesignDocument::Clear()
{
    DestroyLayout();
    m_pointGoLink.ClosePort();
    m_pointGoLink.SetHardwareSocketMode(false);
    m_moduleInfo = NewModuleInfoRecord{};
    m_socket.LayOut(0, 0, SocketDesign::kPinBox, SocketDesign::kPinBox);
    m_socket.SetDocumentState(SocketDesign::None);
    m_socket.SetFilePath({});
    m_background = BackgroundDesign{};
    m_filePath.clear();
    MarkSaved();
}

} // namespace md
