#include "io/PngDecoder.h"

#include "io/Inflate.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace md {

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

int Paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

/// Undoes the per-line filters in place; false for an unknown filter.
bool Unfilter(std::vector<std::uint8_t>& data, std::size_t stride, std::size_t rows,
              std::size_t pixelBytes)
{
    std::vector<std::uint8_t> previous(stride, 0);
    for (std::size_t y = 0; y < rows; ++y) {
        std::uint8_t* line = data.data() + y * (stride + 1);
        const std::uint8_t filter = line[0];
        std::uint8_t* px = line + 1;
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= pixelBytes ? px[i - pixelBytes] : 0;
            const int b = previous[i];
            const int c = i >= pixelBytes ? previous[i - pixelBytes] : 0;
            int add = 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                add = a;
                break;
            case 2:
                add = b;
                break;
            case 3:
                add = (a + b) / 2;
                break;
            case 4:
                add = Paeth(a, b, c);
                break;
            default:
                return false;
            }
            px[i] = static_cast<std::uint8_t>(px[i] + add);
        }
        std::memcpy(previous.data(), px, stride);
    }
    return true;
}

} // namespace

std::optional<RgbaImage> PngDecoder::Decode(std::span<const std::uint8_t> bytes)
{
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), signature, 8) != 0)
        return std::nullopt;
    std::uint32_t width = 0, height = 0;
    int colourType = -1;
    std::vector<std::uint8_t> idat, palette;
    std::size_t at = 8;
    while (bytes.size() - at >= 12) {
        const std::uint32_t length = BigEndian32(bytes.data() + at);
        const std::uint8_t* type = bytes.data() + at + 4;
        if (length > bytes.size() - at - 12)
            return std::nullopt;
        const std::uint8_t* data = bytes.data() + at + 8;
        if (std::memcmp(type, "IHDR", 4) == 0 && length >= 13) {
            width = BigEndian32(data);
            height = BigEndian32(data + 4);
            colourType = data[9];
            if (data[8] != 8 || data[12] != 0)
                return std::nullopt; // only 8-bit, non-interlaced
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            palette.assign(data, data + length);
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            idat.insert(idat.end(), data, data + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        at += 12 + length;
    }
    std::size_t channels = 0;
    switch (colourType) {
    case 0:
        channels = 1;
        break;
    case 2:
        channels = 3;
        break;
    case 3:
        channels = 1;
        break;
    case 4:
        channels = 2;
        break;
    case 6:
        channels = 4;
        break;
    default:
        return std::nullopt;
    }
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    const std::size_t stride = width * channels;
    auto raw = Inflate::Zlib(idat, (stride + 1) * height);
    if (!raw || raw->size() != (stride + 1) * height || !Unfilter(*raw, stride, height, channels))
        return std::nullopt;
    RgbaImage image(static_cast<int>(width), static_cast<int>(height));
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* line = raw->data() + y * (stride + 1) + 1;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = line + x * channels;
            std::uint32_t rgb = 0;
            if (colourType == 3) {
                const std::size_t entry = std::size_t{p[0]} * 3;
                if (entry + 3 > palette.size())
                    return std::nullopt;
                rgb = (std::uint32_t{palette[entry]} << 16) |
                      (std::uint32_t{palette[entry + 1]} << 8) | palette[entry + 2];
            } else if (channels <= 2) {
                rgb = std::uint32_t{p[0]} * 0x010101u;
            } else {
                rgb = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
            }
            image.SetPixel(static_cast<int>(x), static_cast<int>(y), rgb);
        }
    }
    return image;
}

} // namespace md
