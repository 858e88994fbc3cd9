#include "CameraRaster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace md::host {

namespace {

std::uint64_t SplitMix(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

/// Standard normal values in 1/256 steps, drawn once: a table lookup per pixel keeps the noise of a
/// 1280 x 720 frame to a few milliseconds.
const std::array<std::int16_t, 4096>& NormalTable()
{
    static const auto table = [] {
        std::array<std::int16_t, 4096> values{};
        std::mt19937 engine(20261207u);
        std::normal_distribution<double> normal;
        for (auto& value : values)
            value = static_cast<std::int16_t>(std::clamp(normal(engine), -4.0, 4.0) * 256.0);
        return values;
    }();
    return table;
}

std::vector<float> GaussianKernel(double sigma)
{
    const int radius = std::max(1, static_cast<int>(std::ceil(3.0 * sigma)));
    std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[static_cast<std::size_t>(i + radius)] =
            static_cast<float>(std::exp(-i * i / (2.0 * sigma * sigma)));
    for (float& k : kernel)
        k = static_cast<float>(k / sum);
    return kernel;
}

} // namespace

CameraRaster::CameraRaster(int width, int height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_rgb(static_cast<std::size_t>(m_width) * m_height * 3, 0)
{}

CameraRaster CameraRaster::FromImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    CameraRaster raster(rgb.width(), rgb.height());
    const std::size_t row = static_cast<std::size_t>(raster.m_width) * 3;
    for (int y = 0; y < raster.m_height; ++y)
        std::copy_n(rgb.constScanLine(y), row, raster.m_rgb.data() + y * row);
    return raster;
}

void CameraRaster::Blur(double sigma)
{
    if (sigma <= 0.05 || m_rgb.empty())
        return;
    const std::vector<float> kernel = GaussianKernel(sigma);
    const int radius = static_cast<int>(kernel.size() / 2);
    std::vector<float> line;
    // One pass along the rows, one along the columns.
    const auto pass = [&](int lines, int length, auto&& at) {
        line.resize(static_cast<std::size_t>(length) * 3);
        for (int l = 0; l < lines; ++l) {
            for (int i = 0; i < length; ++i)
                for (int c = 0; c < 3; ++c)
                    line[static_cast<std::size_t>(i) * 3 + c] = at(l, i)[c];
            for (int i = 0; i < length; ++i) {
                float sum[3] = {0, 0, 0};
                for (int k = -radius; k <= radius; ++k) {
                    const int j = std::clamp(i + k, 0, length - 1);
                    const float w = kernel[static_cast<std::size_t>(k + radius)];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += w * line[static_cast<std::size_t>(j) * 3 + c];
                }
                for (int c = 0; c < 3; ++c)
                    at(l, i)[c] = static_cast<std::uint8_t>(std::lround(sum[c]));
            }
        }
    };
    pass(m_height, m_width,
         [this](int y, int x) { return &m_rgb[(std::size_t(y) * m_width + x) * 3]; });
    pass(m_width, m_height,
         [this](int x, int y) { return &m_rgb[(std::size_t(y) * m_width + x) * 3]; });
}

void CameraRaster::ShiftFrom(const CameraRaster& source, double dx, double dy)
{
    m_width = source.m_width;
    m_height = source.m_height;
    m_rgb.resize(source.m_rgb.size());
    if (m_rgb.empty())
        return;
    // Pixel (x, y) shows source point (x - dx, y - dy): whole pixels plus a fraction in 1/256.
    const double fx = std::floor(-dx), fy = std::floor(-dy);
    const int ox = static_cast<int>(fx), oy = static_cast<int>(fy);
    const int wx = static_cast<int>(std::lround((-dx - fx) * 256.0));
    const int wy = static_cast<int>(std::lround((-dy - fy) * 256.0));
    const int w00 = (256 - wx) * (256 - wy), w10 = wx * (256 - wy), w01 = (256 - wx) * wy,
              w11 = wx * wy;
    std::vector<int> columns(static_cast<std::size_t>(m_width) * 2);
    for (int x = 0; x < m_width; ++x) {
        columns[std::size_t(x) * 2] = std::clamp(x + ox, 0, m_width - 1) * 3;
        columns[std::size_t(x) * 2 + 1] = std::clamp(x + ox + 1, 0, m_width - 1) * 3;
    }
    const std::size_t stride = static_cast<std::size_t>(m_width) * 3;
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* top =
            source.m_rgb.data() + std::clamp(y + oy, 0, m_height - 1) * stride;
        const std::uint8_t* bottom =
            source.m_rgb.data() + std::clamp(y + oy + 1, 0, m_height - 1) * stride;
        std::uint8_t* out = m_rgb.data() + y * stride;
        for (int x = 0; x < m_width; ++x) {
            const int left = columns[std::size_t(x) * 2], right = columns[std::size_t(x) * 2 + 1];
            for (int c = 0; c < 3; ++c)
                out[x * 3 + c] = static_cast<std::uint8_t>(
                    (top[left + c] * w00 + top[right + c] * w10 + bottom[left + c] * w01 +
                     bottom[right + c] * w11 + 32768) >>
                    16);
        }
    }
}

