#include "core/document/DesignRecovery.h"

#include "core/document/DesignFile.h"
#include "core/document/DesignFingerprint.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/io/FileIo.h"
#include "core/io/Utf.h"
#include "core/platform/Clock.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <system_error>
#include <type_traits>

namespace md {

namespace {

constexpr const char* kRecordFile = "record.txt";

/// The files of one generation of the record: the driver file and the steps. The record file
/// (the design's path, its name, the generation and the setup) names the generation that is
/// whole; a new generation is written beside the old one and becomes the record when the record
/// file names it, so a kill at any moment leaves a record whose files belong together. Steps
/// taken since are appended to the steps file.
struct Generation
{
    std::filesystem::path driverFile;
    std::filesystem::path steps;

    static Generation In(const std::filesystem::path& dir, std::uint64_t number)
    {
        const std::string n = std::to_string(number);
        return {dir / ("design-" + n + ".MDR"), dir / ("trace-" + n + ".txt")};
    }
};

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> FromHex(const std::string& text)
{
    const auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]);
        const int low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

static_assert(std::is_trivially_copyable_v<ModuleRecord>);
static_assert(std::is_trivially_copyable_v<ConnectorTable>);

/// The record's setup file: a flag, the module record, the design's and the layout's
/// connector tables, as they lie in memory (the file never leaves this machine and build).
struct SetupBlock
{
    std::uint32_t hasRecord = 0;
    ModuleRecord record{};
    ConnectorTable connectors;
    ConnectorTable layoutConnectors;
    std::uint32_t backgroundWidth = 0;
    std::uint32_t backgroundHeight = 0;
};
static_assert(std::is_trivially_copyable_v<SetupBlock>);

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

/// The generation the record file names, or 0.
std::uint64_t GenerationOf(const std::vector<std::string>& recordLines)
{
    if (recordLines.size() < 3)
        return 0;
    std::uint64_t number = 0;
    std::istringstream(recordLines[2]) >> number;
    return number;
}

/// The lines of a text; a last line without its end was cut off by a kill during an append.
std::vector<std::string> Lines(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::string> lines;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (!bytes.empty() && bytes.back() != '\n' && !lines.empty())
        lines.pop_back();
    return lines;
}

} // namespace

DesignRecovery::DesignRecovery(ModuleDesignDocument& document, DesignFilePorts ports,
                               const Clock& clock)
    : m_document(document), m_ports(ports), m_clock(clock), m_lastWrite(clock.TickCount())
{
    m_document.SetTracingListener([this](const PointTracer::Event& event) { OnTracing(event); });
}

DesignRecovery::~DesignRecovery()
{
    m_document.SetTracingListener({});
    // Only a run that ends without closing its design leaves a record behind: closing has
    // saved the work or the user said No to saving it.
    if (m_onDisk)
        Remove();
}

std::filesystem::path DesignRecovery::FolderOf(const ProgramFolder& folder)
{
    return folder.Temp() / "recovery";
}

std::optional<DesignRecovery::Found> DesignRecovery::Find(const ProgramFolder& folder)
{
    const std::filesystem::path dir = FolderOf(folder);
    const auto record = fileio::ReadAll(dir / kRecordFile);
    if (!record)
        return std::nullopt;
    const std::vector<std::string> lines = Lines(*record);
    const Generation files = Generation::In(dir, GenerationOf(lines));
    const auto steps = fileio::ReadAll(files.steps);
    std::error_code error;
    const auto time = std::max(std::filesystem::last_write_time(dir / kRecordFile, error),
                               std::filesystem::last_write_time(files.steps, error));
    if (!steps || error || !std::filesystem::exists(files.driverFile, error))
        return std::nullopt;
    Found found;
    found.driverFile = files.driverFile;
    if (!lines.empty())
        found.original = std::filesystem::path(utf::ToUtf16(lines[0]));
    if (lines.size() > 1)
        found.name = utf::ToUtf16(lines[1]);
    found.time = time;
    found.steps = Lines(*steps);
    if (lines.size() > 4)
        found.pointGo = lines[4];
    if (const auto setup = lines.size() > 3 ? FromHex(lines[3]) : std::nullopt;
        setup && setup->size() == sizeof(SetupBlock)) {
        SetupBlock block;
        std::memcpy(&block, setup->data(), sizeof block);
        if (block.hasRecord)
            found.record = block.record;
        found.connectors = block.connectors;
        found.layoutConnectors = block.layoutConnectors;
        found.backgroundWidth = block.backgroundWidth;
        found.backgroundHeight = block.backgroundHeight;
    }
    return found;
}

