#pragma once

#include <array>
#include <cstdint>

namespace md {

/// A command to the controller: two 32-bit words, each held in its big-endian memory order.
struct CommandPair
{
    std::array<std::uint8_t, 4> word1{};
    std::array<std::uint8_t, 4> word2{};

    bool operator==(const CommandPair&) const = default;
};

} // namespace md
