#include "core/parameters/ModuleConfigFile.h"

#include "core/io/NumberText.h"
#include "core/io/ProgramFolder.h"
#include "core/xml/XmlDocument.h"

#include <array>

namespace md {

namespace {

constexpr std::uint32_t kMaxStoredPoints = 4096;

/// The stored values, in the order they are written and searched for.
enum class Stored
{
    Style,
    Layout,
    ColourReverse,
    X,
    Y,
    DataCount,
    ScanIc,
    InsertMode,
    CutMode,
    OneGroup,
    DriverIc,
    Polarity,
    Discharge,
};

constexpr std::array<std::u16string_view, 13> kElements = {
    u"module_style",
    u"module_layout",
    u"module_color_reverse",
    u"module_x",
    u"module_y",
    u"module_data_count",
    u"module_scan_ic",
    u"module_insert_mode",
    u"module_cut_mode",
    u"module_one_group",
    u"module_driver_ic",
    u"module_polarity",
    u"module_discharge_setting",
};

std::int32_t StoredValue(const ModuleParameters& p, Stored which)
{
    switch (which) {
    case Stored::Style:
        return static_cast<std::int32_t>(p.moduleType);
    case Stored::Layout:
        return p.virtualMode;
    case Stored::ColourReverse:
        return p.colourSwap ? 1 : 0;
    case Stored::X:
        return static_cast<std::int32_t>(p.xPoints);
    case Stored::Y:
        return static_cast<std::int32_t>(p.yPoints);
    case Stored::DataCount:
        return static_cast<std::int32_t>(p.dataGroups);
    case Stored::ScanIc:
        return p.scanChip;
    case Stored::InsertMode:
        return p.multiClock;
    case Stored::CutMode:
        return p.splitMode;
    case Stored::OneGroup:
        return p.oneGroupCut ? 1 : 0;
    case Stored::DriverIc:
        return p.driverChip;
    case Stored::Polarity:
        return p.polarity;
    case Stored::Discharge:
        return p.discharge;
    }
    return 0;
}

std::int32_t ListIndex(std::int32_t value, std::int32_t size)
{
    return value >= 0 && value < size ? value : -1;
}

void Apply(ModuleParameters& p, Stored which, std::int32_t value,
           const ModuleConfigFile::ListSizes& lists)
{
    switch (which) {
    case Stored::Style:
        if (value >= 0 && value <= 3)
            p.moduleType = static_cast<ModuleType>(value);
        break;
    case Stored::Layout:
        p.virtualMode = ListIndex(value, lists.virtualModes);
        break;
    case Stored::ColourReverse:
        p.colourSwap = value != 0;
        break;
    case Stored::X:
        p.xPoints = static_cast<std::uint32_t>(value);
        break;
    case Stored::Y:
        p.yPoints = static_cast<std::uint32_t>(value);
        break;
    case Stored::DataCount:
        p.dataGroups = static_cast<std::uint32_t>(value);
        break;
    case Stored::ScanIc:
        p.scanChip = ListIndex(value, lists.scanChips);
        break;
    case Stored::InsertMode:
        p.multiClock = value;
        break;
    case Stored::CutMode:
        p.splitMode = ListIndex(value, lists.splitModes);
        break;
    case Stored::OneGroup:
        p.oneGroupCut = value != 0;
        break;
    case Stored::DriverIc:
        p.driverChip = ListIndex(value, lists.driverChips);
        break;
    case Stored::Polarity:
        p.polarity = ListIndex(value, lists.polarities);
        break;
    case Stored::Discharge:
        p.discharge = ListIndex(value, lists.discharges);
        break;
    }
}

} // namespace

ModuleConfigFile::ModuleConfigFile(std::filesystem::path programFolder)
    : m_programFolder(std::move(programFolder))
{}

std::filesystem::path ModuleConfigFile::Path() const
{
    return ProgramFolder(m_programFolder).Temp() / "module_config.xml";
}

int ModuleConfigFile::Write(const ModuleParameters& parameters) const
{
    const std::uint64_t points = std::uint64_t{parameters.xPoints} * parameters.yPoints;
    if (parameters.xPoints > ModuleParameters::kMaxPoints ||
        parameters.yPoints > ModuleParameters::kMaxPoints || points == 0 ||
        points > kMaxStoredPoints)
        return -1;
    if (!ProgramFolder(m_programFolder).EnsureTemp())
        return -1;
    XmlDocument doc(u"<module_ele></module_ele>");
    if (!doc.FindElement(u"module_ele") || !doc.EnterElement())
        return -1;
    for (std::size_t i = 0; i < kElements.size(); ++i) {
        if (doc.AddElement(kElements[i])) {
            doc.SetAttribute(u"ver", 1);
            doc.SetAttribute(u"val", StoredValue(parameters, static_cast<Stored>(i)));
        }
    }
    return doc.SaveFile(Path()) ? 0 : -1;
}

bool ModuleConfigFile::Read(ModuleParameters& parameters, const ListSizes& lists) const
{
    ProgramFolder(m_programFolder).EnsureTemp();
    XmlDocument doc;
    if (!doc.LoadFile(Path()))
        return false;
    if (!doc.FindElement(u"module_ele") || !doc.EnterElement())
        return true;
    // Each search goes on from the last element found.
    for (std::size_t i = 0; i < kElements.size(); ++i)
        if (doc.FindElement(kElements[i]))
            Apply(parameters, static_cast<Stored>(i),
                  numbertext::LeadingInteger(doc.GetAttribute(u"val")), lists);
    return true;
}

} // namespace md
