#include "core/posix/RandomGuids.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <random>

namespace md {

std::string RandomGuids::NewGuid()
{
    std::array<std::uint8_t, 16> b{};
    try {
        std::random_device device;
        for (std::size_t i = 0; i < b.size(); i += 4) {
            const std::uint32_t word = device();
            for (std::size_t k = 0; k < 4; ++k)
                b[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
        }
    } catch (...) {
        return {};
    }
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80);
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

} // namespace md
