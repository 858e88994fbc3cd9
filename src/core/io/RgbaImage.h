#pragma once

#include <cstdint>
#include <vector>

namespace md {

/// A plain 8-bit RGBA raster with the few drawing operations the command-line renderer needs.
/// Colours are 0xRRGGBB; drawing outside the raster is clipped.
class RgbaImage
{
public:
    RgbaImage(int width, int height, std::uint32_t rgb = 0);
    /// Takes row-major RGBA bytes, 4 per pixel (a decoded picture).
    RgbaImage(int width, int height, std::vector<std::uint8_t> rgba);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t rgb);
    void FillRect(int x, int y, int width, int height, std::uint32_t rgb);
    void FrameRect(int x, int y, int width, int height, std::uint32_t rgb);
    /// A line of the given thickness (a square pen).
    void Line(int x0, int y0, int x1, int y1, std::uint32_t rgb, int thickness = 1);
    void FillCircle(int cx, int cy, int radius, std::uint32_t rgb);
    /// Row-major RGBA bytes, 4 per pixel.
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_bytes;
};

} // namespace md
