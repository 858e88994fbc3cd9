#include "core/transform/TransformFiles.h"

#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"
#include "core/layout/LayoutArchive.h"
#include "core/posix/CodePage.h"
#include "core/transform/ModuleTransform.h"
#include "core/wizard/CombinedFile.h"

namespace md {

bool TransformFiles::WriteResult(const ModuleTransform& transform,
                                 const std::filesystem::path& target, const DesignFilePorts& ports)
{
    if (!transform.Loaded() || !transform.HasResult() || transform.ResultWidth() > 0xFFFF ||
        transform.ResultHeight() > 0xFFFF)
        return false;
    auto bytes = fileio::ReadAll(transform.SourcePath());
    DesignParts parts;
    if (!bytes || !ModuleTransform::ParseSource(std::move(*bytes), parts, ports))
        return false;
    parts.moduleInfo.xPixels = static_cast<std::uint16_t>(transform.ResultWidth());
    parts.moduleInfo.yPixels = static_cast<std::uint16_t>(transform.ResultHeight());
    layoutarchive::Remap(parts.layout, transform.ResultWidth(), transform.ResultHeight(),
                         transform.Forward(), transform.Backward());
    parts.background.PlaceMarkers(transform.ResultWidth(), transform.ResultHeight());
    return static_cast<bool>(DesignPartsFile::Write(target, parts, AsStored(ports)));
}

std::optional<std::uint32_t> TransformFiles::HubSignature(std::span<const std::uint8_t> hub)
{
    ByteReader in(hub);
    std::uint16_t skipped = 0, count = 0;
    if (!in.Expect(kHubMark) || !in.Expect(kHubId) || !in.U16(skipped) || !in.U16(count) ||
        !in.U16(skipped) || !in.CanHold(count, 4))
        return std::nullopt;
    std::uint32_t repeatable = 0;
    std::uint16_t indices = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::uint8_t pin = 0, code = 0;
        std::uint16_t rest = 0;
        if (!in.U8(pin) || !in.U8(code) || !in.U16(rest))
            return std::nullopt;
        if (code == 15) {
            ++repeatable;
            indices = static_cast<std::uint16_t>(indices + i);
        }
    }
    return (repeatable << 16) | indices;
}

bool TransformFiles::Combine(const std::filesystem::path& driver, const std::filesystem::path& hub,
                             const std::filesystem::path& combined, const DesignFilePorts& ports)
{
    const auto driverBytes = fileio::ReadAll(driver);
    const auto hubBytes = fileio::ReadAll(hub);
    DesignParts parts;
    if (!driverBytes || !hubBytes || !ModuleTransform::ParseSource(*driverBytes, parts, ports))
        return false;
    const std::uint32_t socket = parts.socket.Signature(true);
    const auto hubSignature = HubSignature(*hubBytes);
    if (!hubSignature || socket < 1 || *hubSignature < 1 || socket != *hubSignature)
        return false;
    ByteWriter out;
    out.Ascii(CombinedFile::kMark);
    for (const auto& [path, bytes] : {std::pair{driver, &*driverBytes}, {hub, &*hubBytes}}) {
        const std::string name = ports.codePage.FromUtf16(CombinedFile::StoredName(path));
        if (name.size() > 0xFFFF || bytes->size() > 0xFFFFFFFFu)
            return false;
        out.U16(static_cast<std::uint16_t>(name.size()));
        out.Ascii(name);
        out.U32(static_cast<std::uint32_t>(bytes->size()));
        out.Bytes(*bytes);
    }
    return fileio::WriteAtomic(combined, out.Data());
}

} // namespace md
