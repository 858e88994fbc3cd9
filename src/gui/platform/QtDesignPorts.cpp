#include "gui/platform/QtDesignPorts.h"

#include "core/parameters/RuntimeSettings.h"
#include "gui/host/HostLink.h"

namespace md {

QtDesignPorts::QtDesignPorts(const std::filesystem::path& runInfo)
    : codePage(RuntimeSettings::FromHost(HostLink::Services(), runInfo).NamesCodePage()),
      version(VersionWords::FromRunInfo(HostLink::Services(), runInfo))
{}

} // namespace md
