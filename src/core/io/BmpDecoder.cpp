#include "core/io/BmpDecoder.h"

#include "core/io/ByteReader.h"

#include <cstdlib>

namespace md {

std::optional<RgbaImage> BmpDecoder::Decode(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    std::uint32_t dataAt = 0, headerSize = 0, compression = 0;
    std::int32_t width = 0, height = 0;
    std::uint16_t planes = 0, bits = 0;
    if (!in.Expect("BM") || !in.Skip(8) || !in.U32(dataAt) || !in.U32(headerSize) ||
        !in.I32(width) || !in.I32(height) || !in.U16(planes) || !in.U16(bits) ||
        !in.U32(compression))
        return std::nullopt;
    const bool topDown = height < 0;
    const std::int64_t rows = std::llabs(static_cast<std::int64_t>(height));
    if (width <= 0 || rows == 0 || width > 16384 || rows > 16384 || compression != 0 ||
        (bits != 24 && bits != 32))
        return std::nullopt;
    const std::size_t pixelBytes = bits / 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * pixelBytes + 3) / 4 * 4;
    if (dataAt > bytes.size() || (bytes.size() - dataAt) / stride < static_cast<std::size_t>(rows))
        return std::nullopt;
    RgbaImage image(width, static_cast<int>(rows));
    for (std::int64_t row = 0; row < rows; ++row) {
        const std::uint8_t* line = bytes.data() + dataAt + static_cast<std::size_t>(row) * stride;
        const int y = topDown ? static_cast<int>(row) : static_cast<int>(rows - 1 - row);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = line + static_cast<std::size_t>(x) * pixelBytes;
            image.SetPixel(x, y, (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0]);
        }
    }
    return image;
}

} // namespace md
