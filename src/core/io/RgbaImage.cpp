#include "core/io/RgbaImage.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace md {

RgbaImage::RgbaImage(int width, int height, std::uint32_t rgb)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_bytes(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height) * 4)
{
    FillRect(0, 0, m_width, m_height, rgb);
}

std::uint32_t RgbaImage::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    const std::size_t at = (static_cast<std::size_t>(y) * m_width + x) * 4;
    return (std::uint32_t{m_bytes[at]} << 16) | (std::uint32_t{m_bytes[at + 1]} << 8) |
           m_bytes[at + 2];
}

RgbaImage::RgbaImage(int width, int height, std::vector<std::uint8_t> rgba)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_bytes(std::move(rgba))
{
    m_bytes.resize(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height) * 4);
}

void RgbaImage::SetPixel(int x, int y, std::uint32_t rgb)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const std::size_t at = (static_cast<std::size_t>(y) * m_width + x) * 4;
    m_bytes[at] = static_cast<std::uint8_t>(rgb >> 16);
    m_bytes[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
    m_bytes[at + 2] = static_cast<std::uint8_t>(rgb);
    m_bytes[at + 3] = 255;
}

void RgbaImage::FillRect(int x, int y, int width, int height, std::uint32_t rgb)
{
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, m_width);
    const int bottom = std::min(y + height, m_height);
    for (int row = top; row < bottom; ++row)
        for (int col = left; col < right; ++col)
            SetPixel(col, row, rgb);
}

void RgbaImage::FrameRect(int x, int y, int width, int height, std::uint32_t rgb)
{
    FillRect(x, y, width, 1, rgb);
    FillRect(x, y + height - 1, width, 1, rgb);
    FillRect(x, y, 1, height, rgb);
    FillRect(x + width - 1, y, 1, height, rgb);
}

void RgbaImage::Line(int x0, int y0, int x1, int y1, std::uint32_t rgb, int thickness)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    const int half = thickness / 2;
    int error = dx + dy;
    while (true) {
        FillRect(x0 - half, y0 - half, thickness, thickness, rgb);
        if (x0 == x1 && y0 == y1)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void RgbaImage::FillCircle(int cx, int cy, int radius, std::uint32_t rgb)
{
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x)
            if (x * x + y * y <= radius * radius)
                SetPixel(cx + x, cy + y, rgb);
}

} // namespace md
