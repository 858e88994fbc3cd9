#include "driverfile/VersionWords.h"

namespace md {

VersionWords VersionWords::Of(const ProgramVersion& version)
{
    return {static_cast<std::uint32_t>(version.major), version.minor, version.build};
}

VersionWords VersionWords::FromRunInfo(const std::filesystem::path& runInfo)
{
    return Of(RuntimeSettings::CachedVersion(RuntimeSettings::FromHost(runInfo)));
}

} // namespace md
