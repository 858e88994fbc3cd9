#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

#include <cstdint>
#include <vector>

namespace md::host {

/// A camera picture being made: packed 8-bit RGB without row padding, and what a sensor does to it
/// (the lens's blur, a shake of the whole picture, light added, noise). Every operation is
/// deterministic: the noise comes from the seed it is given.
class CameraRaster
{
public:
    CameraRaster() = default;
    CameraRaster(int width, int height);
    /// The picture's pixels, alpha dropped.
    static CameraRaster FromImage(const QImage& image);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::vector<std::uint8_t>& Bytes() { return m_rgb; }
    const std::vector<std::uint8_t>& Bytes() const { return m_rgb; }
    const std::uint8_t* Pixel(int x, int y) const
    {
        return m_rgb.data() + (static_cast<std::size_t>(y) * m_width + x) * 3;
    }

    /// Blurs with a Gaussian of sigma pixels (the lens), edges repeated.
    void Blur(double sigma);
    /// Becomes source moved by (dx, dy) pixels, interpolated between pixels; the edges repeat.
    void ShiftFrom(const CameraRaster& source, double dx, double dy);
    /// Adds the light of a round source at centre (pixel centres at .5): colour times gain times a
    /// Gaussian of sigma pixels, clipped at white as a sensor clips.
    void AddLight(QPointF centre, double sigma, QColor colour, double gain);
    /// Adds sensor noise: sigma grey levels in the dark, more in bright parts (shot noise).
    void AddNoise(std::uint64_t seed, double sigma);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_rgb;
};

} // namespace md::host
