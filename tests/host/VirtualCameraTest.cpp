// The reference host's virtual camera on simulated time: what a frame shows and when, where the
// perspective puts a lit LED, the room around the module, and the same frame for the same seed.
#include "virtual/VirtualCamera.h"
#include "virtual/CameraRaster.h"

#include <QRect>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace md::host {
namespace {

using namespace std::chrono_literals;
using Clock = VirtualCamera::Clock;

const Clock::time_point kStart = Clock::time_point(100s);

VirtualModule::Frame Shown(int width, int height, std::vector<QPoint> lit = {})
{
    VirtualModule::Frame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.fill(Qt::black, width * height);
    for (const QPoint& p : lit)
        frame.pixels[p.y() * width + p.x()] = QColor(255, 255, 255);
    return frame;
}

VirtualCamera::Settings Quiet()
{
    VirtualCamera::Settings settings;
    settings.tiltDegrees = 0;
    settings.turnDegrees = 0;
    settings.shakeSigma = 0;
    return settings;
}

int Grey(const VirtualCamera::Picture& picture, int x, int y)
{
    const auto* p = picture.rgb.data() + (std::size_t(y) * picture.width + x) * 3;
    return (p[0] + p[1] + p[2]) / 3;
}

/// Where two frames of one capture time differ: the brightness-weighted centre of the extra
/// light in `lit` within `window`, and how much light that is.
struct Light
{
    QPointF centre;
    double amount = 0;
};
Light ExtraLight(const VirtualCamera::Picture& lit, const VirtualCamera::Picture& dark,
                 QRect window)
{
    Light light;
    double sx = 0, sy = 0;
    window &= QRect(0, 0, lit.width, lit.height);
    for (int y = window.top(); y <= window.bottom(); ++y)
        for (int x = window.left(); x <= window.right(); ++x) {
            const double extra = std::max(0, Grey(lit, x, y) - Grey(dark, x, y));
            light.amount += extra;
            sx += extra * (x + 0.5);
            sy += extra * (y + 0.5);
        }
    if (light.amount > 0)
        light.centre = QPointF(sx / light.amount, sy / light.amount);
    return light;
}

QRect Around(QPointF point, int radius)
{
    return QRect(int(point.x()) - radius, int(point.y()) - radius, 2 * radius + 1, 2 * radius + 1);
}

TEST(VirtualCameraTest, AFrameShowsTheModuleAsItWasOneLatencyEarlier)
{
    VirtualCamera::Settings settings = Quiet();
    settings.latencyMs = 100;
    VirtualCamera camera(settings);
    VirtualCamera dark(settings);
    camera.Record(kStart, Shown(32, 16));
    dark.Record(kStart, Shown(32, 16));
    const Clock::time_point lit = kStart + 2s;
    camera.Record(lit, Shown(32, 16, {{5, 3}}));

    // Until one latency after the LED came on, every frame is the dark module's.
    EXPECT_EQ(camera.Render(lit).rgb, dark.Render(lit).rgb);
    EXPECT_EQ(camera.Render(lit + 99ms).rgb, dark.Render(lit + 99ms).rgb);
    // From then on the LED shows, where the view puts its centre, and nowhere else on the module.
    const Clock::time_point seen = lit + 100ms;
    const auto withLed = camera.Render(seen);
    const auto without = dark.Render(seen);
    const QPointF expected = camera.Geometry().Map(QPointF(5.5, 3.5));
    const double pitch = camera.Geometry().PitchAt(QPointF(5.5, 3.5));
    const Light led = ExtraLight(withLed, without, Around(expected, int(pitch * 0.8)));
    EXPECT_GT(led.amount, 500);
    EXPECT_NEAR(led.centre.x(), expected.x(), 0.3);
    EXPECT_NEAR(led.centre.y(), expected.y(), 0.3);
    EXPECT_GE(Grey(withLed, int(expected.x()), int(expected.y())), 200);
    const QRectF module = camera.Geometry().PlaneToFrame().mapRect(QRectF(0, 0, 32, 16));
    const Light elsewhere =
        ExtraLight(withLed, without, module.toRect().adjusted(0, 0, 0, -int(module.height() / 2)));
    EXPECT_NEAR(elsewhere.amount, led.amount, led.amount * 0.02); // the LED lies in the top half

    // Its mirror image lies on the shiny frame below the module, outside the module's outline.
    const QRectF shiny = camera.Geometry().PlaneToFrame().mapRect(camera.Scene().ShinyFrame());
    const Light mirror = ExtraLight(withLed, without, shiny.toRect());
    EXPECT_GT(mirror.amount, 100);
    EXPECT_GT(mirror.centre.y(), module.bottom());
    EXPECT_NEAR(mirror.centre.x(), expected.x(), pitch);

    // The LED stays until the module changes again, one latency later in the frames too.
    camera.Record(lit + 1s, Shown(32, 16));
    EXPECT_NE(camera.Render(lit + 1s + 99ms).rgb, dark.Render(lit + 1s + 99ms).rgb);
    EXPECT_EQ(camera.Render(lit + 1s + 100ms).rgb, dark.Render(lit + 1s + 100ms).rgb);
}

TEST(VirtualCameraTest, TiltAndTurnBringOneEdgeOfTheModuleNearer)
{
    // Four corner LEDs lit, seen from straight ahead, turned and tilted: the nearer edge of the
    // module looks longer, measured between the LEDs' centres as they appear in the frames.
    const std::vector<QPoint> corners{{0, 0}, {63, 0}, {0, 31}, {63, 31}};
    const auto measure = [&](double tilt, double turn) {
        VirtualCamera::Settings settings = Quiet();
        settings.tiltDegrees = tilt;
        settings.turnDegrees = turn;
        VirtualCamera lit(settings), dark(settings);
        lit.Record(kStart, Shown(64, 32, corners));
        dark.Record(kStart, Shown(64, 32));
        const auto a = lit.Render(kStart + 1s), b = dark.Render(kStart + 1s);
        std::vector<QPointF> seen;
        for (const QPoint& c : corners) {
            const QPointF centre = lit.Geometry().Map(QPointF(c) + QPointF(0.5, 0.5));
            seen.push_back(ExtraLight(a, b, Around(centre, 6)).centre);
            EXPECT_NEAR(seen.back().x(), centre.x(), 0.4);
            EXPECT_NEAR(seen.back().y(), centre.y(), 0.4);
        }
        struct Edges
        {
            double left, right, top, bottom;
        };
        return Edges{seen[2].y() - seen[0].y(), seen[3].y() - seen[1].y(),
                     seen[1].x() - seen[0].x(), seen[3].x() - seen[2].x()};
    };
    const auto straight = measure(0, 0);
    EXPECT_NEAR(straight.left, straight.right, 0.5);
    EXPECT_NEAR(straight.top, straight.bottom, 0.5);
    EXPECT_NEAR(straight.top / straight.left, 63.0 / 31.0, 0.02); // square pixels, no distortion

    const auto turned = measure(0, 25);
    EXPECT_GT(turned.right, turned.left * 1.08);
    EXPECT_LT(turned.top, straight.top * 0.95); // seen at an angle, the module looks narrower
    const auto tilted = measure(25, 0);
    EXPECT_GT(tilted.top, tilted.bottom * 1.08);
    EXPECT_LT(tilted.left, straight.left * 0.95);
}

TEST(VirtualCameraTest, TheSameSeedAndCaptureTimeGiveTheSameFrame)
{
    VirtualCamera::Settings settings; // shake, noise and blur on
    const auto frame = [&](std::uint64_t seed, Clock::time_point at) {
        settings.seed = seed;
        VirtualCamera camera(settings);
        camera.Record(kStart, Shown(32, 16, {{1, 1}}));
        return camera.Render(at);
    };
    const auto first = frame(7, kStart + 1s);
    EXPECT_EQ(first.width, 1280);
    EXPECT_EQ(first.height, 720);
    EXPECT_EQ(first.rgb.size(), 1280u * 720u * 3u);
    EXPECT_EQ(first.captured, kStart + 1s);
    EXPECT_EQ(first.rgb, frame(7, kStart + 1s).rgb);
    // Another capture time or seed: another draw of noise and shake, though the scene is the same.
    const auto later = frame(7, kStart + 1s + 33ms);
    const auto other = frame(8, kStart + 1s);
    EXPECT_NE(first.rgb, later.rgb);
    EXPECT_NE(first.rgb, other.rgb);
    long differing = 0, total = 0;
    for (std::size_t i = 0; i < first.rgb.size(); ++i) {
        const int d = std::abs(int(first.rgb[i]) - int(other.rgb[i]));
        differing += d > 0;
        total += d;
    }
    EXPECT_GT(differing, long(first.rgb.size() / 2)); // noise touches most pixels
    EXPECT_LT(double(total) / first.rgb.size(), 8.0); // but only by a few grey levels
}

TEST(VirtualCameraTest, TheRoomAroundTheModuleIsLitAndHasDistractions)
{
    VirtualCamera camera(Quiet());
    camera.Record(kStart, Shown(32, 16));
    // The status LED blinks once a second: compare a frame with it on and one with it off.
    Clock::time_point on = kStart, off = kStart;
    while (!VirtualCamera::StatusLedOn(on - 100ms))
        on += 10ms;
    while (VirtualCamera::StatusLedOn(off - 100ms))
        off += 10ms;
    const auto lit = camera.Render(on), unlit = camera.Render(off);

    double sum = 0;
    int clipped = 0, clippedAtTopRight = 0;
    for (int y = 0; y < unlit.height; ++y)
        for (int x = 0; x < unlit.width; ++x) {
            const int grey = Grey(unlit, x, y);
            sum += grey;
            clipped += grey >= 250;
            clippedAtTopRight += grey >= 250 && x > unlit.width * 0.8 && y < unlit.height * 0.3;
        }
    EXPECT_GT(sum / (unlit.width * unlit.height), 60.0); // a lit room, not a black one
    EXPECT_GT(clipped, 500);                             // the lamp is brighter than the sensor
    EXPECT_EQ(clipped, clippedAtTopRight);               // and sits at the frame's edge
    const QPointF status = camera.Geometry().Map(camera.Scene().StatusLed());
    const Light blink = ExtraLight(lit, unlit, Around(status, 12));
    EXPECT_GT(blink.amount, 500);
    EXPECT_NEAR(blink.centre.x(), status.x(), 0.5);
    const QRectF module = camera.Geometry().PlaneToFrame().mapRect(QRectF(0, 0, 32, 16));
    EXPECT_LT(status.x(), module.left()); // beside the module, not on it
}

TEST(VirtualCameraTest, FramesAreTakenOnAFixedBeat)
{
    VirtualCamera::Settings settings;
    settings.framesPerSecond = 30;
    const VirtualCamera camera(settings);
    EXPECT_EQ(camera.FrameInterval(), 33'333'333ns);
    const Clock::time_point beat = camera.LatestCaptureBefore(kStart + 5ms);
    EXPECT_LE(beat, kStart + 5ms);
    EXPECT_GT(beat, kStart + 5ms - camera.FrameInterval());
    EXPECT_EQ(camera.LatestCaptureBefore(beat), beat);
    EXPECT_EQ(camera.LatestCaptureBefore(beat + camera.FrameInterval() - 1ns), beat);
}

TEST(CameraRasterTest, ShakeMovesThePictureBySubPixelsAndNoiseHasItsSize)
{
    // One bright pixel, moved by a fraction of a pixel: its light moves with it, none is lost.
    CameraRaster still(40, 30);
    std::fill_n(still.Bytes().begin() + (12 * 40 + 20) * 3, 3, std::uint8_t(240));
    const auto centre = [](const CameraRaster& r) {
        double sum = 0, sx = 0, sy = 0;
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x) {
                sum += r.Pixel(x, y)[0];
                sx += r.Pixel(x, y)[0] * x;
                sy += r.Pixel(x, y)[0] * y;
            }
        return std::tuple(sum, sx / sum, sy / sum);
    };
    CameraRaster moved;
    moved.ShiftFrom(still, 1.25, -0.5);
    const auto [before, x0, y0] = centre(still);
    const auto [after, x1, y1] = centre(moved);
    EXPECT_NEAR(after, before, 3);
    EXPECT_NEAR(x1 - x0, 1.25, 0.02);
    EXPECT_NEAR(y1 - y0, -0.5, 0.02);

