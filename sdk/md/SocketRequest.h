#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace md {

/// What the wizard sends the socket component (message 19): the socket file to turn into the
/// HUB file, and the module's line arrangement.
struct SocketRequest
{
    static constexpr std::size_t kPathCapacity = 260;

    char16_t path[kPathCapacity]; ///< zero-terminated path of the socket file (.mjk)
    std::uint16_t ledUnit;
    std::uint16_t lineCount;
    std::uint16_t groupCount;
    std::uint8_t lineMap[4];
    std::uint16_t lineFactor;
    std::uint8_t fullColourSpecial;
};

static_assert(std::is_standard_layout_v<SocketRequest>);
static_assert(offsetof(SocketRequest, ledUnit) == 520);
static_assert(offsetof(SocketRequest, lineCount) == 522);
static_assert(offsetof(SocketRequest, groupCount) == 524);
static_assert(offsetof(SocketRequest, lineMap) == 526);
static_assert(offsetof(SocketRequest, lineFactor) == 530);
static_assert(offsetof(SocketRequest, fullColourSpecial) == 532);

} // namespace md
