#include "core/io/PngWriter.h"

#include "core/io/RgbaImage.h"

#include <png.h>

namespace md {

std::vector<std::uint8_t> PngWriter::Encode(const RgbaImage& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_RGBA;
    const auto* pixels = image.Bytes().data();
    // The first call measures, the second writes into a buffer of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, pixels, 0, nullptr))
        return {};
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, pixels, 0, nullptr))
        return {};
    out.resize(size);
    return out;
}

} // namespace md