void CameraRaster::AddLight(QPointF centre, double sigma, QColor colour, double gain)
{
    if (sigma <= 0 || m_rgb.empty())
        return;
    const int radius = static_cast<int>(std::ceil(3.0 * sigma));
    const double cx = centre.x() - 0.5, cy = centre.y() - 0.5; // in pixel indices
    const int x0 = std::max(0, static_cast<int>(std::floor(cx)) - radius);
    const int x1 = std::min(m_width - 1, static_cast<int>(std::ceil(cx)) + radius);
    const int y0 = std::max(0, static_cast<int>(std::floor(cy)) - radius);
    const int y1 = std::min(m_height - 1, static_cast<int>(std::ceil(cy)) + radius);
    if (x0 > x1 || y0 > y1)
        return;
    // The Gaussian splits into a row and a column factor.
    std::vector<float> across(static_cast<std::size_t>(x1 - x0 + 1));
    for (int x = x0; x <= x1; ++x)
        across[std::size_t(x - x0)] =
            static_cast<float>(std::exp(-(x - cx) * (x - cx) / (2 * sigma * sigma)));
    const float rgb[3] = {static_cast<float>(colour.red() * gain),
                          static_cast<float>(colour.green() * gain),
                          static_cast<float>(colour.blue() * gain)};
    for (int y = y0; y <= y1; ++y) {
        const float down = static_cast<float>(std::exp(-(y - cy) * (y - cy) / (2 * sigma * sigma)));
        std::uint8_t* out = m_rgb.data() + (static_cast<std::size_t>(y) * m_width + x0) * 3;
        for (int x = x0; x <= x1; ++x, out += 3) {
            const float w = down * across[std::size_t(x - x0)];
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<std::uint8_t>(std::min(255.0f, out[c] + rgb[c] * w + 0.5f));
        }
    }
}

void CameraRaster::AddNoise(std::uint64_t seed, double sigma)
{
    if (sigma <= 0 || m_rgb.empty())
        return;
    // Per grey level, the noise's size in 1/256 grey levels: a floor plus shot noise.
    std::array<int, 256> scale{};
    for (int level = 0; level < 256; ++level)
        scale[std::size_t(level)] =
            static_cast<int>(std::lround(std::sqrt(sigma * sigma + 0.06 * sigma * level) * 256.0));
    const auto& normal = NormalTable();
    std::uint64_t state = seed;
    std::uint64_t bits = 0;
    int left = 0;
    for (std::uint8_t& value : m_rgb) {
        if (left == 0) {
            bits = SplitMix(state);
            left = 5; // five 12-bit draws from 64 random bits
        }
        const int draw = normal[bits & 0xFFF];
        bits >>= 12;
        --left;
        const int noisy = value + ((draw * scale[value] + (1 << 15)) >> 16);
        value = static_cast<std::uint8_t>(std::clamp(noisy, 0, 255));
    }
}

} // namespace md::host
