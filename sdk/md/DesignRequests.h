#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace md {

/// The request record of messages 145 (write the design as a driver file) and 146 (read a
/// driver file): a zero-terminated wide path of at most 259 characters.
struct DriverFileRequest
{
    static constexpr std::size_t kPathCapacity = 260;
    char16_t path[kPathCapacity];
};

/// One pair of a block's key maps; keys are x | (y << 16).
struct BlockKeyPair
{
    std::uint32_t from;
    std::uint32_t to;
};

/// The block description of message 147: the block's number and size and the maps between
/// module positions and block positions (forward: module key to block key, backward: block key
/// to module key), each a counted array of pairs owned by the sender.
struct BlockDescription
{
    std::uint32_t block;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t forwardCount;
    const BlockKeyPair* forward;
    std::uint32_t backwardCount;
    const BlockKeyPair* backward;
};

static_assert(std::is_standard_layout_v<DriverFileRequest>);
static_assert(sizeof(DriverFileRequest) == 520);
static_assert(std::is_standard_layout_v<BlockKeyPair> && sizeof(BlockKeyPair) == 8);
static_assert(std::is_standard_layout_v<BlockDescription>);
static_assert(offsetof(BlockDescription, block) == 0);
static_assert(offsetof(BlockDescription, width) == 4);
static_assert(offsetof(BlockDescription, height) == 8);
static_assert(offsetof(BlockDescription, forwardCount) == 12);
static_assert(offsetof(BlockDescription, forward) == 16);
static_assert(offsetof(BlockDescription, backwardCount) == 24);
static_assert(offsetof(BlockDescription, backward) == 32);
static_assert(sizeof(BlockDescription) == 40);

} // namespace md
