#include "core/wizard/SmartWizard.h"

#include "core/controller/CommandChannel.h"
#include "core/controller/CommandWords.h"
#include "core/platform/HostServices.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/wizard/CombinedFile.h"
#include "core/wizard/WizardDialogs.h"
#include "core/wizard/WizardStep6.h"
#include "core/wizard/WizardSteps.h"
#include "md/ContractIds.h"

#include <algorithm>
#include <array>

namespace md {

namespace {

constexpr std::array<std::int32_t, 82> kSkipTypes = {
    15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  33,  38,  39,  40,  41,  42,  43,
    44,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  64,  66,  68,  69,
    72,  143, 144, 158, 159, 160, 161, 80,  81,  82,  83,  84,  85,  86,  87,  88,  89,
    98,  103, 104, 105, 106, 107, 108, 109, 111, 112, 113, 114, 115, 116, 117, 118, 119,
    120, 121, 122, 129, 131, 133, 134, 137, 208, 209, 223, 224, 225, 226};

void CopyName(char16_t* target, std::size_t capacity, const std::u16string& name)
{
    const std::size_t length = std::min(name.size(), capacity - 1);
    std::copy_n(name.begin(), length, target);
    target[length] = 0;
}

void FillChip(ModuleChip& chip, const ChipRecord& record, std::uint32_t polarity)
{
    CopyName(chip.name, ModuleChip::kNameCapacity, record.name);
    chip.type = record.type;
    chip.isScan = record.isScan;
    chip.polarity = static_cast<std::int32_t>(polarity);
    chip.maxScans = record.maxScans;
}

} // namespace

SmartWizard::SmartWizard(WizardContext context, WizardInputs inputs)
    : m_context(context), m_inputs(std::move(inputs))
{}

bool SmartWizard::SkipsPolaritySteps(std::int32_t driverType)
{
    return driverType == 1 || driverType == 2 ||
           std::find(kSkipTypes.begin(), kSkipTypes.end(), driverType) != kSkipTypes.end();
}

bool SmartWizard::ClearsMultiClock(std::int32_t driverType)
{
    switch (driverType) {
    case 48:
    case 113:
    case 49:
    case 114:
    case 161:
    case 226:
        return true;
    default:
        return false;
    }
}

int SmartWizard::ExpectedLineCount(int colourType)
{
    switch (colourType) {
    case WizardInputs::kSingle:
        return 1;
    case WizardInputs::kFull:
        return 3;
    case WizardInputs::kDouble:
        return 2;
    default:
        return 4;
    }
}

int SmartWizard::LineFactor(const WizardInputs& in)
{
    switch (in.colourType) {
    case WizardInputs::kSingle:
        return 1;
    case WizardInputs::kDouble:
        return 2;
    case WizardInputs::kVirtual:
        return 4;
    default:
        if (in.dataLineType != 0)
            return 1;
        return (in.groupingMode == 1 || in.groupingMode == 4 || in.groupingMode == 6 ||
                in.groupingMode == 8)
                   ? 3
                   : 4;
    }
}

bool SmartWizard::FullColourSpecial(const WizardInputs& in)
{
    if (in.colourType != WizardInputs::kFull || (in.groupingMode != 1 && in.groupingMode != 4))
        return false;
    const std::int32_t type = in.driverChip.type;
    return (type == 0 && !in.hubAddressContinuous) || type == 1 || type == 2 || type == 3;
}

void SmartWizard::Say(const char* key)
{
    m_context.prompter.Ask(PromptButtons::Ok, m_context.texts.Text("IDS_MODULE_FIRSETDLG_PROMPT"),
                           m_context.texts.Text(key));
}

SmartWizard::Outcome SmartWizard::Abandon()
{
    m_context.channel.MarkWizardEnd();
    return Outcome::Abandoned;
}

SmartWizard::Outcome SmartWizard::Run()
{
    const WizardInputs& in = m_inputs;
    const std::int32_t driverType = in.driverChip.type;
    m_multiClock = in.multiClock;
    m_context.channel.WriteParameters(
        static_cast<std::uint32_t>(in.groupingMode), static_cast<std::uint32_t>(m_multiClock),
        static_cast<std::uint32_t>(in.dataLineType), static_cast<std::uint32_t>(driverType));
    if (ClearsMultiClock(driverType))
        m_multiClock = 0;
    m_context.channel.MarkWizardStart();

    m_s = static_cast<std::uint32_t>(in.driverChip.polarity);
    m_b = static_cast<std::uint32_t>(in.scanChip.polarity) |
          (static_cast<std::uint32_t>(in.rowBlankingPolarity) << 8);
    m_count = commandwords::WizardRowCount(static_cast<std::uint32_t>(in.driverChip.maxScans), m_b);
    if (!RunSteps()) {
        Abandon();
        return Outcome::Cancelled;
    }

    m_expectedLines = ExpectedLineCount(in.colourType);
    if (static_cast<int>(m_lineColours.size()) != m_expectedLines) {
        Say("IDS_MODULE_FIRSETDLG_LINESERROR");
        return Abandon();
    }
    if (in.dataLineType != 0)
        m_expectedLines = 1;

    m_results.polaritiesStored = true;
    m_results.driverPolarity = static_cast<std::int32_t>(m_s);
    m_results.scanPolarity = static_cast<std::int32_t>(m_b);
    WizardMemory& memory = m_context.memory;
    memory.driverPolarity = static_cast<std::uint16_t>(m_s);
    memory.scanPolarity = static_cast<std::uint16_t>(m_b);

    BuildRecord();
    if (!HandOver())
        return Abandon();
    WizardStep6 step6(m_context, m_record.width, m_record.height);
    step6.onCropped = onCropped;
    step6.TakeCombinedFile();
    m_context.dialogs.RunStep6(step6);
    return Outcome::Finished;
}

bool SmartWizard::RunSteps()
{
    CommandChannel& channel = m_context.channel;
    const bool skip = SkipsPolaritySteps(m_inputs.driverChip.type);
    const std::uint32_t base = commandwords::kAllPositions | (m_count << 8);

    channel.Send(commandwords::BeforeStep1(m_s | m_b, m_count));
    if (!skip) {
        WizardStep1 step(m_s, m_b, base | 0xF6, channel);
        if (!m_context.dialogs.RunStep1(step))
            return false;
        m_s = step.Polarity();
    }
    channel.Send(commandwords::BeforeStep2(m_s | m_b, m_count));
    if (!skip) {
        WizardStep2 step(m_s, m_b, base | 0xF7, channel);
        if (!m_context.dialogs.RunStep2(step))
            return false;
        m_s = step.Polarity();
    }
    channel.Send(commandwords::BeforeStep3(m_s | m_b, m_count));
    WizardStep3 step3;
    if (!m_context.dialogs.RunStep3(step3))
        return false;
    m_rows = step3.Rows();
    m_results.scanRows = m_rows;
    m_context.memory.scanRows = static_cast<std::uint16_t>(m_rows);

    WizardStep4 step4(m_s | m_b, static_cast<std::uint32_t>(m_rows), m_inputs.groupingMode,
                      m_inputs.dataLineType, channel);
    if (!m_context.dialogs.RunStep4(step4))
        return false;
    m_lineColours = step4.LineColours();
    m_lineMap = step4.LineMap();
    return true;
}

void SmartWizard::BuildRecord()
{
    const WizardInputs& in = m_inputs;
    const std::uint32_t groups = in.dataGroups == 0 ? 1 : in.dataGroups;
    ModuleRecord& r = m_record;
    r = ModuleRecord{};
    r.kind = ModuleRecord::kKind;
    r.scanRows = static_cast<std::uint16_t>(m_rows);
    r.width = static_cast<std::uint16_t>(
        in.splitByOneGroup && in.verticalSplit ? in.xPixels / groups : in.xPixels);
    r.height = static_cast<std::uint16_t>(
        in.splitByOneGroup && !in.verticalSplit ? in.yPixels / groups : in.yPixels);
    CopyName(r.name, ModuleRecord::kNameCapacity, u"zt5module");
    FillChip(r.driverChip, in.driverChip, m_s);
    FillChip(r.scanChip, in.scanChip, m_b);
    r.colourCode = static_cast<std::uint32_t>(in.colourType);
    static constexpr std::uint32_t kTriples[5][3] = {
        {0, 0, 0}, {1, 6, 7}, {1, 7, 6}, {2, 5, 8}, {2, 8, 5}};
    const int arrangement = in.colourType == WizardInputs::kVirtual ? in.virtualArrangement : 0;
    for (int i = 0; i < 3; ++i)
        r.virtualTriple[i] = arrangement >= 0 && arrangement <= 4 ? kTriples[arrangement][i] : 0;
    const std::uint32_t area = std::uint32_t{r.width} * r.height;
    r.pointsPerGroup = static_cast<std::uint16_t>(in.splitByOneGroup ? area : area / groups);
    r.lineCount = static_cast<std::uint16_t>(in.dataLineType != 0 ? 1 : m_lineColours.size());
    r.groupCount = static_cast<std::uint16_t>(in.splitByOneGroup ? 1 : groups);
    r.lineTotal = static_cast<std::uint16_t>(r.lineCount * r.groupCount);
    r.pointsPerRow = static_cast<std::uint16_t>(m_rows > 0 ? r.pointsPerGroup / m_rows : 0);
    r.lineColourCount = static_cast<std::uint16_t>(std::min<std::size_t>(m_lineColours.size(), 4));
    for (std::size_t i = 0; i < r.lineColourCount; ++i)
        r.lineColours[i] = m_lineColours[i];
    r.virtualPointPosition = in.virtualPointPosition;
    r.virtualPointLength = in.virtualPointLength;
    r.multiClock = static_cast<std::uint32_t>(m_multiClock);
    r.owner = in.owner;
    r.sameColourSwap = in.sameColourSwap ? 1 : 0;
    // The connector table keeps the multi-clock index the page chose.
    const int m = std::clamp(in.multiClock, 0, ModuleRecord::kConnectorSize - 1);
    for (auto& row : r.connector)
        std::fill(std::begin(row), std::end(row), -1);
    for (int column = 0; column <= m; ++column)
        r.connector[0][column] = column;
    r.connectorRows = 1;
    r.connectorColumns = static_cast<std::uint32_t>(m + 1);
}

void SmartWizard::BuildSocketRequest()
{
    const WizardInputs& in = m_inputs;
    const std::filesystem::path socket = m_context.programFolder / "temp" / "zt5Module.mjk";
    m_request = SocketRequest{};
    CopyName(m_request.path, SocketRequest::kPathCapacity, socket.u16string());
    const int factor = LineFactor(in);
    const bool special = FullColourSpecial(in);
    int unit = special ? 90 : 96;
    if (!in.splitByOneGroup)
        unit /= static_cast<int>(in.dataGroups == 0 ? 1 : in.dataGroups);
    unit /= factor;
    m_request.ledUnit = static_cast<std::uint16_t>(unit);
    m_request.lineCount = static_cast<std::uint16_t>(m_expectedLines);
    m_request.groupCount = static_cast<std::uint16_t>(
        in.splitByOneGroup ? 1 : (in.dataGroups == 0 ? 1 : in.dataGroups));
    std::copy(m_lineMap.begin(), m_lineMap.end(), m_request.lineMap);
    m_request.lineFactor = static_cast<std::uint16_t>(factor);
    m_request.fullColourSpecial = special ? 1 : 0;
    m_results.ledUnit = unit;
}

bool SmartWizard::HandOver()
{
    if (!m_context.host.CanNotify()) {
        Say("IDS_MODULE_FIRSETDLG_MSGPLUGINNOLOAD");
        return false;
    }
    const auto handed = m_context.host.NotifySelf(contract::kMsgWizardHandOver,
                                                  reinterpret_cast<std::uintptr_t>(&m_record), 0);
    if (handed && *handed != 0)
        return false;
    std::error_code ec;
    const std::filesystem::path temp = m_context.programFolder / "temp";
    std::filesystem::create_directories(temp, ec);
    if (!std::filesystem::is_directory(temp, ec))
        return false;
    BuildSocketRequest();
    const auto socket =
        m_context.host.Send(contract::kSocketComponentId, contract::kMsgSocketRequest,
                            reinterpret_cast<std::uintptr_t>(&m_request), 0);
    if (!socket || *socket != 0)
        return false;
    m_results.width = m_record.width;
    m_results.height = m_record.height;

    const WizardInputs& in = m_inputs;
    CombinedTrailer trailer;
    trailer.withExtension = in.splitByOneGroup || in.dataGroups == 1;
    trailer.xPixels = m_record.width;
    trailer.yPixels = m_record.height;
    trailer.driverPolarity = m_s;
    trailer.scanPolarity = m_b;
    trailer.dataGroups = in.dataGroups;
    trailer.virtualPointPosition = in.virtualPointPosition;
    trailer.virtualPointLength = in.virtualPointLength;
    trailer.scanRows = static_cast<std::uint16_t>(m_rows);
    trailer.ledUnit = m_request.ledUnit;
    trailer.rowDischarge = static_cast<std::uint16_t>(in.rowDischarge);
    trailer.groupingMode = static_cast<std::uint16_t>(in.groupingMode);
    trailer.dataLineType = static_cast<std::uint16_t>(in.dataLineType);
    trailer.multiClock = static_cast<std::uint32_t>(m_multiClock);
    const std::filesystem::path combined = temp / "zt5ModuleHUB.MHR";
    m_results.combinedPath = combined.u16string();
    if (!CombinedFile::Combine(temp / "zt5Module.MDR", temp / "zt5HUB.HDR", combined, trailer,
                               m_context.codePage))
        return false;
    m_context.memory.trailer = trailer;
    m_context.memory.combined = true;

    m_context.host.Send(contract::kControllerLoaderId, contract::kMsgLoadCombined, 1, 0);
    m_context.channel.MarkWizardEnd();
    const std::uint32_t wParam = (static_cast<std::uint32_t>(m_multiClock) << 24) + 0x10001;
    m_context.host.Send(contract::kControllerSenderId, contract::kMsgSendCombined, wParam,
                        reinterpret_cast<std::intptr_t>(m_results.combinedPath.c_str()));
    return true;
}

} // namespace md
