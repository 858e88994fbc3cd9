#pragma once

#include "core/controller/CommandPair.h"

#include <cstdint>
#include <functional>

namespace md {

class CommandArea;
class Profile;

/// The plug-in's side of the controller command area: fire-and-forget writes of command pairs
/// and of the wizard's marks. When no area is attached every write is skipped.
class CommandChannel
{
public:
    static constexpr int kNoAreaStart = 152;

    /// Attaches the area when the profile allows it (app/start is not 152) and openExisting
    /// maps an area that already exists. Returns whether the channel is open.
    bool Open(const Profile& profile, CommandArea& area, const std::function<bool()>& openExisting);
    /// Attaches an area that is already open (or detaches with nullptr).
    void Attach(CommandArea* area) { m_area = area; }
    void Close() { m_area = nullptr; }
    bool IsOpen() const;

    /// Word 1 to offset 24, then word 2 to offset 28.
    void Send(const CommandPair& pair);
    void MarkWizardStart();
    /// 100 to offset 4 (host order), then 0 to offset 0.
    void MarkWizardEnd();
    /// The three parameter bytes at offsets 21 to 23.
    void WriteParameters(std::uint32_t groupDataMode, std::uint32_t multiClock,
                         std::uint32_t dataLineType, std::uint32_t driverType);

    /// Sees every pair passed to Send, also when no area is attached (scripting and logs).
    void SetTap(std::function<void(const CommandPair&)> tap) { m_tap = std::move(tap); }

private:
    CommandArea* m_area = nullptr;
    std::function<void(const CommandPair&)> m_tap;
};

} // namespace md
