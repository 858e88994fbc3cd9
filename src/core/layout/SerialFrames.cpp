#include "core/layout/SerialFrames.h"

#include "core/design/SocketDesign.h"

#include <algorithm>

namespace md::serialframes {

namespace {

std::uint8_t Bit(std::uint32_t word, unsigned bit)
{
    return static_cast<std::uint8_t>((word >> bit) & 1U);
}

std::uint8_t SwapNibbles(std::uint8_t value)
{
    return static_cast<std::uint8_t>((value << 4) | (value >> 4));
}

} // namespace

std::uint8_t PinCode(std::uint32_t code, std::uint32_t scanRows, const HandshakeWords& words)
{
    const std::uint32_t p1 = words.driverPolarity;
    const std::uint32_t p2 = words.scanPolarity;
    std::uint8_t value = static_cast<std::uint8_t>(code);
    switch (code) {
    case 15:
        value = Bit(p1, 1);
        break;
    case 47:
        value = static_cast<std::uint8_t>(0x20 | Bit(p1, 2));
        break;
    case 63:
        value = static_cast<std::uint8_t>(0x30 | Bit(p1, 3));
        break;
    case 81:
        if (scanRows > 1)
            value = static_cast<std::uint8_t>(0x50 | Bit(p2, 4));
        break;
    case 142:
        value = 0x83;
        break;
    case 143:
        if (scanRows > 1 && words.state == 1)
            value = static_cast<std::uint8_t>(0x80 | Bit(p2, 5));
        break;
    case 255:
        value = 0xF3;
        break;
    default:
        break;
    }
    return SwapNibbles(value);
}

std::optional<Handshake> BuildHandshake(const SocketDesign& socket, const HandshakeWords& words)
{
    if (socket.Pins().empty())
        return std::nullopt;
    Handshake frame{};
    frame[0] = pointgo::kHandshake;
    frame[1] = static_cast<std::uint8_t>(socket.ScanRows());
    frame[2] = static_cast<std::uint8_t>(socket.PinCount());
    const std::size_t pins = std::min(socket.Pins().size(), pointgo::kPinCodeCapacity);
    for (std::size_t i = 0; i < pins; ++i)
        frame[3 + i] = PinCode(socket.Pins()[i].code, socket.ScanRows(), words);
    return frame;
}

std::optional<DeviceLines> ParseReply(std::span<const std::uint8_t> reply)
{
    if (reply.size() < pointgo::kReplySize || reply[0] != pointgo::kAccepted)
        return std::nullopt;
    const std::size_t count = reply[1];
    if (count < 1 || count > pointgo::kMaxLines)
        return std::nullopt;
    DeviceLines lines;
    std::uint32_t longest = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto length = static_cast<std::uint16_t>((reply[2 + 2 * i] << 8) | reply[3 + 2 * i]);
        if (length == 0)
            return std::nullopt;
        lines.lengths.push_back(length);
        longest = std::max<std::uint32_t>(longest, length);
    }
    lines.blockCount = (longest + 31) / 32;
    return lines;
}

std::array<std::uint8_t, pointgo::kEntryFrameSize> EntryFrame(std::uint16_t index,
                                                              std::uint8_t flag)
{
    return {pointgo::kEntry, static_cast<std::uint8_t>(index & 0xFF), flag};
}

std::array<std::uint8_t, pointgo::kLightLedFrameSize> LightLedFrame(std::size_t k)
{
    return {pointgo::kLightLed, static_cast<std::uint8_t>(k & 0xFF),
            static_cast<std::uint8_t>((k >> 8) & 0xFF)};
}

} // namespace md::serialframes
