#include "CameraRaster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace md::host {

namespace {

std::uint64_t SplitMix(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

constexpr std::size_t kNoiseFieldSize = std::size_t(1) << 22; // more than a 1280 x 720 frame
constexpr int kNoiseFieldScale = 32;                          // field values per standard deviation

/// Standard normal values in 1/32 steps, drawn once: each frame reads them from a random place
/// onwards, which keeps the noise of a 1280 x 720 frame to a few milliseconds.
const std::vector<std::int8_t>& NoiseField()
{
    static const auto field = [] {
        std::vector<std::int8_t> values(kNoiseFieldSize);
        std::mt19937 engine(20261207u);
        std::normal_distribution<double> normal;
        for (auto& value : values)
            value = static_cast<std::int8_t>(
                std::clamp(std::lround(normal(engine) * kNoiseFieldScale), -127L, 127L));
        return values;
    }();
    return field;
}

/// The noise's standard deviation at a grey level v, in field steps: sqrt(floor + shot * v) / 32.
struct NoiseSize
{
    float floor;
    float shot;

    /// One byte: its noise value times the size at its own level, rounded and clipped as a
    /// sensor clips. The vector code below does the same operations in the same order.
    std::uint8_t Add(std::uint8_t byte, std::int8_t noise) const
    {
        const float value = byte;
        const float deviation = std::sqrt(floor + shot * value) * (1.0f / kNoiseFieldScale);
        const float noisy = std::min(std::max(value + noise * deviation + 0.5f, 0.0f), 255.0f);
        return static_cast<std::uint8_t>(static_cast<int>(noisy));
    }
};

/// Adds noise to count bytes, sixteen at a time where the processor has SSE2 (every x86-64
/// one): square roots of four values in one instruction and no table looked up per byte, which
/// takes the noise of a 1280 x 720 frame from about half the frame's time to a small share.
/// Square roots are exact in both paths, so a frame does not depend on which one made it.
void NoiseRun(const std::int8_t* noise, std::uint8_t* values, std::size_t count, NoiseSize size)
{
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128 floor = _mm_set1_ps(size.floor), shot = _mm_set1_ps(size.shot);
    const __m128 step = _mm_set1_ps(1.0f / kNoiseFieldScale), half = _mm_set1_ps(0.5f);
    const __m128 black = _mm_setzero_ps(), white = _mm_set1_ps(255.0f);
    const __m128i zero = _mm_setzero_si128();
    const auto quarter = [&](__m128i bytes32, __m128i noise32) {
        const __m128 value = _mm_cvtepi32_ps(bytes32);
        const __m128 deviation =
            _mm_mul_ps(_mm_sqrt_ps(_mm_add_ps(floor, _mm_mul_ps(shot, value))), step);
        __m128 noisy =
            _mm_add_ps(_mm_add_ps(value, _mm_mul_ps(_mm_cvtepi32_ps(noise32), deviation)), half);
        noisy = _mm_min_ps(_mm_max_ps(noisy, black), white);
        return _mm_cvttps_epi32(noisy);
    };
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i));
        const __m128i signs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(noise + i));
        const __m128i bytesLow = _mm_unpacklo_epi8(bytes, zero);
        const __m128i bytesHigh = _mm_unpackhi_epi8(bytes, zero);
        const __m128i noiseLow = _mm_srai_epi16(_mm_unpacklo_epi8(signs, signs), 8);
        const __m128i noiseHigh = _mm_srai_epi16(_mm_unpackhi_epi8(signs, signs), 8);
        const auto widen = [&](__m128i words, bool high) {
            return high ? _mm_unpackhi_epi16(words, zero) : _mm_unpacklo_epi16(words, zero);
        };
        const auto widenSigned = [](__m128i words, bool high) {
            return _mm_srai_epi32(
                high ? _mm_unpackhi_epi16(words, words) : _mm_unpacklo_epi16(words, words), 16);
        };
        const __m128i low =
            _mm_packs_epi32(quarter(widen(bytesLow, false), widenSigned(noiseLow, false)),
                            quarter(widen(bytesLow, true), widenSigned(noiseLow, true)));
        const __m128i high =
            _mm_packs_epi32(quarter(widen(bytesHigh, false), widenSigned(noiseHigh, false)),
                            quarter(widen(bytesHigh, true), widenSigned(noiseHigh, true)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(values + i), _mm_packus_epi16(low, high));
    }
