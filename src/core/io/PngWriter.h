#pragma once

#include <cstdint>
#include <vector>

namespace md {

class RgbaImage;

/// Encodes an RGBA raster as a compressed 8-bit RGBA PNG file (libpng); empty when libpng
/// cannot write it (an empty raster).
class PngWriter
{
public:
    static std::vector<std::uint8_t> Encode(const RgbaImage& image);
};

} // namespace md
