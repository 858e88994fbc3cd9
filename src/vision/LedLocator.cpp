#include "vision/LedLocator.h"

#include "vision/FramePreparation.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace md {

namespace {

constexpr double kNoiseFactor = 6;        // faintest light: this many noise deviations
constexpr double kFaintShare = 0.12;      // ... or this share of a lit LED's level
constexpr double kLeastLevel = 8;         // ... and never fainter than this
constexpr double kClearFactor = 2;        // a sure light: this many times the faintest
constexpr double kClearShare = 0.3;       // ... and this share of a lit LED's level
constexpr double kBlobShare = 0.3;        // a light's extent: above this share of the peak
constexpr double kMostCellDistance = 0.3; // pixels
constexpr double kMostSpread = 0.6;       // pixels: a light's weighted standard deviation

} // namespace

struct LedLocator::State
{
    ModuleGrid grid;
    cv::Rect area;       ///< the part of the picture around the module
    cv::Mat widenedDark; ///< of area
    cv::Mat inside;      ///< of area: the module with a margin of half a pixel
    double faint = 0;    ///< below: nothing lit
    double clear = 0;    ///< at or above: surely lit
    bool usable = false;
};

LedLocator::LedLocator(const ModuleGrid& grid, const CameraFrame& dark)
    : m_state(std::make_unique<State>())
{
    State& s = *m_state;
    s.grid = grid;
    if (!vision::Consistent(dark) || grid.width <= 0 || grid.height <= 0 || grid.pitch <= 0)
        return;
    // The module's outline grown by half a pixel: an LED on the edge spreads beyond it.
    std::vector<cv::Point> polygon;
    for (int i = 0; i < 4; ++i) {
        const GridPoint c =
            grid.ToCamera({i == 1 || i == 2 ? grid.width : -1.0, i >= 2 ? grid.height : -1.0});
        polygon.emplace_back(int(std::lround(c.x)), int(std::lround(c.y)));
    }
    s.area = cv::boundingRect(polygon) & cv::Rect(0, 0, dark.width, dark.height);
    if (s.area.area() == 0)
        return;
    s.widenedDark = vision::WidenedDark(dark, s.area);
    s.inside = cv::Mat::zeros(s.area.size(), CV_8UC1);
    for (cv::Point& p : polygon)
        p -= s.area.tl();
    cv::fillConvexPoly(s.inside, polygon, 255);
    const double noise = vision::SmoothedNoise(vision::Brightness(dark, s.area));
    s.faint = std::max({kNoiseFactor * noise, kFaintShare * grid.ledLevel, kLeastLevel});
    s.clear = std::max(kClearFactor * s.faint, kClearShare * grid.ledLevel);
    s.usable = true;
}

LedLocator::~LedLocator() = default;
LedLocator::LedLocator(LedLocator&&) noexcept = default;
LedLocator& LedLocator::operator=(LedLocator&&) noexcept = default;

LocateResult LedLocator::Locate(const CameraFrame& frame) const
{
    const State& s = *m_state;
    LocateResult result;
    const auto review = [&](ReviewReason reason) {
        result.status = LocateStatus::Review;
        result.reason = reason;
        result.pixels.clear();
        result.confidence = 0;
        return result;
    };
    if (!s.usable || !vision::Consistent(frame) ||
        !cv::Rect(0, 0, frame.width, frame.height).contains(s.area.br() - cv::Point(1, 1)))
        return review(ReviewReason::LowContrast);

    cv::Mat difference;
    cv::subtract(vision::Brightness(frame, s.area), s.widenedDark, difference);
    difference.setTo(0, s.inside == 0);
    double peak = 0;
    cv::minMaxLoc(difference, nullptr, &peak);
    if (peak < s.faint) {
        result.status = LocateStatus::NoneLit;
        result.confidence = 1 - peak / s.faint;
        return result;
    }

    const double level = std::max(s.faint, kBlobShare * peak);
    cv::Mat mask, labels, stats, centroids;
    cv::threshold(difference, mask, level - 1, 255, cv::THRESH_BINARY);
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    for (int label = 1; label < count; ++label) {
        const cv::Rect box(
            stats.at<int>(label, cv::CC_STAT_LEFT), stats.at<int>(label, cv::CC_STAT_TOP),
            stats.at<int>(label, cv::CC_STAT_WIDTH), stats.at<int>(label, cv::CC_STAT_HEIGHT));
        // Brightness-weighted centre and spread of what stands above the blob's level.
        double sum = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0, top = 0;
        for (int y = box.y; y < box.y + box.height; ++y) {
            const int* own = labels.ptr<int>(y);
            const std::uint8_t* row = difference.ptr<std::uint8_t>(y);
            for (int x = box.x; x < box.x + box.width; ++x) {
                if (own[x] != label)
                    continue;
                const double w = row[x] - level + 1;
                top = std::max(top, double(row[x]));
                sum += w, sx += w * x, sy += w * y;
                sxx += w * x * x, syy += w * y * y, sxy += w * x * y;
            }
        }
        if (top < s.clear)
            return review(ReviewReason::LowContrast);
        const double cx = sx / sum, cy = sy / sum;
        const double vx = sxx / sum - cx * cx, vy = syy / sum - cy * cy, cxy = sxy / sum - cx * cy;
        const double spread = std::sqrt(
            std::max(0.0, 0.5 * (vx + vy) + std::sqrt(0.25 * (vx - vy) * (vx - vy) + cxy * cxy)));
        const GridPoint camera{cx + s.area.x, cy + s.area.y};
        const GridPoint module = s.grid.ToModule(camera);
        const int x = int(std::lround(module.x)), y = int(std::lround(module.y));
        const double distance = std::hypot(module.x - x, module.y - y);
        if (x < 0 || y < 0 || x >= s.grid.width || y >= s.grid.height ||
            distance > kMostCellDistance)
            return review(ReviewReason::OffCellCentre);
        // The spread in module pixels, by the local distance of pixel centres.
        const GridPoint right = s.grid.ToCamera({module.x + 0.5, module.y});
        const GridPoint left = s.grid.ToCamera({module.x - 0.5, module.y});
        const double pitch = std::hypot(right.x - left.x, right.y - left.y);
        if (spread / pitch > kMostSpread)
            return review(ReviewReason::TooLarge);
        for (const LocatedPixel& other : result.pixels)
            if (other.x == x && other.y == y)
                return review(ReviewReason::TwoInOneCell);
        const double contrast = std::min(1.0, top / (2 * s.clear));
        result.pixels.push_back({x, y, camera, distance, contrast * (1 - distance)});
    }
    if (result.pixels.empty())
        return review(ReviewReason::LowContrast);
    std::sort(result.pixels.begin(), result.pixels.end(),
              [](const auto& a, const auto& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    result.status = LocateStatus::Located;
    result.confidence = 1;
    for (const LocatedPixel& pixel : result.pixels)
        result.confidence = std::min(result.confidence, pixel.confidence);
    return result;
}

} // namespace md
