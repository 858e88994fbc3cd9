#include "core/driverfile/CombinedFileContents.h"

#include "core/io/ByteReader.h"
#include "core/posix/CodePage.h"

#include <cstring>

namespace md {

namespace {

bool ReadEntry(ByteReader& in, const CodePage& codePage, CombinedFileContents::Entry& entry,
               const char* what, std::string& error)
{
    const std::size_t start = in.Offset();
    std::uint16_t nameLength = 0;
    std::span<const std::uint8_t> name;
    std::uint32_t length = 0;
    if (!in.U16(nameLength) || !in.Bytes(nameLength, name) || !in.U32(length) ||
        !in.Bytes(length, entry.bytes)) {
        error = std::string(what) + " entry at offset " + std::to_string(start) + ": truncated";
        return false;
    }
    auto decoded =
        codePage.ToUtf16(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
    if (!decoded) {
        error = std::string(what) + " entry at offset " + std::to_string(start) +
                ": name not valid in code page " + codePage.Name();
        return false;
    }
    entry.name = std::move(*decoded);
    return true;
}

} // namespace

bool CombinedFileContents::Parse(std::span<const std::uint8_t> bytes, const CodePage& codePage,
                                 std::string& error)
{
    ByteReader in(bytes);
    if (!in.Expect(kMark)) {
        error = "not a combined file (no .MHR mark)";
        return false;
    }
    if (!ReadEntry(in, codePage, driver, "driver", error) ||
        !ReadEntry(in, codePage, hub, "HUB", error))
        return false;
    extension.reset();
    trailer.reset();
    const std::size_t idLength = std::strlen(kExtensionId);
    // The extension block starts with '{'; a trailer cannot (its first field is a small index).
    if (in.Remaining() > 0 && bytes[in.Offset()] == '{') {
        const std::size_t start = in.Offset();
        if (!in.Expect(kExtensionId)) {
            error = "extension block at offset " + std::to_string(start) + ": identifier mismatch";
            return false;
        }
        Extension ext;
        in.Skip(64 - idLength);
        in.U32(ext.xPixels);
        in.U32(ext.yPixels);
        in.U32(ext.driverPolarity);
        in.U32(ext.scanPolarity);
        in.U32(ext.dataGroups);
        in.U32(ext.virtualPosition);
        in.U32(ext.virtualLength);
        in.U16(ext.scanRows);
        in.U16(ext.ledUnit);
        if (!in.Ok()) {
            error = "extension block at offset " + std::to_string(start) + ": truncated";
            return false;
        }
        extension = ext;
    }
    if (in.Remaining() == 0 && !extension)
        return true; // written without trailing fields
    const std::size_t start = in.Offset();
    Trailer tail;
    in.U16(tail.rowDischarge);
    in.U16(tail.dataGrouping);
    in.U16(tail.dataLineType);
    in.U32(tail.multiClock);
    if (!in.Ok()) {
        error = "trailing fields at offset " + std::to_string(start) + ": truncated";
        return false;
    }
    if (in.Remaining() != 0) {
        error = "unexpected bytes at offset " + std::to_string(in.Offset());
        return false;
    }
    trailer = tail;
    return true;
}

} // namespace md
