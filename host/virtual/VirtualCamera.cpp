#include "VirtualCamera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace md::host {

namespace {

constexpr auto kHistoryKept = std::chrono::seconds(30);

std::uint64_t Mix(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

/// A normal draw from two uniform ones (Box-Muller).
double Normal(std::uint64_t bits)
{
    const double u1 = (static_cast<double>(bits >> 40) + 0.5) / double(1ull << 24);
    const double u2 = static_cast<double>(bits & 0xFFFFFF) / double(1ull << 24);
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

} // namespace

VirtualCamera::VirtualCamera() : VirtualCamera(Settings()) {}

VirtualCamera::VirtualCamera(Settings settings) : m_settings(settings)
{
    m_settings.framesPerSecond = std::clamp(m_settings.framesPerSecond, 1, 240);
    m_settings.latencyMs = std::max(m_settings.latencyMs, 0);
}

std::chrono::nanoseconds VirtualCamera::FrameInterval() const
{
    return std::chrono::nanoseconds(1'000'000'000LL / m_settings.framesPerSecond);
}

VirtualCamera::Clock::time_point VirtualCamera::LatestCaptureBefore(Clock::time_point now) const
{
    const auto interval = FrameInterval();
    const auto since = now.time_since_epoch();
    return Clock::time_point(since - since % interval);
}

void VirtualCamera::Record(Clock::time_point from, const VirtualModule::Frame& shown)
{
    std::vector<LitLed> lit;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            const QColor colour = shown.pixels.value(y * shown.width + x);
            if (colour.isValid() && colour != Qt::black)
                lit.push_back({QPoint(x, y), colour});
        }
    const QSize module(shown.width, shown.height);
    if (module != m_module) {
        m_module = module;
        m_history.clear();
        m_scene = CameraScene(CameraGeometry(m_settings.frame, module, m_settings.tiltDegrees,
                                             m_settings.turnDegrees),
                              m_settings.blurSigma);
    }
    if (!m_history.empty() && m_history.back().lit == lit)
        return;
    if (!m_history.empty())
        from = std::max(from, m_history.back().from);
    m_history.push_back({from, std::move(lit)});
    // Keep what the last half minute of frames can still show.
    while (m_history.size() > 2 && m_history[1].from < from - kHistoryKept)
        m_history.pop_front();
}

const VirtualCamera::State& VirtualCamera::StateAt(Clock::time_point at) const
{
    auto later = std::upper_bound(m_history.begin(), m_history.end(), at,
                                  [](Clock::time_point t, const State& s) { return t < s.from; });
    return later == m_history.begin() ? m_history.front() : *std::prev(later);
}

bool VirtualCamera::StatusLedOn(Clock::time_point at)
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(at.time_since_epoch()).count() % 1000 < 500;
}

VirtualCamera::Picture VirtualCamera::Render(Clock::time_point captured) const
{
    Picture picture;
    picture.captured = captured;
    const CameraRaster& background = m_scene.Background();
    if (!HasModule() || background.Width() == 0)
        return picture;
    // Shake and noise come from the seed and the capture time alone.
    std::uint64_t random =
        Mix(m_settings.seed ^ Mix(static_cast<std::uint64_t>(captured.time_since_epoch().count())));
    const double dx = m_settings.shakeSigma * Normal(random = Mix(random));
    const double dy = m_settings.shakeSigma * Normal(random = Mix(random));
    CameraRaster raster;
    raster.ShiftFrom(background, dx, dy);

    const CameraGeometry& geometry = m_scene.Geometry();
    const QPointF shake(dx, dy);
    const double blur = m_settings.blurSigma;
    // The frame shows the room as it was one latency earlier.
    const Clock::time_point seen = captured - std::chrono::milliseconds(m_settings.latencyMs);
    const State& state = StateAt(seen);
    const QRectF shiny = m_scene.ShinyFrame();
    const double height = m_module.height();
    for (const LitLed& led : state.lit) {
        const QPointF cell(led.cell.x() + 0.5, led.cell.y() + 0.5);
        const double pitch = geometry.PitchAt(cell);
        // The emitter, about a quarter of the pitch across, then the lens.
        const double spot = std::hypot(0.22 * pitch, blur);
        raster.AddLight(geometry.Map(cell) + shake, spot, led.colour, 1.5);
        // Its mirror image on the shiny frame, squeezed into the frame's height: rows near the
        // frame are mirrored near its upper lip, and fainter the further up the module they are.
        const double up = (height - cell.y()) / height;
        const QPointF mirrored(cell.x(), shiny.top() + shiny.height() * (0.15 + 0.7 * up));
        const double mirrorPitch = geometry.PitchAt(mirrored);
        raster.AddLight(geometry.Map(mirrored) + shake,
                        std::hypot(0.08 * shiny.height() * mirrorPitch, blur), led.colour,
                        0.6 * (1.0 - 0.7 * up));
    }
    if (StatusLedOn(seen)) {
        const QPointF led = m_scene.StatusLed();
        raster.AddLight(geometry.Map(led) + shake, std::hypot(0.25 * geometry.PitchAt(led), blur),
                        QColor(40, 255, 60), 1.6);
    }
    raster.AddNoise(Mix(random), m_settings.noiseSigma);

    picture.width = raster.Width();
    picture.height = raster.Height();
    picture.rgb = std::move(raster.Bytes());
    return picture;
}

} // namespace md::host