void DesignRecovery::Discard(const ProgramFolder& folder)
{
    std::error_code error;
    std::filesystem::remove_all(FolderOf(folder), error);
}

bool DesignRecovery::Restore(ModuleDesignDocument& document, const Found& found)
{
    PointTracer* tracer = document.Tracer();
    if (!tracer)
        return false;
    if (found.record) {
        // The module information keeps what the file says; the tracing's setup comes back.
        const NewModuleInfoRecord info = document.ModuleInfo();
        auto result = std::move(document.Setup().result);
        document.TakeRecord(*found.record);
        document.ModuleInfo() = info;
        document.Setup().result = std::move(result);
    }
    document.Connectors() = found.connectors;
    document.Setup().connectors = found.layoutConnectors;
    // The driver file keeps the markers but not the size the background was set up for.
    BackgroundDesign& background = document.Background();
    if (found.backgroundWidth != 0 && background.Width() == 0) {
        const BackgroundDesign::Point first = background.Point1();
        const BackgroundDesign::Point second = background.Point2();
        background.PlaceMarkers(found.backgroundWidth, found.backgroundHeight);
        background.SetPoints(first, second);
    }
    tracer->Create();
    bool replayed = Replay(*tracer, found.steps);
    // Point-go stands where it stood: its LEDs hidden, its cursor after the last one recorded.
    if (!found.pointGo.empty()) {
        PointGoResult& pointGo = document.PointGoLayout();
        if (pointGo.Rebuild(document.Layout(), found.pointGo)) {
            tracer->SetPointGoSelected(true);
            const auto& positions = pointGo.Positions();
            tracer->SetLastTraced(positions.empty() ? -1 : positions.back().pixel);
        } else {
            replayed = false;
        }
    }
    document.SetFilePath(found.original);
    document.MarkUnsaved();
    return replayed;
}

bool DesignRecovery::Replay(PointTracer& tracer, const std::vector<std::string>& steps)
{
    for (const std::string& line : steps) {
        std::istringstream words(line);
        std::string verb;
        if (!(words >> verb))
            continue;
        long long a = 0;
        long long b = 0;
        long long c = 0;
        if (verb == "click" && words >> a >> b) {
            tracer.Click(static_cast<int>(a), static_cast<int>(b));
        } else if (verb == "mark" && words >> a >> b >> c) {
            tracer.SetMark(static_cast<int>(a), static_cast<int>(b), c != 0);
        } else if (verb == "mark-all" && words >> a) {
            tracer.MarkAll(a != 0);
        } else if (verb == "virtual" && words >> a && a >= 0) {
            tracer.InsertVirtual(static_cast<std::uint32_t>(a));
        } else if (verb == "undo") {
            tracer.Undo();
        } else if (verb == "scan-row-length" && words >> a && a >= 0) {
            tracer.SetScanRowLength(static_cast<std::uint32_t>(a));
        } else if (verb == "advanced-enable") {
            // As the layout's context menu does it.
            tracer.SetAdvancedEnabled(!tracer.AdvancedEnabled());
            tracer.SetAdvancedStarted(false);
            tracer.Reset();
        } else if (verb == "advanced-start") {
            tracer.SetAdvancedStarted(!tracer.AdvancedStarted());
            tracer.Reset();
        } else {
            return false;
        }
    }
    return true;
}

