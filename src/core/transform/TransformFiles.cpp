#include "core/transform/TransformFiles.h"

#include "core/driverfile/HubFile.h"
#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"
#include "core/layout/LayoutArchive.h"
#include "core/posix/CodePage.h"
#include "core/transform/ModuleTransform.h"
#include "core/wizard/CombinedFile.h"

namespace md {

std::optional<std::vector<std::uint8_t>>
TransformFiles::BuildResult(const ModuleTransform& transform, const DesignFilePorts& ports)
{
    const std::uint32_t width = transform.ResultWidth();
    const std::uint32_t height = transform.ResultHeight();
    if (!transform.Loaded() || !transform.HasResult() || width > 0xFFFF || height > 0xFFFF)
        return std::nullopt;
    DesignParts parts = transform.Parts();
    parts.moduleInfo.xPixels = static_cast<std::uint16_t>(width);
    parts.moduleInfo.yPixels = static_cast<std::uint16_t>(height);
    layoutarchive::Remap(
        parts.layout, width, height, [&](std::uint32_t key) { return transform.ResultOf(key); },
        [&](std::uint32_t key) { return transform.SourceAt(key); });
    parts.background.PlaceMarkers(width, height);
    DesignFilePorts written = AsStored(ports);
    if (written.version == VersionWords{})
        written.version = transform.SourceVersion();
    DriverFile::Result result;
    return DesignPartsFile::Build(parts, written, result);
}

bool TransformFiles::WriteResult(const ModuleTransform& transform,
                                 const std::filesystem::path& target, const DesignFilePorts& ports)
{
    const auto bytes = BuildResult(transform, ports);
    return bytes && fileio::WriteAtomic(target, *bytes);
}

bool TransformFiles::Combine(const std::filesystem::path& driver, const std::filesystem::path& hub,
                             const std::filesystem::path& combined, const DesignFilePorts& ports)
{
    const auto driverBytes = fileio::ReadAll(driver);
    const auto hubBytes = fileio::ReadAll(hub);
    return driverBytes && hubBytes &&
           Combine(driver, *driverBytes, hub, *hubBytes, combined, ports);
}

bool TransformFiles::Combine(const std::filesystem::path& driverPath,
                             std::span<const std::uint8_t> driver,
                             const std::filesystem::path& hubPath,
                             std::span<const std::uint8_t> hub,
                             const std::filesystem::path& combined, const DesignFilePorts& ports)
{
    DesignParts parts;
    if (!ModuleTransform::ParseSource(driver, parts, ports))
        return false;
    HubFile hubFile;
    std::string error;
    if (!hubFile.Parse(hub, error) || !hubFile.Fits(parts.socket))
        return false;
    ByteWriter out;
    out.Reserve(4 + 2 * (2 + 4 + 256) + driver.size() + hub.size());
    out.Ascii(CombinedFile::kMark);
    for (const auto& [path, bytes] : {std::pair{&driverPath, driver}, {&hubPath, hub}}) {
        const std::string name = ports.codePage.FromUtf16(CombinedFile::StoredName(*path));
        if (name.size() > 0xFFFF || bytes.size() > 0xFFFFFFFFu)
            return false;
        out.U16(static_cast<std::uint16_t>(name.size()));
        out.Ascii(name);
        out.U32(static_cast<std::uint32_t>(bytes.size()));
        out.Bytes(bytes);
    }
    return fileio::WriteAtomic(combined, out.Data());
}

} // namespace md
