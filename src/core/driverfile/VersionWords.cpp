#include "core/driverfile/VersionWords.h"

#include "core/io/ByteWriter.h"

namespace md {

VersionWords VersionWords::Of(const ProgramVersion& version)
{
    return {static_cast<std::uint32_t>(version.major), version.minor, version.build};
}

VersionWords VersionWords::FromRunInfo(const HostServices& host,
                                       const std::filesystem::path& runInfo)
{
    return Of(RuntimeSettings::CachedVersion(RuntimeSettings::FromHost(host, runInfo)));
}

void VersionWords::WriteHeader(ByteWriter& out, std::string_view mark) const
{
    out.Ascii(mark);
    out.U32(major);
    out.U32(minor);
    out.U32(build);
}

} // namespace md
