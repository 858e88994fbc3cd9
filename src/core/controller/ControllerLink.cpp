#include "core/controller/ControllerLink.h"

#include "core/platform/Profile.h"

#include <cstdlib>

namespace md {

ControllerLink::ControllerLink() : m_area(std::make_unique<PosixCommandArea>(AreaName())) {}

std::string ControllerLink::AreaName()
{
    const char* name = std::getenv("MD_COMMAND_AREA");
    return name && *name ? name : kAreaName;
}

bool ControllerLink::Open(const Profile& profile)
{
    Close();
    return m_channel.Open(profile, *m_area, [this] { return m_area->Open(); });
}

void ControllerLink::Close()
{
    m_channel.Close();
    m_area->Close();
}

bool ControllerLink::Hold(const Profile& profile)
{
    ++m_holders;
    return IsOpen() || Open(profile);
}

void ControllerLink::LetGo()
{
    if (m_holders > 0 && --m_holders == 0)
        Close();
}

void ControllerLink::SetAreaName(std::string name)
{
    Close();
    m_area = std::make_unique<PosixCommandArea>(std::move(name));
}

} // namespace md
