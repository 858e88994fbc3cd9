#include "core/driverfile/HubFile.h"

#include "core/design/SocketDesign.h"
#include "core/io/ByteReader.h"

namespace md {

bool HubFile::Parse(std::span<const std::uint8_t> bytes, std::string& error)
{
    ByteReader in(bytes);
    pins.clear();
    if (!in.Expect(kMark)) {
        error = "not a HUB file (no .HDR mark)";
        return false;
    }
    if (!in.Expect(kId)) {
        error = "header at offset 4: identifier mismatch";
        return false;
    }
    std::uint16_t count = 0;
    if (!in.Skip(2) || !in.U16(count) || !in.Skip(2) || !in.CanHold(count, 4)) {
        error = "pin list at offset 40: truncated";
        return false;
    }
    pins.resize(count);
    for (auto& pin : pins) {
        in.U8(pin.number);
        in.U8(pin.code);
        in.Skip(2);
    }
    if (!in.Ok()) {
        error = "pin list at offset 46: truncated";
        return false;
    }
    return true;
}

std::uint32_t HubFile::Signature() const
{
    std::uint32_t count = 0;
    std::uint16_t indices = 0;
    for (std::size_t i = 0; i < pins.size(); ++i)
        if (pins[i].code == 15) {
            ++count;
            indices = static_cast<std::uint16_t>(indices + i);
        }
    return (count << 16) | indices;
}

bool HubFile::Fits(const SocketDesign& socket) const
{
    const std::uint32_t signature = Signature();
    return signature >= 1 && signature == socket.Signature(true);
}

} // namespace md
