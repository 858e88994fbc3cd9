#include "vision/ModuleFinder.h"

#include "vision/FramePreparation.h"
#include "vision/GridLattice.h"
#include "vision/LitOutline.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace md {

namespace {

constexpr double kLeastLevel = 20;         // the all-lit frame must be this much brighter
constexpr int kRefinements = 3;            // rounds of measuring centres and refitting
constexpr double kMostShift = 0.35;        // a centre this far from its cell is not its LED
constexpr double kLeastContrast = 0.5;     // a centre's peak over its surroundings, relative
constexpr double kInlierDistance = 0.3;    // cells
constexpr double kMostFitError = 0.25;     // cells: a worse fit is not this module's grid
constexpr double kLeastLitShare = 0.9;     // of the grid's cell centres
constexpr double kMostAspectError = 1.8;   // of the outline's sides against the module's
constexpr double kLeastInlierShare = 0.75; // of the cells measured: fewer is not this grid
// A grid of the wrong pitch drifts out of phase with the LEDs: most of its cells, and most in
// every row and column, must have their centre on an LED rather than between two.
constexpr double kLeastInPhaseShare = 0.95;
constexpr double kLeastLineShare = 0.75;

cv::Point2d Apply(const cv::Matx33d& h, cv::Point2d p)
{
    const cv::Vec3d v = h * cv::Vec3d(p.x, p.y, 1);
    return {v[0] / v[2], v[1] / v[2]};
}

/// The brightness-weighted centre of the LED of cell (x, y), weighing what stands above the
/// mean of one cell's area of the picture (exactly one period of the lit grid in both
/// directions, so that neighbours pull evenly); nothing when the cell shows no distinct light.
std::optional<cv::Point2d> LedCentre(const cv::Mat& difference, const cv::Matx33d& cameraToModule,
                                     int x, int y, double threshold)
{
    const cv::Matx33d moduleToCamera = cameraToModule.inv();
    cv::Point2d cell(x, y);
    cv::Point2d centre;
    std::vector<std::pair<cv::Point, double>> area;
    for (int round = 0; round < 2; ++round) {
        std::vector<cv::Point2f> corners;
        for (const auto& d : {cv::Point2d(-0.5, -0.5), cv::Point2d(0.5, -0.5),
                              cv::Point2d(0.5, 0.5), cv::Point2d(-0.5, 0.5)})
            corners.emplace_back(Apply(moduleToCamera, cell + d));
        const cv::Rect box =
            cv::boundingRect(corners) & cv::Rect(0, 0, difference.cols, difference.rows);
        area.clear();
        double sum = 0, low = 255, high = 0;
        for (int py = box.y; py < box.y + box.height; ++py) {
            const std::uint8_t* row = difference.ptr<std::uint8_t>(py);
            for (int px = box.x; px < box.x + box.width; ++px) {
                const cv::Point2d m = Apply(cameraToModule, {double(px), double(py)}) - cell;
                if (std::abs(m.x) > 0.5 || std::abs(m.y) > 0.5)
                    continue;
                area.emplace_back(cv::Point(px, py), row[px]);
                sum += row[px];
                low = std::min<double>(low, row[px]);
                high = std::max<double>(high, row[px]);
            }
        }
        if (area.size() < 4 || high < threshold || high - low < kLeastContrast * high)
            return std::nullopt;
        const double mean = sum / double(area.size());
        double weight = 0, sx = 0, sy = 0;
        for (const auto& [p, v] : area) {
            if (v <= mean)
                continue;
            weight += v - mean, sx += (v - mean) * p.x, sy += (v - mean) * p.y;
        }
        if (weight <= 0)
            return std::nullopt;
        centre = {sx / weight, sy / weight};
        cell = Apply(cameraToModule, centre);
    }
    return centre;
}

std::array<double, 9> ToArray(const cv::Matx33d& h)
{
    const cv::Matx33d n = h * (1.0 / h(2, 2));
    std::array<double, 9> out{};
    std::copy(n.val, n.val + 9, out.begin());
    return out;
}

struct Refinement
{
    cv::Matx33d cameraToModule;
    int inliers = 0;
    double rms = 0;
};

/// Measures every LED's centre near where the mapping puts it and refits the mapping on them;
/// nothing when too few LEDs stand out (blur has merged them).
std::optional<Refinement> Refine(const cv::Mat& difference, const cv::Matx33d& cameraToModule,
                                 int width, int height, double threshold)
{
    std::vector<cv::Point2d> camera, module;
    // Blur pulls an outer LED's centre inwards, towards its lit neighbours: where there are
    // enough, only LEDs with neighbours all round are measured.
    const int border = width >= 4 && height >= 4 ? 1 : 0;
    for (int y = border; y < height - border; ++y) {
        for (int x = border; x < width - border; ++x) {
            const auto centre = LedCentre(difference, cameraToModule, x, y, threshold);
            if (!centre)
                continue;
            const cv::Point2d shift = Apply(cameraToModule, *centre) - cv::Point2d(x, y);
            if (std::abs(shift.x) > kMostShift || std::abs(shift.y) > kMostShift)
                continue;
            camera.push_back(*centre);
            module.emplace_back(x, y);
        }
    }
    const auto needed =
        std::max<std::size_t>(8, static_cast<std::size_t>(kLeastInlierShare * (width - 2 * border) *
                                                          (height - 2 * border)));
    if (camera.size() < needed)
        return std::nullopt;
    std::vector<unsigned char> inlier;
    const cv::Mat fitted = cv::findHomography(camera, module, cv::RANSAC, kInlierDistance, inlier);
    if (fitted.empty())
        return std::nullopt;
    Refinement refinement{cv::Matx33d(fitted)};
    double squares = 0;
    for (std::size_t i = 0; i < camera.size(); ++i) {
        if (!inlier[i])
            continue;
        const cv::Point2d error = Apply(refinement.cameraToModule, camera[i]) - module[i];
        squares += error.dot(error);
        ++refinement.inliers;
    }
    if (refinement.inliers < static_cast<int>(needed))
        return std::nullopt;
    refinement.rms = std::sqrt(squares / refinement.inliers);
    return refinement;
}

FinderResult Failed(FinderFailure failure, int width, int height)
{
    FinderResult result;
    result.failure = failure;
    result.width = width;
    result.height = height;
    return result;
}

} // namespace

