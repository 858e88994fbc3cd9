// A camera's video frames read into packed RGB from their planes: every byte order of RGB, the
// packed, semi-planar and planar YUV layouts in both colour spaces and ranges, grey, JPEG, rows
// longer than the picture, pictures stored bottom up, and formats that are refused.
#include "gui/camera/VideoFrameConverter.h"

#include <QBuffer>
#include <QImage>
#include <QVideoFrame>
#include <QVideoFrameFormat>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace md {
namespace {

using Format = QVideoFrameFormat::PixelFormat;
using Rgb = std::array<int, 3>;

constexpr int kWidth = 10, kHeight = 6;

/// Blocks of 2 x 2 pixels of one colour, so that chroma at half resolution loses nothing.
Rgb Reference(int x, int y)
{
    static const Rgb palette[] = {{255, 0, 0},   {0, 255, 0},     {0, 0, 255},   {255, 255, 255},
                                  {0, 0, 0},     {128, 128, 128}, {255, 255, 0}, {0, 255, 255},
                                  {255, 0, 255}, {200, 120, 40},  {30, 60, 90},  {250, 180, 190},
                                  {90, 10, 160}, {16, 235, 128},  {64, 64, 200}};
    return palette[(y / 2) * (kWidth / 2) + x / 2];
}

struct Yuv
{
    int y, u, v;
};

/// The camera's side: RGB to YUV with the colour space's weights, in video or full range.
Yuv ToYuv(Rgb rgb, bool bt709, bool full)
{
    const double kr = bt709 ? 0.2126 : 0.299, kb = bt709 ? 0.0722 : 0.114;
    const double luma = kr * rgb[0] + (1 - kr - kb) * rgb[1] + kb * rgb[2];
    const double pb = (rgb[2] - luma) / (2 * (1 - kb)), pr = (rgb[0] - luma) / (2 * (1 - kr));
    const double ys = full ? 1.0 : 219.0 / 255.0, cs = full ? 1.0 : 224.0 / 255.0;
    const auto byte = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
    return {byte((full ? 0 : 16) + ys * luma), byte(128 + cs * pb), byte(128 + cs * pr)};
}

class FrameWriter
{
public:
    FrameWriter(Format format,
                QVideoFrameFormat::ColorSpace space = QVideoFrameFormat::ColorSpace_BT601,
                QVideoFrameFormat::ColorRange range = QVideoFrameFormat::ColorRange_Video)
    {
        QVideoFrameFormat layout(QSize(kWidth, kHeight), format);
        layout.setColorSpace(space);
        layout.setColorRange(range);
        m_bt709 = space == QVideoFrameFormat::ColorSpace_BT709;
        m_full = range == QVideoFrameFormat::ColorRange_Full;
        m_frame = QVideoFrame(layout);
        EXPECT_TRUE(m_frame.map(QVideoFrame::WriteOnly));
    }
    QVideoFrame Done()
    {
        m_frame.unmap();
        return m_frame;
    }
    std::uint8_t* At(int plane, int x, int y, int bytesPerSample)
    {
        return m_frame.bits(plane) + y * m_frame.bytesPerLine(plane) + x * bytesPerSample;
    }
    Yuv YuvAt(int x, int y) const { return ToYuv(Reference(x, y), m_bt709, m_full); }
    int BytesPerLine(int plane) const { return m_frame.bytesPerLine(plane); }

private:
    QVideoFrame m_frame;
    bool m_bt709 = false;
    bool m_full = false;
};

/// Every pixel within `tolerance` of the reference picture.
void ExpectReference(const QVideoFrame& video, int tolerance, const std::string& what)
{
    CameraFrame frame;
    QString why;
    ASSERT_TRUE(VideoFrameConverter::Convert(video, frame, &why))
        << what << ": " << why.toStdString();
    ASSERT_EQ(frame.width, kWidth) << what;
    ASSERT_EQ(frame.height, kHeight) << what;
    ASSERT_EQ(frame.rgb.size(), std::size_t(kWidth * kHeight * 3)) << what;
    int worst = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(frame.Pixel(x, y)[c] - Reference(x, y)[c]));
    EXPECT_LE(worst, tolerance) << what;
}

