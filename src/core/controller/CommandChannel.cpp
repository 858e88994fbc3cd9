#include "core/controller/CommandChannel.h"

#include "core/platform/CommandArea.h"
#include "core/platform/Profile.h"

#include <cstring>

namespace md {

bool CommandChannel::Open(const Profile& profile, CommandArea& area,
                          const std::function<bool()>& openExisting)
{
    m_area = nullptr;
    if (profile.GetInt("app", "start", 1) == kNoAreaStart)
        return false;
    if (!openExisting() || !area.IsOpen() || area.Bytes().size() < CommandArea::kSize)
        return false;
    m_area = &area;
    return true;
}

bool CommandChannel::IsOpen() const
{
    return m_area != nullptr && m_area->IsOpen();
}

void CommandChannel::Send(const CommandPair& pair)
{
    if (m_tap)
        m_tap(pair);
    if (!IsOpen())
        return;
    std::uint8_t* bytes = m_area->Bytes().data();
    std::memcpy(bytes + 24, pair.word1.data(), 4);
    std::memcpy(bytes + 28, pair.word2.data(), 4);
}

void CommandChannel::MarkWizardStart()
{
    if (IsOpen())
        m_area->Bytes()[0] = 1;
}

void CommandChannel::MarkWizardEnd()
{
    if (!IsOpen())
        return;
    auto bytes = m_area->Bytes();
    const std::uint32_t done = 100;
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<std::uint8_t>(done >> (8 * i));
    bytes[0] = 0;
}

void CommandChannel::WriteParameters(std::uint32_t groupDataMode, std::uint32_t multiClock,
                                     std::uint32_t dataLineType, std::uint32_t driverType)
{
    if (!IsOpen())
        return;
    auto bytes = m_area->Bytes();
    bytes[21] = static_cast<std::uint8_t>(groupDataMode & 0x0F);
    bytes[22] = static_cast<std::uint8_t>(multiClock | (dataLineType << 4));
    bytes[23] = static_cast<std::uint8_t>('A' + driverType);
}

} // namespace md
