#pragma once

#include <cstdint>
#include <span>

namespace md {

/// Size of a decoded picture.
struct PictureSize
{
    int width = 0;
    int height = 0;
};

/// Decodes BMP and PNG pictures held in memory.
class PictureCodec
{
public:
    virtual ~PictureCodec() = default;
    /// False when the bytes are not a picture the codec can read.
    virtual bool Decode(std::span<const std::uint8_t> bytes, PictureSize& size) const = 0;
};

} // namespace md
