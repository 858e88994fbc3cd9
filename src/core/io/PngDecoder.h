#pragma once

#include "core/io/RgbaImage.h"

#include <cstdint>
#include <optional>
#include <span>

namespace md {

/// Decodes PNG pictures of every colour type and depth through libpng, up to kMaxSide pixels
/// on either side; a damaged picture gives nothing. Alpha is dropped.
class PngDecoder
{
public:
    static constexpr int kMaxSide = 8192;
    static std::optional<RgbaImage> Decode(std::span<const std::uint8_t> bytes);
};

} // namespace md
