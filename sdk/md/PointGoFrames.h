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
/// 3. Which advance the device understands: right after the handshake reply the plug-in sends
///    {kLightLed, 0, 0}. A device that echoes those three bytes within kProbeWaitMs takes the
///    indexed advance for the rest of the connection; silence selects the one-byte advance.
/// 4. Point-go: each time the user confirms the lit LED the plug-in asks for the next one.
///    - Indexed advance (our own frame): {kLightLed, k low, k high} asks for LED k, counted from
///      0 in the device's order (along the line, then the next scan row, then the next line);
///      the device lights it and echoes the same three bytes. Asking twice for the same k lights
///      the same LED, so a request can be repeated safely after a lost or late answer.
///    - One-byte advance: the single byte kAdvance; the device lights the next LED and answers
///      one byte of any value once it is lit. Each byte moves the device on by one LED.
///    Busy lasts from the request to its answer.
///
/// Time-outs on the plug-in's side: 10 s for the handshake reply, 500 ms for every other answer.
namespace md::pointgo {

inline constexpr std::uint8_t kHandshake = 0xAA;
inline constexpr std::uint8_t kAccepted = 0xA0;
inline constexpr std::uint8_t kEntry = 0xAC;
inline constexpr std::uint8_t kAdvance = 0xAD;
inline constexpr std::uint8_t kLightLed = 0xAE;

inline constexpr std::size_t kHandshakeSize = 43;
inline constexpr std::size_t kPinCodeCapacity = 40;
inline constexpr std::size_t kReplySize = 48;
inline constexpr std::size_t kEntryFrameSize = 3;
inline constexpr std::size_t kLightLedFrameSize = 3;
/// LEDs the indexed advance can name: k is 16 bits wide.
inline constexpr std::size_t kMaxIndexedLeds = 0x10000;
inline constexpr int kProbeWaitMs = 500;
/// Line lengths that fit into the reply after its two leading bytes.
inline constexpr std::size_t kMaxLines = (kReplySize - 2) / 2;

inline constexpr int kDefaultBaud = 115200;

} // namespace md::pointgo
