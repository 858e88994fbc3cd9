#include "core/design/SocketDesign.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace md {

namespace {

constexpr std::array<std::uint32_t, SocketDesign::kTypeCount> kTypeCodes = {
    15, 16, 47, 63, 64, 65, 66, 67, 81, 112, 143, 144};
constexpr std::uint32_t kTakenOverCode = 68;
constexpr int kTakenOverPicture = 13;

} // namespace

std::optional<std::uint32_t> SocketDesign::CodeOfType(int typeIndex)
{
    if (typeIndex < 0 || typeIndex >= kTypeCount)
        return std::nullopt;
    return kTypeCodes[static_cast<std::size_t>(typeIndex)];
}

int SocketDesign::PictureOfCode(std::uint32_t code)
{
    if (code == kTakenOverCode)
        return kTakenOverPicture;
    const auto it = std::find(kTypeCodes.begin(), kTypeCodes.end(), code);
    return it == kTypeCodes.end() ? -1 : static_cast<int>(it - kTypeCodes.begin());
}

std::filesystem::path SocketDesign::PicturePath(int pictureIndex) const
{
    return m_pictureFolder / ("socket_frame_background_" + std::to_string(pictureIndex) + ".bmp");
}

void SocketDesign::LayOut(std::uint16_t pinCount, std::uint16_t scanRows, int boxWidth,
                          int boxHeight)
{
    m_pinCount = pinCount;
    m_scanRows = scanRows;
    m_boxWidth = boxWidth;
    m_boxHeight = boxHeight;
    m_pins.assign(pinCount, SocketPin{});
    for (std::uint32_t i = 0; i < pinCount; ++i) {
        SocketPin& pin = m_pins[i];
        pin.index = i;
        pin.left = (i % 2 == 0) ? kPinLeft : kPinLeft + boxWidth;
        pin.top = static_cast<int>(i / 2) * boxHeight;
        pin.right = pin.left + boxWidth;
        pin.bottom = pin.top + boxHeight;
    }
    m_selected = -1;
    m_changes.Raise();
}

void SocketDesign::NewSocket(std::uint16_t pinCount, std::uint16_t scanRows, int boxWidth,
                             int boxHeight)
{
    LayOut(pinCount, scanRows, boxWidth, boxHeight);
    m_filePath.clear();
    m_state = New;
}

void SocketDesign::MarkChanged()
{
    m_state = State::Changed;
    m_changes.Raise();
}

bool SocketDesign::Assign(int typeIndex)
{
    const auto code = CodeOfType(typeIndex);
    if (!code || m_selected < 0 || m_selected >= static_cast<int>(m_pins.size()))
        return false;
    const auto holders = std::count_if(m_pins.begin(), m_pins.end(),
                                       [&](const SocketPin& pin) { return pin.code == *code; });
    if (*code != kRepeatable && holders > 0)
        return false;
    if (*code == kRepeatable && holders >= kMaxRepeatable)
        return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PicturePath(typeIndex), ec))
        return false;
    m_pins[static_cast<std::size_t>(m_selected)].code = *code;
    MarkChanged();
    return true;
}

bool SocketDesign::Clear()
{
    if (m_selected < 0 || m_selected >= static_cast<int>(m_pins.size()))
        return false;
    m_pins[static_cast<std::size_t>(m_selected)].code = kUnassigned;
    MarkChanged();
    return true;
}

bool SocketDesign::Command(std::uint32_t command)
{
    if (command == kClearCommand)
        return Clear();
    if (command >= kFirstTypeCommand && command < kFirstTypeCommand + kTypeCount)
        return Assign(static_cast<int>(command - kFirstTypeCommand));
    return false;
}

void SocketDesign::Select(int pin)
{
    m_selected = (pin >= 0 && pin < static_cast<int>(m_pins.size())) ? pin : -1;
}

int SocketDesign::PinAt(int x, int y) const
{
    for (const auto& pin : m_pins)
        if (pin.Contains(x, y))
            return static_cast<int>(pin.index);
    return -1;
}

void SocketDesign::MoveSelection(Key key)
{
    const int count = static_cast<int>(m_pins.size());
    if (count == 0)
        return;
    if (m_selected < 0) {
        m_selected = 0;
        return;
    }
    int i = m_selected;
    switch (key) {
    case Key::Left:
    case Key::Right:
        i = (i % 2 == 0) ? i + 1 : i - 1;
        break;
    case Key::Up:
        if (i - 2 >= 0) {
            i -= 2;
        } else {
            // Wrap to the last pin of the same column.
            const int column = i % 2;
            i = (count - 1) % 2 == column ? count - 1 : count - 2;
        }
        break;
    case Key::Down:
        i = (i + 2 < count) ? i + 2 : i % 2;
        break;
    }
    m_selected = std::clamp(i, 0, count - 1);
}

bool SocketDesign::IsValid() const
{
    if (m_pins.empty() || m_pinCount == 0)
        return false;
    std::map<std::uint32_t, int> counts;
    for (const auto& pin : m_pins)
        ++counts[pin.code];
    for (std::uint32_t required : {16u, 47u, 63u})
        if (counts[required] != 1)
            return false;
    for (std::uint32_t optional : {64u, 65u, 66u, 67u, 68u, 81u, 112u, 143u, 144u})
        if (counts[optional] > 1)
            return false;
    return true;
}

std::uint32_t SocketDesign::Signature(bool repeatableOnly) const
{
    if (!repeatableOnly) {
        std::uint32_t sum = m_pinCount;
        for (const auto& pin : m_pins)
            sum += pin.code + pin.index;
        return sum;
    }
    std::uint32_t count = 0;
    std::uint16_t indices = 0;
    for (const auto& pin : m_pins)
        if (pin.code == kRepeatable) {
            ++count;
            indices = static_cast<std::uint16_t>(indices + pin.index);
        }
    return (count << 16) | indices;
}

} // namespace md
