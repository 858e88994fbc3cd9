#include "vision/LitOutline.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace md::vision {

namespace {

constexpr double kLeastLevel = 20;   // below this the all-lit frame shows nothing lit
constexpr int kLeastLeds = 16;       // separate lights needed to measure their distance
constexpr double kCornerShare = 0.1; // edge points this near a corner do not fit a side
constexpr double kMostShare = 0.9;   // of the lit pixels: the module's region

/// Median distance of each light to its nearest neighbour, 0 when there are too few.
double NeighbourDistance(const std::vector<cv::Point2d>& centres)
{
    if (centres.size() < static_cast<std::size_t>(kLeastLeds))
        return 0;
    std::vector<cv::Point2d> sorted = centres;
    std::sort(sorted.begin(), sorted.end(),
              [](const cv::Point2d& a, const cv::Point2d& b) { return a.x < b.x; });
    std::vector<double> nearest;
    nearest.reserve(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        double best = 1e18;
        for (std::size_t j = i + 1; j < sorted.size() && sorted[j].x - sorted[i].x < best; ++j)
            best = std::min(best, cv::norm(sorted[j] - sorted[i]));
        for (std::size_t j = i; j-- > 0 && sorted[i].x - sorted[j].x < best;)
            best = std::min(best, cv::norm(sorted[j] - sorted[i]));
        nearest.push_back(best);
    }
    std::nth_element(nearest.begin(), nearest.begin() + nearest.size() / 2, nearest.end());
    return nearest[nearest.size() / 2];
}

cv::Point2d Intersect(const cv::Vec4f& a, const cv::Vec4f& b)
{
    // Lines as point + t * direction.
    const double det = a[0] * b[1] - a[1] * b[0];
    const double t = ((b[2] - a[2]) * b[1] - (b[3] - a[3]) * b[0]) / det;
    return {a[2] + t * a[0], a[3] + t * a[1]};
}

double SegmentDistance(const cv::Point2d& p, const cv::Point2d& a, const cv::Point2d& b)
{
    const cv::Point2d ab = b - a;
    const double t = std::clamp((p - a).dot(ab) / ab.dot(ab), 0.0, 1.0);
    return cv::norm(p - (a + t * ab));
}

} // namespace

