#pragma once

#include <cstddef>
#include <cstdint>

/// The bytes exchanged with a point-go test device over a serial line (raw, 8 data bits, no
/// parity, one stop bit; 115200 baud unless runinfo.ini [pointgo] baud says otherwise).
///
/// The conversation, the plug-in always speaking first:
///
/// 1. Layout entries (only when a layout exists): per entry of the layout result one
///    3-byte frame {kEntry, entry index (low byte), flag}; the device answers each with one byte
///    of any value.
/// 2. Handshake: {kHandshake, scan rows, pin count, 40 pin codes}, kHandshakeSize bytes. The
///    device answers with kReplySize bytes: kAccepted, the number n of its data lines (1 to 23;
///    only 23 lengths fit), then n big-endian 16-bit line lengths (LEDs per scan row of that
///    line, each at least 1), zero-filled. After the reply the device lights the first LED of
///    line 1, scan row 1.
/// 3. Point-go: each time the user confirms the lit LED the plug-in sends the single byte
///    kAdvance; the device lights the next LED (along the line, then the next scan row, then the
///    next line) and answers one byte once it is lit. Busy lasts from the request to that byte.
///
/// Time-outs on the plug-in's side: 10 s for the handshake reply, 500 ms for every other answer.
namespace md::pointgo {

inline constexpr std::uint8_t kHandshake = 0xAA;
inline constexpr std::uint8_t kAccepted = 0xA0;
inline constexpr std::uint8_t kEntry = 0xAC;
inline constexpr std::uint8_t kAdvance = 0xAD;

inline constexpr std::size_t kHandshakeSize = 43;
inline constexpr std::size_t kPinCodeCapacity = 40;
inline constexpr std::size_t kReplySize = 48;
inline constexpr std::size_t kEntryFrameSize = 3;
/// Line lengths that fit into the reply after its two leading bytes.
inline constexpr std::size_t kMaxLines = (kReplySize - 2) / 2;

inline constexpr int kDefaultBaud = 115200;

} // namespace md::pointgo