std::string FinderResult::Message() const
{
    switch (failure) {
    case FinderFailure::None:
        return {};
    case FinderFailure::BadFrames:
        return "the frames are empty or of different sizes, or the module size is wrong";
    case FinderFailure::NothingLit:
        return "nothing is lit: the all-lit frame is no brighter than the dark one";
    case FinderFailure::NotWhollyInPicture:
        return "the module is not wholly in the picture: its lit area reaches the picture's edge";
    case FinderFailure::NoGrid:
        return "the lit module does not look like " + std::to_string(width) + " \u00d7 " +
               std::to_string(height) +
               " pixels: its LEDs do not sit on a grid of that size, or they blur together "
               "(bring the camera closer or focus it)";
    }
    return {};
}

FinderResult ModuleFinder::Find(const CameraFrame& allLit, const CameraFrame& dark, int width,
                                int height, GridOrientation orientation)
{
    if (!vision::Consistent(allLit) || !vision::Consistent(dark) || allLit.width != dark.width ||
        allLit.height != dark.height || width < 2 || height < 2 || !orientation.Valid())
        return Failed(FinderFailure::BadFrames, width, height);
    const cv::Rect whole(0, 0, allLit.width, allLit.height);
    cv::Mat difference;
    cv::subtract(vision::Brightness(allLit, whole), vision::WidenedDark(dark, whole), difference);
    double peak = 0;
    cv::minMaxLoc(difference, nullptr, &peak);
    if (peak < kLeastLevel)
        return Failed(FinderFailure::NothingLit, width, height);
    const auto outline = vision::LitOutline::Find(difference, width * height);
    if (!outline)
        return Failed(FinderFailure::NoGrid, width, height);
    if (outline->touchesEdge)
        return Failed(FinderFailure::NotWhollyInPicture, width, height);

    // The outline's corners are the module's corners, turned and mirrored as set.
    constexpr double e = 0.5;
    const std::array<cv::Point2f, 4> corners = {
        cv::Point2f(float(-e), float(-e)), cv::Point2f(float(width - 1 + e), float(-e)),
        cv::Point2f(float(width - 1 + e), float(height - 1 + e)),
        cv::Point2f(float(-e), float(height - 1 + e))};
    const int shift = orientation.turn / 90;
    std::array<cv::Point2f, 4> camera, module;
    for (int i = 0; i < 4; ++i) {
        camera[i] = outline->corners[(i + shift) % 4];
        module[i] = corners[orientation.mirror ? (i ^ 1) : i];
    }
    const auto side = [&](int a, int b) {
        return cv::norm(outline->corners[a] - outline->corners[b]);
    };
    const double across = (side(0, 1) + side(3, 2)) / (side(0, 3) + side(1, 2));
    const double expected = shift % 2 == 0 ? double(width) / height : double(height) / width;
    if (across / expected > kMostAspectError || expected / across > kMostAspectError)
        return Failed(FinderFailure::NoGrid, width, height);

    cv::Matx33d cameraToModule(cv::getPerspectiveTransform(camera.data(), module.data()));
    FinderResult result;
    result.width = width;
    result.height = height;
    ModuleGrid& grid = result.grid;
    grid.width = width;
    grid.height = height;
    grid.fitError = outline->edgeResidual; // in pixels until the pitch is known
    for (int round = 0; round < kRefinements; ++round) {
        const auto refined = Refine(difference, cameraToModule, width, height, outline->threshold);
        if (!refined)
            break;
        cameraToModule = refined->cameraToModule;
        grid.fitError = refined->rms;
        grid.ledsMeasured = refined->inliers;
    }
    const cv::Matx33d moduleToCamera = cameraToModule.inv();
    grid.cameraToModule = ToArray(cameraToModule);
    grid.moduleToCamera = ToArray(moduleToCamera);
    std::vector<cv::Point2f> quad;
    for (int i = 0; i < 4; ++i) {
        const cv::Point2d c =
            Apply(moduleToCamera,
                  cv::Point2d(i == 1 || i == 2 ? width - 0.5 : -0.5, i >= 2 ? height - 0.5 : -0.5));
        grid.outline[i] = {c.x, c.y};
        quad.emplace_back(c);
    }
    grid.pitch = std::sqrt(std::abs(cv::contourArea(quad)) / (double(width) * height));
    if (grid.ledsMeasured == 0)
        grid.fitError /= grid.pitch;

    // Every cell centre must be lit; their typical level is what a lit LED shows.
    std::vector<int> levels;
    levels.reserve(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const cv::Point2d c = Apply(moduleToCamera, {double(x), double(y)});
            const cv::Point at(int(std::lround(c.x)), int(std::lround(c.y)));
            levels.push_back(whole.contains(at) ? difference.at<std::uint8_t>(at) : 0);
        }
    }
    const auto lit = std::count_if(levels.begin(), levels.end(),
                                   [&](int level) { return level >= outline->threshold / 2; });
    std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
    grid.ledLevel = levels[levels.size() / 2];
    // The LED lattice under the grid must agree with it.
    const auto lattice =
        vision::MeasureLattice(difference, moduleToCamera, width, height, outline->threshold);
    if (grid.fitError > kMostFitError || lit < kLeastLitShare * levels.size() ||
        lattice.inPhaseShare < kLeastInPhaseShare || lattice.worstLineShare < kLeastLineShare)
        return Failed(FinderFailure::NoGrid, width, height);
    return result;
}

} // namespace md
