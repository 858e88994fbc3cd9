#pragma once

#include <cstdint>
#include <vector>

namespace md {

class RgbaImage;

/// Encodes an RGBA raster as a PNG file. The image data is kept in stored (uncompressed) deflate
/// blocks, so no compression library is needed; every PNG reader accepts the result.
class PngWriter
{
public:
    static std::vector<std::uint8_t> Encode(const RgbaImage& image);
    /// CRC-32 as PNG chunks use it.
    static std::uint32_t Crc32(const std::uint8_t* data, std::size_t length, std::uint32_t crc = 0);
};

} // namespace md