std::vector<std::string> DesignRecovery::Prefix(const PointTracer& tracer) const
{
    std::vector<std::string> prefix;
    if (tracer.AdvancedEnabled())
        prefix.push_back("advanced-enable");
    if (tracer.ScanRowLength() != 0)
        prefix.push_back("scan-row-length " + std::to_string(tracer.ScanRowLength()));
    if (tracer.AdvancedStarted())
        prefix.push_back("advanced-start");
    return prefix;
}

void DesignRecovery::Rebase()
{
    PointTracer* tracer = m_document.Tracer();
    m_baseTracer = tracer;
    ++m_baseId;
    m_steps.clear();
    m_prefix.clear();
    m_rowWasComplete = false;
    if (!tracer) {
        m_base = LayoutDesign{};
        return;
    }
    const LayoutModel& layout = m_document.Layout();
    m_base = DesignFile::CaptureLayout(m_document,
                                       DesignFile::WholeModule(layout.Width(), layout.Height()));
    m_prefix = Prefix(*tracer);
    m_rowWasComplete = tracer->RowComplete();
}

void DesignRecovery::OnTracing(const PointTracer::Event& event)
{
    const PointTracer* tracer = m_document.Tracer();
    if (!tracer)
        return;
    using Kind = PointTracer::Event::Kind;
    if (tracer != m_baseTracer || event.kind == Kind::Reset ||
        (event.kind == Kind::Finish && tracer->LayoutPresent())) {
        // A finished layout stands in the layout section; after a reset tracing starts over.
        Rebase();
        m_rowDue = event.kind == Kind::Finish;
        return;
    }
    const std::string cell = std::to_string(event.x) + " " + std::to_string(event.y);
    // A mark goes before the click that gave it: the click is replayed without a marks mode.
    if (event.kind == Kind::Mark && event.x < 0)
        m_steps.push_back("mark-all " + std::to_string(event.mark));
    else if (event.mark >= 0)
        m_steps.push_back("mark " + cell + " " + std::to_string(event.mark));
    switch (event.kind) {
    case Kind::Click:
        m_steps.push_back("click " + cell);
        break;
    case Kind::Virtual:
        m_steps.push_back("virtual " + std::to_string(event.count));
        break;
    case Kind::Undo:
        m_steps.push_back("undo");
        break;
    default:
        break;
    }
    // A completed scan row: the first row traced, or in advanced tracing a row's last point.
    const bool rowComplete = tracer->RowComplete();
    if (rowComplete && !m_rowWasComplete)
        m_rowDue = true;
    if (tracer->AdvancedStarted() && tracer->ScanRowLength() != 0 && event.kind != Kind::Undo &&
        tracer->TracedCount() % tracer->ScanRowLength() == 0)
        m_rowDue = true;
    m_rowWasComplete = rowComplete;
}

void DesignRecovery::Tick()
{
    if (!m_document.Modified()) {
        if (m_onDisk)
            Remove();
        m_rowDue = false;
        m_lastWrite = m_clock.TickCount();
        return;
    }
    if (m_rowDue || m_clock.TickCount() - m_lastWrite >= m_interval)
        Write();
}

