#pragma once

#include "md/PointGoFrames.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace md {

class SocketDesign;

/// The three module parameter words that decide how polarity pins are announced: P1 the
/// driver polarity word, P2 the scan polarity word, S the state chosen in wizard step 1
/// (1 or 2).
struct HandshakeWords
{
    std::uint32_t driverPolarity = 0;
    std::uint32_t scanPolarity = 0;
    std::uint32_t state = 1;
};

/// What a device reported in its handshake reply.
struct DeviceLines
{
    std::vector<std::uint16_t> lengths; ///< LEDs per scan row of each data line
    std::uint32_t blockCount = 0;       ///< the longest line in blocks of 32
};

/// Builds and reads the frames of the point-go serial link.
namespace serialframes {

using Handshake = std::array<std::uint8_t, pointgo::kHandshakeSize>;
using Reply = std::array<std::uint8_t, pointgo::kReplySize>;

/// The byte a pin's function code is announced with: polarity pins carry their polarity bit,
/// the result with its nibbles swapped. scanRows is the socket's scan row count.
std::uint8_t PinCode(std::uint32_t code, std::uint32_t scanRows, const HandshakeWords& words);
/// The handshake request; nothing for a socket without pins.
std::optional<Handshake> BuildHandshake(const SocketDesign& socket, const HandshakeWords& words);
/// The line table of an accepted reply; nothing when the first byte is not the acceptance, the
/// count is outside 1 to 23, a length is 0, or the reply is short.
std::optional<DeviceLines> ParseReply(std::span<const std::uint8_t> reply);
/// The frame that announces one entry of the layout result.
std::array<std::uint8_t, pointgo::kEntryFrameSize> EntryFrame(std::uint16_t index,
                                                              std::uint8_t flag);
/// The indexed advance: light LED k (k below kMaxIndexedLeds); the device echoes it.
std::array<std::uint8_t, pointgo::kLightLedFrameSize> LightLedFrame(std::size_t k);

} // namespace serialframes

} // namespace md
