#pragma once

#include "io/RgbaImage.h"

#include <cstdint>
#include <optional>
#include <span>

namespace md {

/// Decodes non-interlaced 8-bit PNG pictures (grey, grey with alpha, RGB, RGBA and palette),
/// enough for background pictures; anything else gives nothing. Alpha is dropped.
class PngDecoder
{
public:
    static constexpr int kMaxSide = 8192;
    static std::optional<RgbaImage> Decode(std::span<const std::uint8_t> bytes);
};

} // namespace md