std::optional<LitOutline> LitOutline::Find(const cv::Mat& difference, int cells)
{
    double peak = 0;
    cv::minMaxLoc(difference, nullptr, &peak);
    if (peak < kLeastLevel)
        return std::nullopt;
    LitOutline outline;
    cv::Mat mask;
    outline.threshold =
        std::max(cv::threshold(difference, mask, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU),
                 kLeastLevel / 2);
    cv::threshold(difference, mask, outline.threshold, 255, cv::THRESH_BINARY);

    // Separate lights: their distance sets how wide a gap is closed to join them.
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    std::vector<cv::Point2d> centres;
    for (int i = 1; i < count; ++i) {
        if (stats.at<int>(i, cv::CC_STAT_AREA) < 2)
            continue;
        centres.emplace_back(centroids.at<double>(i, 0), centroids.at<double>(i, 1));
    }
    const double distance = NeighbourDistance(centres);
    const int side = distance > 0 ? std::clamp(int(std::lround(distance)) | 1, 3, 61) : 3;
    // Join the lights across the gaps between them: the smallest closing after which one
    // region holds most of what is lit (distractors are small beside the module).
    const int lit = cv::countNonZero(mask);
    cv::Mat joined;
    int largest = 0;
    for (int size : {side, 5, 9, 15, 25, 41, 61}) {
        if (size < side)
            continue;
        cv::morphologyEx(mask, joined, cv::MORPH_CLOSE,
                         cv::getStructuringElement(cv::MORPH_RECT, {size, size}));
        const int regions =
            cv::connectedComponentsWithStats(joined, labels, stats, centroids, 8, CV_32S);
        largest = 0;
        for (int i = 1; i < regions; ++i)
            if (stats.at<int>(i, cv::CC_STAT_AREA) > stats.at<int>(largest, cv::CC_STAT_AREA) ||
                largest == 0)
                largest = i;
        if (largest == 0)
            return std::nullopt;
        if (cv::countNonZero(mask & (labels == largest)) >= kMostShare * lit)
            break;
    }
    // The region's size gives the LEDs' mean distance. Averaged over a square of twice that,
    // the lit grid becomes an even level whose half is reached where the cells end, half an
    // LED distance beyond the outer centres, whether blur has merged the LEDs or not.
    const double pitch = std::sqrt(stats.at<int>(largest, cv::CC_STAT_AREA) / double(cells));
    const int square = std::max(3, int(std::lround(2 * pitch)) | 1);
    cv::Mat averaged;
    cv::boxFilter(difference, averaged, -1, {square, square}, {-1, -1}, true, cv::BORDER_CONSTANT);
    std::vector<std::uint8_t> levels;
    for (int y = 0; y < averaged.rows; y += 2)
        for (int x = 0; x < averaged.cols; x += 2)
            if (labels.at<int>(y, x) == largest)
                levels.push_back(averaged.at<std::uint8_t>(y, x));
    if (levels.empty())
        return std::nullopt;
    std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
    cv::threshold(averaged, mask, levels[levels.size() / 2] / 2.0, 255, cv::THRESH_BINARY);

    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(mask, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
    if (contours.empty())
        return std::nullopt;
    const auto& edge =
        *std::max_element(contours.begin(), contours.end(), [](const auto& a, const auto& b) {
            return cv::contourArea(a) < cv::contourArea(b);
        });
    const cv::Rect box = cv::boundingRect(edge);
    outline.touchesEdge = box.x <= 0 || box.y <= 0 || box.x + box.width >= difference.cols ||
                          box.y + box.height >= difference.rows;

    // Rough corners: the extremes along the diagonals (the module stands roughly upright).
    std::array<cv::Point2d, 4> rough;
    std::array<double, 4> best = {1e18, -1e18, -1e18, 1e18};
    for (const cv::Point& p : edge) {
        const double sum = p.x + p.y, gap = p.x - p.y;
        if (sum < best[0])
            best[0] = sum, rough[0] = p;
        if (gap > best[1])
            best[1] = gap, rough[1] = p;
        if (sum > best[2])
            best[2] = sum, rough[2] = p;
        if (gap < best[3])
            best[3] = gap, rough[3] = p;
    }
    // Each side: a line through the edge points nearest to it, away from the corners.
    std::array<std::vector<cv::Point2f>, 4> sides;
    for (const cv::Point& p : edge) {
        int nearest = -1;
        double least = 1e18;
        for (int s = 0; s < 4; ++s) {
            const double d = SegmentDistance(p, rough[s], rough[(s + 1) % 4]);
            if (d < least)
                least = d, nearest = s;
        }
        const cv::Point2d a = rough[nearest], b = rough[(nearest + 1) % 4];
        const double length = cv::norm(b - a), along = (cv::Point2d(p) - a).dot(b - a) / length;
        if (along > kCornerShare * length && along < (1 - kCornerShare) * length)
            sides[nearest].emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
    }
    std::array<cv::Vec4f, 4> lines;
    double squares = 0;
    std::size_t points = 0;
    for (int s = 0; s < 4; ++s) {
        if (sides[s].size() < 3)
            return std::nullopt;
        cv::fitLine(sides[s], lines[s], cv::DIST_HUBER, 0, 0.01, 0.01);
        for (const auto& p : sides[s]) {
            const double d = (p.x - lines[s][2]) * lines[s][1] - (p.y - lines[s][3]) * lines[s][0];
            squares += d * d;
        }
        points += sides[s].size();
    }
    outline.edgeResidual = std::sqrt(squares / static_cast<double>(points));
    for (int c = 0; c < 4; ++c)
        outline.corners[c] = Intersect(lines[(c + 3) % 4], lines[c]);
    return outline;
}

} // namespace md::vision