    // Whole pixels move exactly, and the picture's edge repeats into the uncovered side.
    CameraRaster ramp(16, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            std::fill_n(ramp.Bytes().begin() + (y * 16 + x) * 3, 3, std::uint8_t(10 * x + y));
    CameraRaster right;
    right.ShiftFrom(ramp, 2, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(right.Pixel(x, y)[1], 10 * std::max(x - 2, 0) + std::max(y - 1, 0))
                << x << "," << y;

    // Noise on grey levels far apart from column to column: at every level centred and of the
    // size asked for there (more in bright parts), never mixed up with a neighbour's level;
    // the same for the same seed, another for another seed.
    CameraRaster levels(256, 480);
    for (int y = 0; y < levels.Height(); ++y)
        for (int x = 0; x < levels.Width(); ++x)
            std::fill_n(levels.Bytes().begin() + (std::size_t(y) * 256 + x) * 3, 3,
                        std::uint8_t(x * 37 % 256));
    CameraRaster noisy = levels, again = levels, other = levels;
    noisy.AddNoise(11, 4.0);
    again.AddNoise(11, 4.0);
    other.AddNoise(12, 4.0);
    EXPECT_EQ(noisy.Bytes(), again.Bytes());
    EXPECT_NE(noisy.Bytes(), other.Bytes());
    for (int x = 0; x < 256; ++x) {
        const int level = x * 37 % 256;
        if (level < 16 || level > 236)
            continue; // clipped at black or white
        double sum = 0, squares = 0;
        for (int y = 0; y < noisy.Height(); ++y)
            for (int c = 0; c < 3; ++c) {
                const double d = noisy.Pixel(x, y)[c] - level;
                sum += d;
                squares += d * d;
            }
        const double n = 3.0 * noisy.Height();
        const double expected = std::sqrt(16 + 0.06 * 4 * level);
        ASSERT_NEAR(sum / n, 0.0, 4 * expected / std::sqrt(n)) << "level " << level;
        ASSERT_NEAR(std::sqrt(squares / n), expected, 0.12 * expected) << "level " << level;
    }
}

} // namespace
} // namespace md::host
