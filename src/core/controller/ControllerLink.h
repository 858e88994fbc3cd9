#pragma once

#include "core/controller/CommandChannel.h"
#include "core/posix/PosixCommandArea.h"

#include <memory>
#include <string>

namespace md {

class Profile;

/// The link to the controller: the command area the host created, mapped while a window that
/// lights the module holds it (the module parameter page, the layout step), and the channel
/// every sender writes through (the wizard, the HUB address dialog, point lighting). One per
/// design document. Closed, every send is skipped.
class ControllerLink
{
public:
    static constexpr const char* kAreaName = "/ExecutePointShareData.MAP";

    ControllerLink();
    ControllerLink(const ControllerLink&) = delete;
    ControllerLink& operator=(const ControllerLink&) = delete;

    /// Maps the area unless the profile's app/start is 152 or the area does not exist.
    bool Open(const Profile& profile);
    void Close();
    /// A window that lights the module holds the link for as long as it exists: the area is
    /// mapped when it is not yet (so whichever window comes first maps it) and stays mapped
    /// until the last holder lets go. Whether the link is open.
    bool Hold(const Profile& profile);
    void LetGo();
    bool IsOpen() const { return m_channel.IsOpen(); }
    CommandChannel& Channel() { return m_channel; }

    /// The area's name: "/ExecutePointShareData.MAP", or the name in MD_COMMAND_AREA when set
    /// (so that several hosts, or tests, can run side by side).
    static std::string AreaName();
    /// Points the link at another area name (tests use a unique one).
    void SetAreaName(std::string name);

private:
    std::unique_ptr<PosixCommandArea> m_area;
    CommandChannel m_channel;
    int m_holders = 0;
};

} // namespace md