bool DesignRecovery::Write()
{
    m_rowDue = false;
    m_lastWrite = m_clock.TickCount();
    if (m_document.Tracer() != m_baseTracer)
        Rebase();
    SetupBlock block;
    // Compared with the last written bytes: no padding byte may differ by chance.
    std::memset(static_cast<void*>(&block), 0, sizeof block);
    block.hasRecord = m_document.HasRecord() ? 1 : 0;
    block.record = m_document.Record();
    block.connectors = m_document.Connectors();
    block.layoutConnectors = m_document.Setup().connectors;
    block.backgroundWidth = m_document.Background().Width();
    block.backgroundHeight = m_document.Background().Height();
    const auto* blockBytes = reinterpret_cast<const std::uint8_t*>(&block);
    std::vector<std::uint8_t> setup(blockBytes, blockBytes + sizeof block);
    std::u16string name = m_document.FileTitle();
    if (name.empty())
        name = m_document.ModuleInfo().ModuleName();
    std::string record =
        utf::ToUtf8(m_document.FilePath().u16string()) + "\n" + utf::ToUtf8(name) + "\n";
    const std::uint64_t sections = DesignFingerprint::OfSections(m_document);
    std::string pointGo = m_document.PointGoLayout().Describe();
    // Only steps since the last write: they are added to the steps file, the rest stands.
    const bool written =
        m_onDisk && m_written.baseId == m_baseId && m_written.sections == sections &&
                m_written.setup == setup && m_written.record == record &&
                m_written.pointGo == pointGo
            ? AppendSteps()
            : WriteWhole(sections, std::move(setup), std::move(record), std::move(pointGo));
    if (written)
        ++m_writes;
    return written;
}

bool DesignRecovery::AppendSteps()
{
    if (m_written.steps == m_steps.size())
        return true;
    std::string text;
    for (std::size_t i = m_written.steps; i < m_steps.size(); ++i)
        text += m_steps[i] + "\n";
    const std::filesystem::path dir = FolderOf(m_document.Folder());
    if (!fileio::Append(Generation::In(dir, m_written.generation).steps, Bytes(text)))
        return false;
    m_written.steps = m_steps.size();
    return true;
}

bool DesignRecovery::WriteWhole(std::uint64_t sections, std::vector<std::uint8_t> setup,
                                std::string record, std::string pointGo)
{
    // The sections as they stand, but the grid as it stood when the steps began.
    const CellDesign& cell = m_document.Cell();
    LayoutDesign layout = m_base;
    layout.images = cell.Images();
    layout.background = cell.Background();
    for (int i = 0; i < CellDesign::kSlotCount; ++i)
        layout.cellSlots[i] = cell.Slot(i + 1);
    DesignParts parts{m_document.ModuleInfo(), m_document.Socket(), std::move(layout),
                      m_document.Background()};
    DriverFile::Result result;
    const auto bytes = DesignPartsFile::Build(parts, m_ports, result);
    if (!bytes)
        return false;
    std::string steps;
    for (const auto* list : {&m_prefix, &m_steps})
        for (const std::string& line : *list)
            steps += line + "\n";

    const std::filesystem::path dir = FolderOf(m_document.Folder());
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    // A generation no record on disk names, so that the files of the one it does stay whole.
    std::uint64_t generation = m_written.generation + 1;
    if (const auto onDisk = fileio::ReadAll(dir / kRecordFile))
        generation = std::max(generation, GenerationOf(Lines(*onDisk)) + 1);
    const Generation files = Generation::In(dir, generation);
    const std::string named =
        record + std::to_string(generation) + "\n" + Hex(setup) + "\n" + pointGo + "\n";
    // The files of the generation are new; the record file, replaced atomically and last, makes
    // them the record.
    if (!fileio::WriteNew(files.driverFile, *bytes) ||
        !fileio::WriteNew(files.steps, Bytes(steps)) ||
        !fileio::WriteAtomic(dir / kRecordFile, Bytes(named)))
        return false;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        const std::filesystem::path& path = entry.path();
        if (path != files.driverFile && path != files.steps && path.filename() != kRecordFile)
            std::filesystem::remove(path, error);
    }
    m_onDisk = true;
    m_written = {generation,        m_baseId,           sections,      std::move(setup),
                 std::move(record), std::move(pointGo), m_steps.size()};
    return true;
}

void DesignRecovery::Remove()
{
    Discard(m_document.Folder());
    m_onDisk = false;
    m_written = {};
}

} // namespace md
