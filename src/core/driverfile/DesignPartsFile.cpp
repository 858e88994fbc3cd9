#include "core/driverfile/DesignPartsFile.h"

#include "core/driverfile/BackgroundSection.h"
#include "core/driverfile/LayoutDesignSection.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/driverfile/SocketSection.h"

namespace md {

namespace {

/// The container's four sections over a design's parts.
struct PartSections
{
    PartSections(DesignParts& parts, const DesignFilePorts& ports)
        : moduleInfo(parts.moduleInfo, ports.codePage),
          socket(parts.socket, ports.socketPictures ? &ports.codec : nullptr),
          layout(parts.layout, ports.codePage),
          background(parts.background, ports.codePage, ports.codec)
    {}
    DriverFile::Sections All() { return {&moduleInfo, &socket, &layout, &background}; }

    NewModuleInfoSection moduleInfo;
    SocketSection socket;
    LayoutDesignSection layout;
    BackgroundSection background;
};

} // namespace

std::optional<std::vector<std::uint8_t>>
DesignPartsFile::Build(DesignParts& parts, const DesignFilePorts& ports, DriverFile::Result& result)
{
    PartSections sections(parts, ports);
    return DriverFile::Build(ports.version, sections.All(), ports.guids, ports.clock, result);
}

DriverFile::Result DesignPartsFile::Write(const std::filesystem::path& path, DesignParts& parts,
                                          const DesignFilePorts& ports)
{
    PartSections sections(parts, ports);
    return DriverFile::Write(path, ports.version, sections.All(), ports.guids, ports.clock);
}

DriverFile::Result DesignPartsFile::Parse(std::span<const std::uint8_t> bytes, DesignParts& parts,
                                          const DesignFilePorts& ports)
{
    PartSections sections(parts, ports);
    return DriverFile::Parse(bytes, sections.All());
}

DriverFile::Result DesignPartsFile::Read(const std::filesystem::path& path, DesignParts& parts,
                                         const DesignFilePorts& ports)
{
    PartSections sections(parts, ports);
    return DriverFile::Read(path, sections.All());
}

} // namespace md
