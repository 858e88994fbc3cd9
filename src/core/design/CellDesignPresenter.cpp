#include "core/design/CellDesignPresenter.h"

#include "core/design/CellGroups.h"
#include "core/design/CellTextFormat.h"
#include "core/io/FileIo.h"
#include "core/io/NumberText.h"
#include "core/io/Utf.h"

#include <cmath>

namespace md {

namespace {

constexpr std::u16string_view kCellSizeRange = u"Cell Size in 1.0~100.0(mm)";

/// Where generated cells place one LED per colour, by the number of colours.
constexpr std::array<std::array<std::array<std::uint16_t, 2>, 4>, 4> kDefaultPositions{{
    {{{92, 102}}},
    {{{92, 82}, {92, 122}}},
    {{{92, 62}, {92, 102}, {92, 142}}},
    {{{46, 84}, {132, 84}, {46, 131}, {132, 131}}},
}};

std::u16string PathText(const std::filesystem::path& path)
{
    return utf::ToUtf16(path.string());
}

} // namespace

CellDesignPresenter::CellDesignPresenter(Ports ports, ProgramFolder folder, CellDesign* model)
    : m_ports(std::move(ports)), m_folder(std::move(folder)),
      m_own(model ? nullptr : std::make_unique<CellDesign>()), m_design(model ? *model : *m_own)
{}

void CellDesignPresenter::Say(std::u16string_view text)
{
    m_ports.prompter.Ask(PromptButtons::Ok, m_ports.texts.Text("ID_PROMPT"), std::u16string(text));
}

void CellDesignPresenter::Open()
{
    m_pointer.Clear();
    if (m_design.Background().bytes.empty())
        LoadDefaultBackground();
    m_design.DeselectAll();
}

void CellDesignPresenter::LoadDefaultBackground()
{
    // A missing file leaves the grey canvas.
    if (auto bytes = fileio::ReadAll(m_folder.PluginData() / kDefaultBackground))
        m_design.SetBackground(utf::FromAscii(kDefaultBackground), std::move(*bytes));
}

std::array<std::vector<std::u16string>, 3> CellDesignPresenter::LightNames() const
{
    std::array<std::vector<std::u16string>, 3> names;
    for (const HostLight& light : m_ports.lights())
        if (light.colour >= 0 && light.colour <= 2)
            names[static_cast<std::size_t>(light.colour)].push_back(light.name);
    return names;
}

std::optional<HostLight> CellDesignPresenter::FindLight(int colour, std::u16string_view name) const
{
    for (const HostLight& light : m_ports.lights())
        if (light.colour == colour && light.name == name)
            return light;
    return std::nullopt;
}

std::optional<std::u16string> CellDesignPresenter::SizeLine(int colour,
                                                            std::u16string_view name) const
{
    const auto light = FindLight(colour, name);
    if (!light)
        return std::nullopt;
    const std::u16string format =
        m_ports.texts.TextOr("ID_LIGHT_SIZE_INFO", u"灯大小信息: %.1f * %.1f (mm)");
    return CellTextFormat::Format(format,
                                  {light->widthTenthMm / 10.0, light->heightTenthMm / 10.0});
}

std::u16string CellDesignPresenter::CellSizeText() const
{
    return CellTextFormat::Format(u"%.1f", {m_design.CellSize() / 10.0});
}

bool CellDesignPresenter::EditCellSize(std::u16string_view text)
{
    const double value = numbertext::LeadingReal(text).value_or(0.0);
    if (text.empty() || !(value >= 1.0 && value <= 100.0)) {
        Say(kCellSizeRange);
        return false;
    }
    const auto tenths = static_cast<std::uint16_t>(std::trunc(value * 10));
    if (tenths == m_design.CellSize())
        return false;
    m_design.SetCellSize(tenths);
    return true;
}

std::optional<std::uint16_t> CellDesignPresenter::Picture(const std::u16string& name, bool tell)
{
    if (const LightImage* image = m_design.FindImage(name))
        return image->id;
    const std::filesystem::path path = m_folder.LightLibrary() / utf::ToUtf8(name);
    auto bytes = fileio::ReadAll(path);
    if (!bytes) {
        if (tell)
            Say(u"\"" + PathText(path) + u"\" does not exist.");
        return std::nullopt;
    }
    return m_design.AddImage(name, std::move(*bytes));
}

CellLed CellDesignPresenter::MakeLed(const HostLight& light, int colour,
                                     std::uint16_t imageId) const
{
    CellLed led;
    led.widthTenthMm = static_cast<std::uint16_t>(light.widthTenthMm);
    led.heightTenthMm = static_cast<std::uint16_t>(light.heightTenthMm);
    led.widthPx = CellDesign::PixelLength(led.widthTenthMm, m_design.CellSize());
    led.heightPx = CellDesign::PixelLength(led.heightTenthMm, m_design.CellSize());
    led.colour = static_cast<std::uint16_t>(colour);
    led.code = light.code;
    led.imageId = imageId;
    led.active = 1;
    led.showInfo = m_design.ShowInfo() ? 1 : 0;
    led.name = light.name;
    return led;
}

bool CellDesignPresenter::AddLight(int colour, const std::optional<std::u16string>& selected)
{
    if (m_design.CellSize() < CellDesign::kMinCellSize ||
        m_design.CellSize() > CellDesign::kMaxCellSize) {
        Say(u"please check cell size.");
        return false;
    }
    if (m_design.CurrentSlot() == 0) {
        Say(u"please choose a cell.");
        return false;
    }
    if (!selected) {
        Say(u"please choose a light.");
        return false;
    }
    const auto light = FindLight(colour, *selected);
    if (!light)
        return false;
    const auto imageId = Picture(light->name, true);
    if (!imageId)
        return false;
    m_design.Append(MakeLed(*light, colour, *imageId));
    return true;
}

bool CellDesignPresenter::ChooseBackground()
{
    FileRequest request;
    request.filter = u"Image Files (*.bmp)|*.bmp|";
    request.defaultExtension = u"bmp";
    request.mustExist = true;
    const auto path = m_ports.chooser.ChooseOpen(request);
    if (!path)
        return false;
    auto bytes = fileio::ReadAll(*path);
    PictureSize size;
    if (!bytes || !m_ports.codec.Decode(*bytes, size)) {
        Say(u"open failed");
        return false;
    }
    m_design.SetBackground(utf::ToUtf16(path->filename().string()), std::move(*bytes));
    m_design.DeselectAll();
    return true;
}

bool CellDesignPresenter::Delete()
{
    if (m_design.SelectedCount() == 0) {
        Say(u"Please select a LED.");
        return false;
    }
    if (m_design.DeleteSelected() && m_design.ShowInfo())
        m_design.SetInfoOnAll(true);
    return true;
}

bool CellDesignPresenter::Merge()
{
    std::vector<CellLed>* slot = m_design.Current();
    if (!slot)
        return false;
    switch (CellGroups::Merge(*slot)) {
    case CellGroups::Result::TooFewSelected:
        Say(u"Parallel LED is than the sum of the one.");
        return false;
    case CellGroups::Result::ColourMismatch:
        Say(u"Parallel LED must be the same color type.");
        return false;
    default:
        break;
    }
    if (m_design.ShowInfo())
        m_design.SetInfoOnAll(true);
    m_design.Changes().Raise(); // the groups changed in place
    return true;
}

bool CellDesignPresenter::Split()
{
    std::vector<CellLed>* slot = m_design.Current();
    if (!slot)
        return false;
    if (CellGroups::Split(*slot) != CellGroups::Result::Done) {
        Say(m_design.CurrentSlot() == 1 ? u"Paiallel LED is than the sum of the zero."
                                        : u"Parallel LED is than the sum of the zero.");
        return false;
    }
    if (m_design.ShowInfo())
        m_design.SetInfoOnAll(true);
    m_design.Changes().Raise(); // the groups changed in place
    return true;
}

void CellDesignPresenter::Paste()
{
    // Pictures dropped since the copy are read again from the light library.
    for (const std::u16string& name : m_design.Paste()) {
        const auto id = Picture(name, false);
        if (!id)
            continue;
        for (CellLed& led : *m_design.Current())
            if (led.name == name)
                led.imageId = *id;
    }
    m_design.Changes().Raise();
}

bool CellDesignPresenter::Confirm()
{
    if (!m_design.Confirm()) {
        Say(u"Invalid The first of Cell.");
        return false;
    }
    return true;
}

void CellDesignPresenter::Exit()
{
    m_design.Reset();
    m_pointer.Clear();
}

bool CellDesignPresenter::GenerateDefault(const std::vector<int>& colours)
{
    m_design.Reset();
    m_pointer.Clear();
    LoadDefaultBackground();
    m_design.SetCellSize(kDefaultCellSizeGenerated);
    if (colours.empty() || colours.size() > kDefaultPositions.size())
        return false;
    std::array<std::optional<HostLight>, 3> lastOfColour;
    for (const HostLight& light : m_ports.lights())
        if (light.colour >= 0 && light.colour <= 2)
            lastOfColour[static_cast<std::size_t>(light.colour)] = light;
    bool allPictures = true;
    const auto& positions = kDefaultPositions[colours.size() - 1];
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const int colour = colours[i];
        if (colour < 0 || colour > 2 || !lastOfColour[static_cast<std::size_t>(colour)])
            continue;
        const HostLight& light = *lastOfColour[static_cast<std::size_t>(colour)];
        const auto imageId = Picture(light.name, false);
        if (!imageId) {
            allPictures = false;
            continue;
        }
        CellLed led = MakeLed(light, colour, *imageId);
        led.x = positions[i][0];
        led.y = positions[i][1];
        m_design.Append(std::move(led));
    }
    return allPictures;
}

CellInfoTexts CellDesignPresenter::Info() const
{
    CellInfoTexts info;
    info.total = CellTextFormat::Format(u"%d", {static_cast<double>(m_design.TotalLeds())});
    if (m_design.CurrentSlot() == 0 || !m_pointer.LedHit())
        return info;
    const CellLed* led = m_design.FirstSelected();
    if (!led)
        return info;
    info.size = CellTextFormat::Format(u"%.1f * %.1f (mm)",
                                       {led->widthTenthMm / 10.0, led->heightTenthMm / 10.0});
    info.pixels =
        CellTextFormat::Format(u"%d * %d (pix)", {double(led->widthPx), double(led->heightPx)});
    info.position = CellTextFormat::Format(u"(%d , %d)", {double(led->x), double(led->y)});
    return info;
}

std::u16string CellDesignPresenter::InfoButtonText() const
{
    return m_design.ShowInfo() ? m_ports.texts.TextOr("ID_HIDE_LIGHT_INFO", u"隐藏灯信息")
                               : m_ports.texts.TextOr("ID_SHOW_LIGHT_INFO", u"显示灯信息");
}

} // namespace md
