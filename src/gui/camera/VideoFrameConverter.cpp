#include "gui/camera/VideoFrameConverter.h"

#include <QImage>
#include <QVideoFrame>
#include <QVideoFrameFormat>

#include <algorithm>
#include <cstring>

namespace md {

namespace {

using Format = QVideoFrameFormat::PixelFormat;

/// YUV to RGB in fixed point (1/1024), for one colour space and range.
struct YuvMatrix
{
    int yOffset, yScale, rv, gu, gv, bu;

    static YuvMatrix For(const QVideoFrameFormat& format)
    {
        const bool bt709 = format.colorSpace() == QVideoFrameFormat::ColorSpace_BT709;
        const bool full = format.colorRange() == QVideoFrameFormat::ColorRange_Full;
        // Kr and Kb of the colour space give the matrix; video range stretches 16-235 / 16-240.
        const double kr = bt709 ? 0.2126 : 0.299, kb = bt709 ? 0.0722 : 0.114;
        const double kg = 1.0 - kr - kb;
        const double ys = full ? 1.0 : 255.0 / 219.0, cs = full ? 1.0 : 255.0 / 224.0;
        const auto fixed = [](double v) {
            return static_cast<int>(v * 1024.0 + (v < 0 ? -0.5 : 0.5));
        };
        return {full ? 0 : 16,
                fixed(ys),
                fixed(2.0 * (1.0 - kr) * cs),
                fixed(-2.0 * (1.0 - kb) * kb / kg * cs),
                fixed(-2.0 * (1.0 - kr) * kr / kg * cs),
                fixed(2.0 * (1.0 - kb) * cs)};
    }