TEST(VideoFrameConverterTest, ReadsEveryByteOrderOfRgb)
{
    struct Order
    {
        Format format;
        int r, g, b, other;
    };
    for (const Order& order :
         {Order{Format::Format_ARGB8888, 1, 2, 3, 0}, Order{Format::Format_XRGB8888, 1, 2, 3, 0},
          Order{Format::Format_BGRA8888, 2, 1, 0, 3}, Order{Format::Format_BGRX8888, 2, 1, 0, 3},
          Order{Format::Format_ABGR8888, 3, 2, 1, 0}, Order{Format::Format_XBGR8888, 3, 2, 1, 0},
          Order{Format::Format_RGBA8888, 0, 1, 2, 3}, Order{Format::Format_RGBX8888, 0, 1, 2, 3}}) {
        FrameWriter writer(order.format);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t* p = writer.At(0, x, y, 4);
                p[order.r] = std::uint8_t(Reference(x, y)[0]);
                p[order.g] = std::uint8_t(Reference(x, y)[1]);
                p[order.b] = std::uint8_t(Reference(x, y)[2]);
                p[order.other] = 0x5A; // alpha or padding, never read as a colour
            }
        ExpectReference(writer.Done(), 0,
                        QVideoFrameFormat::pixelFormatToString(order.format).toStdString());
    }
}

TEST(VideoFrameConverterTest, ReadsYuvLayoutsInBothColourSpacesAndRanges)
{
    using Space = QVideoFrameFormat::ColorSpace;
    using Range = QVideoFrameFormat::ColorRange;
    for (const Space space : {Space::ColorSpace_BT601, Space::ColorSpace_BT709}) {
        for (const Range range : {Range::ColorRange_Video, Range::ColorRange_Full}) {
            const std::string where =
                std::string(space == Space::ColorSpace_BT709 ? "BT.709" : "BT.601") +
                (range == Range::ColorRange_Full ? " full" : " video");
            for (const Format packed : {Format::Format_YUYV, Format::Format_UYVY}) {
                FrameWriter w(packed, space, range);
                const bool yFirst = packed == Format::Format_YUYV;
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; x += 2) {
                        const Yuv c = w.YuvAt(x, y);
                        std::uint8_t* p = w.At(0, x / 2, y, 4);
                        const std::uint8_t bytes[4] = {
                            std::uint8_t(yFirst ? c.y : c.u), std::uint8_t(yFirst ? c.u : c.y),
                            std::uint8_t(yFirst ? c.y : c.v), std::uint8_t(yFirst ? c.v : c.y)};
                        std::memcpy(p, bytes, 4);
                    }
                ExpectReference(w.Done(), 2, "packed 4:2:2, " + where);
            }
            for (const Format semi :
                 {Format::Format_NV12, Format::Format_NV21, Format::Format_P010}) {
                FrameWriter w(semi, space, range);
                const int sample = semi == Format::Format_P010 ? 2 : 1;
                const auto put = [&](std::uint8_t* p, int value) {
                    if (sample == 2) { // 10 bits at the top of a little-endian word
                        const int word = value << 8 | value;
                        p[0] = std::uint8_t(word & 0xC0);
                        p[1] = std::uint8_t(word >> 8);
                    } else {
                        p[0] = std::uint8_t(value);
                    }
                };
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; ++x)
                        put(w.At(0, x, y, sample), w.YuvAt(x, y).y);
                for (int y = 0; y < kHeight; y += 2)
                    for (int x = 0; x < kWidth; x += 2) {
                        const Yuv c = w.YuvAt(x, y);
                        const bool vFirst = semi == Format::Format_NV21;
                        put(w.At(1, x, y / 2, sample), vFirst ? c.v : c.u);
                        put(w.At(1, x + 1, y / 2, sample), vFirst ? c.u : c.v);
                    }
                ExpectReference(w.Done(), 2,
                                QVideoFrameFormat::pixelFormatToString(semi).toStdString() + ", " +
                                    where);
            }
            for (const Format planar :
                 {Format::Format_YUV420P, Format::Format_YV12, Format::Format_YUV422P}) {
                FrameWriter w(planar, space, range);
                const bool vFirst = planar == Format::Format_YV12;
                const int rows = planar == Format::Format_YUV422P ? 1 : 2;
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; ++x) {
                        const Yuv c = w.YuvAt(x, y);
                        *w.At(0, x, y, 1) = std::uint8_t(c.y);
                        if (x % 2 == 0 && y % rows == 0) {
                            *w.At(vFirst ? 2 : 1, x / 2, y / rows, 1) = std::uint8_t(c.u);
                            *w.At(vFirst ? 1 : 2, x / 2, y / rows, 1) = std::uint8_t(c.v);
                        }
                    }
                ExpectReference(w.Done(), 2,
                                QVideoFrameFormat::pixelFormatToString(planar).toStdString() +
                                    ", " + where);
            }
        }
    }
}

