#include "core/wizard/CombinedFile.h"

#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"

namespace md {

std::u16string CombinedFile::StoredName(const std::filesystem::path& path)
{
    std::u16string name = path.filename().u16string();
    if (name.size() >= 4)
        name.resize(name.size() - 4);
    return name;
}

namespace {
void WriteEntry(ByteWriter& out, const std::filesystem::path& path,
                const std::vector<std::uint8_t>& bytes, const CodePage& codePage)
{
    const std::string name = codePage.FromUtf16(CombinedFile::StoredName(path));
    out.U16(static_cast<std::uint16_t>(name.size()));
    out.Ascii(name);
    out.U32(static_cast<std::uint32_t>(bytes.size()));
    out.Bytes(bytes);
}
} // namespace

std::vector<std::uint8_t> CombinedFile::Build(const std::filesystem::path& driverPath,
                                              const std::vector<std::uint8_t>& driver,
                                              const std::filesystem::path& hubPath,
                                              const std::vector<std::uint8_t>& hub,
                                              const CombinedTrailer& trailer,
                                              const CodePage& codePage)
{
    ByteWriter out;
    out.Ascii(kMark);
    WriteEntry(out, driverPath, driver, codePage);
    WriteEntry(out, hubPath, hub, codePage);
    if (trailer.withExtension) {
        const std::string id = kExtensionId;
        out.Ascii(id);
        for (std::size_t i = id.size(); i < kExtensionSize; ++i)
            out.U8(0);
        out.U32(trailer.xPixels);
        out.U32(trailer.yPixels);
        out.U32(trailer.driverPolarity);
        out.U32(trailer.scanPolarity);
        out.U32(trailer.dataGroups);
        out.U32(trailer.virtualPointPosition);
        out.U32(trailer.virtualPointLength);
        out.U16(trailer.scanRows);
        out.U16(trailer.ledUnit);
    }
    out.U16(trailer.rowDischarge);
    out.U16(trailer.groupingMode);
    out.U16(trailer.dataLineType);
    out.U32(trailer.multiClock);
    return out.Take();
}

bool CombinedFile::Combine(const std::filesystem::path& driverPath,
                           const std::filesystem::path& hubPath,
                           const std::filesystem::path& combinedPath,
                           const CombinedTrailer& trailer, const CodePage& codePage)
{
    const auto driver = fileio::ReadAll(driverPath);
    const auto hub = driver ? fileio::ReadAll(hubPath) : std::nullopt;
    if (!driver || !hub) {
        // A combined file of an earlier run must not pass for this one.
        std::error_code ignored;
        std::filesystem::remove(combinedPath, ignored);
        return false;
    }
    return fileio::WriteAtomic(combinedPath,
                               Build(driverPath, *driver, hubPath, *hub, trailer, codePage));
}

} // namespace md
