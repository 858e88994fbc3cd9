#include "platform/QtDesignPorts.h"

#include "parameters/RuntimeSettings.h"

namespace md {

QtDesignPorts::QtDesignPorts(const std::filesystem::path& runInfo)
    : codePage(RuntimeSettings::FromHost(runInfo).NamesCodePage()),
      version(VersionWords::FromRunInfo(runInfo))
{}

} // namespace md