    void Put(int y, int u, int v, std::uint8_t* out) const
    {
        const int c = (y - yOffset) * yScale;
        const int d = u - 128, e = v - 128;
        out[0] = Clip((c + rv * e + 512) >> 10);
        out[1] = Clip((c + gu * d + gv * e + 512) >> 10);
        out[2] = Clip((c + bu * d + 512) >> 10);
    }
    static std::uint8_t Clip(int value)
    {
        return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
};

/// A plane of the mapped frame: its bytes and the distance between rows.
struct Plane
{
    const std::uint8_t* bits;
    int stride;
    const std::uint8_t* Row(int y) const { return bits + static_cast<std::ptrdiff_t>(y) * stride; }
};

/// Byte positions of red, green and blue in a 4-byte pixel.
bool PackedOrder(Format format, int& r, int& g, int& b)
{
    switch (format) {
    case Format::Format_ARGB8888:
    case Format::Format_ARGB8888_Premultiplied:
    case Format::Format_XRGB8888:
        r = 1, g = 2, b = 3;
        return true;
    case Format::Format_BGRA8888:
    case Format::Format_BGRA8888_Premultiplied:
    case Format::Format_BGRX8888:
        r = 2, g = 1, b = 0;
        return true;
    case Format::Format_ABGR8888:
    case Format::Format_XBGR8888:
        r = 3, g = 2, b = 1;
        return true;
    case Format::Format_RGBA8888:
    case Format::Format_RGBX8888:
        r = 0, g = 1, b = 2;
        return true;
    default:
        return false;
    }
}

bool ConvertMapped(const QVideoFrame& video, CameraFrame& frame, QString* why)
{
    const Format format = video.pixelFormat();
    const int width = frame.width, height = frame.height;
    const auto plane = [&](int i) { return Plane{video.bits(i), video.bytesPerLine(i)}; };
    const YuvMatrix yuv = YuvMatrix::For(video.surfaceFormat());
    const auto out = [&](int y) {
        return frame.rgb.data() + static_cast<std::size_t>(y) * width * 3;
    };

    int r = 0, g = 0, b = 0;
    if (PackedOrder(format, r, g, b)) {
        const Plane p = plane(0);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* in = p.Row(y);
            std::uint8_t* o = out(y);
            for (int x = 0; x < width; ++x, in += 4, o += 3) {
                o[0] = in[r];
                o[1] = in[g];
                o[2] = in[b];
            }
        }
        return true;
    }
    switch (format) {
    case Format::Format_YUYV:
    case Format::Format_UYVY: {
        // Two pixels in four bytes: Y0 U Y1 V, or U Y0 V Y1.
        const bool yFirst = format == Format::Format_YUYV;
        const int y0 = yFirst ? 0 : 1, u0 = yFirst ? 1 : 0, y1 = yFirst ? 2 : 3,
                  v0 = yFirst ? 3 : 2;
        const Plane p = plane(0);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* in = p.Row(y);
            std::uint8_t* o = out(y);
            for (int x = 0; x < width; x += 2, in += 4) {
                yuv.Put(in[y0], in[u0], in[v0], o + x * 3);
                if (x + 1 < width)
                    yuv.Put(in[y1], in[u0], in[v0], o + (x + 1) * 3);
            }
        }
        return true;
    }
    case Format::Format_NV12:
    case Format::Format_NV21:
    case Format::Format_P010:
    case Format::Format_P016: {
        // A luma plane and a plane of interleaved chroma pairs at half resolution; the 16-bit
        // formats keep their value in the high byte of each little-endian sample.
        const bool wide = format == Format::Format_P010 || format == Format::Format_P016;
        const int step = wide ? 2 : 1, high = wide ? 1 : 0;
        const bool vFirst = format == Format::Format_NV21;
        const Plane luma = plane(0), chroma = plane(1);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* ys = luma.Row(y);
            const std::uint8_t* cs = chroma.Row(y / 2);
            std::uint8_t* o = out(y);
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* pair = cs + (x / 2) * 2 * step;
                const int first = pair[high], second = pair[step + high];
                yuv.Put(ys[x * step + high], vFirst ? second : first, vFirst ? first : second,
                        o + x * 3);
            }
        }
        return true;
    }
    case Format::Format_YUV420P:
    case Format::Format_YV12:
    case Format::Format_YUV422P: {
        const bool halfHeight = format != Format::Format_YUV422P;
        const bool vFirst = format == Format::Format_YV12;
        const Plane luma = plane(0), u = plane(vFirst ? 2 : 1), v = plane(vFirst ? 1 : 2);
        for (int y = 0; y < height; ++y) {
            const int cy = halfHeight ? y / 2 : y;
            const std::uint8_t* ys = luma.Row(y);
            const std::uint8_t* us = u.Row(cy);
            const std::uint8_t* vs = v.Row(cy);
            std::uint8_t* o = out(y);
            for (int x = 0; x < width; ++x)
                yuv.Put(ys[x], us[x / 2], vs[x / 2], o + x * 3);
        }
        return true;
    }
    case Format::Format_Y8:
    case Format::Format_Y16: {
        const int step = format == Format::Format_Y16 ? 2 : 1;
        const Plane p = plane(0);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* in = p.Row(y) + (step - 1);
            std::uint8_t* o = out(y);
            for (int x = 0; x < width; ++x, in += step, o += 3)
                o[0] = o[1] = o[2] = *in;
        }
        return true;
    }
    case Format::Format_Jpeg: {
        QImage image;
        if (!image.loadFromData(video.bits(0), video.mappedBytes(0), "JPG")) {
            if (why)
                *why = QStringLiteral("the camera sent a JPEG frame that does not decode");
            return false;
        }
        image = image.convertToFormat(QImage::Format_RGB888);
        frame.width = image.width();
        frame.height = image.height();
        frame.rgb.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
        for (int y = 0; y < frame.height; ++y)
            std::memcpy(frame.rgb.data() + static_cast<std::size_t>(y) * frame.width * 3,
                        image.constScanLine(y), static_cast<std::size_t>(frame.width) * 3);
        return true;
    }
    default:
        if (why)
            *why = QStringLiteral("the camera's pixel format %1 is not read")
                       .arg(QVideoFrameFormat::pixelFormatToString(format));
        return false;
    }
}

} // namespace

bool VideoFrameConverter::Convert(const QVideoFrame& video, CameraFrame& frame, QString* why)
{
    QVideoFrame mapped = video; // a shallow copy: mapping does not change the caller's frame
    if (!mapped.isValid() || !mapped.map(QVideoFrame::ReadOnly)) {
        if (why)
            *why = QStringLiteral("the camera's frame cannot be read");
        return false;
    }
    frame.width = mapped.width();
    frame.height = mapped.height();
    frame.rgb.resize(static_cast<std::size_t>(std::max(frame.width, 0)) *
                     static_cast<std::size_t>(std::max(frame.height, 0)) * 3);
    const bool done = frame.width > 0 && frame.height > 0 && ConvertMapped(mapped, frame, why);
    mapped.unmap();
    if (done && mapped.surfaceFormat().scanLineDirection() == QVideoFrameFormat::BottomToTop) {
        const std::size_t row = static_cast<std::size_t>(frame.width) * 3;
        for (int top = 0, bottom = frame.height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(frame.rgb.begin() + top * row, frame.rgb.begin() + (top + 1) * row,
                             frame.rgb.begin() + bottom * row);
    }
    if (!done)
        frame.rgb.clear();
    return done;
}

} // namespace md