#endif
    for (; i < count; ++i)
        values[i] = size.Add(values[i], noise[i]);
}

/// Bytes of a row, each from two rows of the source and the next pixel in each, with bilinear
/// weights in 1/256 (so every sum fits 16 bits); made into vector code, which takes a third of
/// the time of a frame otherwise.
[[gnu::optimize("O3")]] void BlendRun(const std::uint8_t* __restrict top,
                                      const std::uint8_t* __restrict bottom,
                                      std::uint8_t* __restrict out, int count,
                                      std::array<std::uint16_t, 4> w)
{
    for (int k = 0; k < count; ++k)
        out[k] = static_cast<std::uint8_t>(
            static_cast<std::uint16_t>(top[k] * w[0] + top[k + 3] * w[1] + bottom[k] * w[2] +
                                       bottom[k + 3] * w[3] + 128) >>
            8);
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
    // Pixel (x, y) shows source point (x - dx, y - dy): whole pixels plus a fraction in 1/16.
    const double sx = std::round(-dx * 16.0) / 16.0, sy = std::round(-dy * 16.0) / 16.0;
    const double fx = std::floor(sx), fy = std::floor(sy);
    const int ox = static_cast<int>(fx), oy = static_cast<int>(fy);
    const int wx = static_cast<int>(std::lround((sx - fx) * 16.0));
    const int wy = static_cast<int>(std::lround((sy - fy) * 16.0));
    const std::array<std::uint16_t, 4> w{std::uint16_t((16 - wx) * (16 - wy)),
                                         std::uint16_t(wx * (16 - wy)),
                                         std::uint16_t((16 - wx) * wy), std::uint16_t(wx * wy)};
    const auto blend = [&](const std::uint8_t* top, const std::uint8_t* bottom, int left,
                           int right) {
        return static_cast<std::uint8_t>((top[left] * w[0] + top[right] * w[1] +
                                          bottom[left] * w[2] + bottom[right] * w[3] + 128) >>
                                         8);
    };
    // Columns whose source and right neighbour both lie inside the picture: one straight run.
    const int first = std::clamp(-ox, 0, m_width),
              last = std::clamp(m_width - 1 - ox, first, m_width);
    const std::size_t stride = static_cast<std::size_t>(m_width) * 3;
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* top =
            source.m_rgb.data() + std::clamp(y + oy, 0, m_height - 1) * stride;
        const std::uint8_t* bottom =
            source.m_rgb.data() + std::clamp(y + oy + 1, 0, m_height - 1) * stride;
        std::uint8_t* out = m_rgb.data() + y * stride;
        const auto edge = [&](int x) {
            const int left = std::clamp(x + ox, 0, m_width - 1) * 3;
            const int right = std::clamp(x + ox + 1, 0, m_width - 1) * 3;
            for (int c = 0; c < 3; ++c)
                out[x * 3 + c] = blend(top, bottom, left + c, right + c);
        };
        for (int x = 0; x < first; ++x)
            edge(x);
        for (int x = last; x < m_width; ++x)
            edge(x);
        if (last <= first)
            continue;
        BlendRun(top + (first + ox) * 3, bottom + (first + ox) * 3, out + first * 3,
                 (last - first) * 3, w);
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
    // The noise's size at each grey level: a floor plus shot noise.
    const NoiseSize size{static_cast<float>(sigma * sigma), static_cast<float>(0.06 * sigma)};
    const std::vector<std::int8_t>& field = NoiseField();
    std::uint64_t state = seed;
    std::size_t from = SplitMix(state) % kNoiseFieldSize;
    std::size_t done = 0;
    while (done < m_rgb.size()) {
        const std::size_t run = std::min(m_rgb.size() - done, kNoiseFieldSize - from);
        NoiseRun(field.data() + from, m_rgb.data() + done, run, size);
        done += run;
        from = 0;
    }
}

} // namespace md::host
