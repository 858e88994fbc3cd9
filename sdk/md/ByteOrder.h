#pragma once

// Byte order of the words the contract carries in memory (the command area's command words
// are big-endian, its counters little-endian) and of the picture headers the plug-in reads.

#include <array>
#include <cstdint>

namespace md::byteorder {

inline std::uint32_t ReadBigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

inline std::uint32_t ReadLittleEndian32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

inline std::array<std::uint8_t, 4> BigEndianBytes(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

} // namespace md::byteorder