TEST(VideoFrameConverterTest, TheColourSpaceDecidesTheColour)
{
    // An orange written with BT.709 weights reads back as that orange only as BT.709.
    const Rgb orange{230, 130, 40};
    const Yuv written = ToYuv(orange, true, false);
    const auto read = [&](QVideoFrameFormat::ColorSpace space) {
        FrameWriter w(Format::Format_YUYV, space);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; x += 2) {
                const std::uint8_t bytes[4] = {std::uint8_t(written.y), std::uint8_t(written.u),
                                               std::uint8_t(written.y), std::uint8_t(written.v)};
                std::memcpy(w.At(0, x / 2, y, 4), bytes, 4);
            }
        CameraFrame frame;
        EXPECT_TRUE(VideoFrameConverter::Convert(w.Done(), frame));
        int worst = 0;
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(frame.Pixel(3, 3)[c] - orange[c]));
        return worst;
    };
    EXPECT_LE(read(QVideoFrameFormat::ColorSpace_BT709), 2);
    EXPECT_GT(read(QVideoFrameFormat::ColorSpace_Undefined), 6); // read as BT.601
}

TEST(VideoFrameConverterTest, ReadsGreyJpegAndPicturesStoredBottomUp)
{
    for (const Format grey : {Format::Format_Y8, Format::Format_Y16}) {
        FrameWriter w(grey);
        const int sample = grey == Format::Format_Y16 ? 2 : 1;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t* p = w.At(0, x, y, sample);
                p[sample - 1] = std::uint8_t(x * 25 + y);
                if (sample == 2)
                    p[0] = 0xFF; // the low byte of a 16-bit sample
            }
        CameraFrame frame;
        ASSERT_TRUE(VideoFrameConverter::Convert(w.Done(), frame));
        EXPECT_EQ(frame.Pixel(7, 4)[0], 7 * 25 + 4);
        EXPECT_EQ(frame.Pixel(7, 4)[2], 7 * 25 + 4);
    }

    // A JPEG frame as cameras that compress send it: the file's bytes in the frame's one plane.
    QImage picture(64, 48, QImage::Format_RGB888);
    picture.fill(QColor(30, 40, 50));
    for (int y = 8; y < 24; ++y)
        for (int x = 16; x < 40; ++x)
            picture.setPixelColor(x, y, QColor(250, 250, 250));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "JPG", 95));
    QVideoFrame video(QVideoFrameFormat(QSize(64, 48), Format::Format_Jpeg));
    ASSERT_TRUE(video.map(QVideoFrame::WriteOnly));
    ASSERT_GE(video.mappedBytes(0), jpeg.size());
    std::memcpy(video.bits(0), jpeg.constData(), std::size_t(jpeg.size()));
    video.unmap();
    CameraFrame frame;
    ASSERT_TRUE(VideoFrameConverter::Convert(video, frame));
    EXPECT_EQ(frame.width, 64);
    EXPECT_GE(frame.Pixel(20, 10)[1], 240);
    EXPECT_NEAR(frame.Pixel(5, 40)[2], 50, 4);

    // Bottom-up rows come out top down.
    QVideoFrameFormat layout(QSize(kWidth, kHeight), Format::Format_RGBX8888);
    layout.setScanLineDirection(QVideoFrameFormat::BottomToTop);
    QVideoFrame upside(layout);
    ASSERT_TRUE(upside.map(QVideoFrame::WriteOnly));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c)
                upside.bits(0)[(kHeight - 1 - y) * upside.bytesPerLine(0) + x * 4 + c] =
                    std::uint8_t(Reference(x, y)[c]);
    upside.unmap();
    ExpectReference(upside, 0, "bottom up");
}

TEST(VideoFrameConverterTest, RefusesWhatItCannotReadWithTheReason)
{
    CameraFrame frame;
    frame.rgb.assign(12, 7);
    QString why;
    EXPECT_FALSE(VideoFrameConverter::Convert(QVideoFrame(), frame, &why));
    EXPECT_FALSE(why.isEmpty());

    FrameWriter ayuv(Format::Format_AYUV);
    EXPECT_FALSE(VideoFrameConverter::Convert(ayuv.Done(), frame, &why));
    EXPECT_TRUE(why.contains("AYUV")) << why.toStdString();
    EXPECT_TRUE(frame.Empty());

    QVideoFrame garbage(QVideoFrameFormat(QSize(64, 48), Format::Format_Jpeg));
    ASSERT_TRUE(garbage.map(QVideoFrame::WriteOnly));
    std::memset(garbage.bits(0), 0x33, std::size_t(garbage.mappedBytes(0)));
    garbage.unmap();
    EXPECT_FALSE(VideoFrameConverter::Convert(garbage, frame, &why));
    EXPECT_TRUE(why.contains("JPEG")) << why.toStdString();
}

} // namespace
} // namespace md
