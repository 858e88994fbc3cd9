#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace md {

/// Decompresses zlib streams (deflate with the two-byte header and Adler-32 trailer), as PNG
/// pictures hold them. Output is bounded: a stream that would exceed maxOutput fails.
class Inflate
{
public:
    static std::optional<std::vector<std::uint8_t>> Zlib(std::span<const std::uint8_t> input,
                                                         std::size_t maxOutput);
};

} // namespace md
