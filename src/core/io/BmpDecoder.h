#pragma once

#include "core/io/RgbaImage.h"

#include <cstdint>
#include <optional>
#include <span>

namespace md {

/// Decodes uncompressed 24- and 32-bit BMP pictures (the kind the plug-in's own pictures are);
/// anything else gives nothing.
class BmpDecoder
{
public:
    static std::optional<RgbaImage> Decode(std::span<const std::uint8_t> bytes);
};

} // namespace md
