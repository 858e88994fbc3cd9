#include "core/io/PngDecoder.h"

#include <png.h>

#include <vector>

namespace md {

std::optional<RgbaImage> PngDecoder::Decode(std::span<const std::uint8_t> bytes)
{
    // libpng's simplified reader: every colour type, bit depth and interlacing, checked chunk
    // by chunk; damaged or cut data fails instead of decoding garbage.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return std::nullopt;
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
        image.height > kMaxSide) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    // Alpha is dropped: the picture is shown as it is, without what lies behind it.
    for (std::size_t at = 3; at < pixels.size(); at += 4)
        pixels[at] = 0xFF;
    return RgbaImage(static_cast<int>(image.width), static_cast<int>(image.height),
                     std::move(pixels));
}

} // namespace md
