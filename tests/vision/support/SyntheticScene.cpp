#include "vision/support/SyntheticScene.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <random>

namespace md::test {

namespace {

constexpr int kNoiseMargin = 32;
const cv::Vec3f kLedColour(235, 228, 215);
const cv::Vec3f kGlare(255, 255, 255);

cv::Point2d Apply(const cv::Matx33d& h, cv::Point2d p)
{
    const cv::Vec3d v = h * cv::Vec3d(p.x, p.y, 1);
    return {v[0] / v[2], v[1] / v[2]};
}

/// Where module pixel (u, v) sits on the displayed grid: mirrored, then turned clockwise.
cv::Matx33d Orientation(int width, int height, int turn, bool mirror)
{
    const cv::Matx33d flip =
        mirror ? cv::Matx33d(-1, 0, width - 1, 0, 1, 0, 0, 0, 1) : cv::Matx33d::eye();
    cv::Matx33d rotate = cv::Matx33d::eye();
    if (turn == 90)
        rotate = {0, -1, double(height - 1), 1, 0, 0, 0, 0, 1};
    else if (turn == 180)
        rotate = {-1, 0, double(width - 1), 0, -1, double(height - 1), 0, 0, 1};
    else if (turn == 270)
        rotate = {0, 1, 0, -1, 0, double(width - 1), 0, 0, 1};
    return rotate * flip;
}

/// Adds a filled ellipse (supersampled edge), blurred, to image.
void AddLight(cv::Mat& image, cv::Point2d centre, double rx, double ry, cv::Vec3f colour,
              double blur)
{
    const int half = int(std::ceil(std::max(rx, ry) + 3.5 * blur + 2));
    const cv::Point origin(int(std::floor(centre.x)) - half, int(std::floor(centre.y)) - half);
    cv::Mat patch = cv::Mat::zeros(2 * half + 1, 2 * half + 1, CV_32FC1);
    for (int y = 0; y < patch.rows; ++y)
        for (int x = 0; x < patch.cols; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const double dx = (origin.x + x + (sx + 0.5) / 4 - 0.5 - centre.x) / rx;
                    const double dy = (origin.y + y + (sy + 0.5) / 4 - 0.5 - centre.y) / ry;
                    inside += dx * dx + dy * dy <= 1;
                }
            patch.at<float>(y, x) = inside / 16.0f;
        }
    if (blur > 0.05)
        cv::GaussianBlur(patch, patch, cv::Size(), blur, blur, cv::BORDER_CONSTANT);
    const cv::Rect target = cv::Rect(origin, patch.size()) & cv::Rect({0, 0}, image.size());
    for (int y = target.y; y < target.y + target.height; ++y) {
        cv::Vec3f* row = image.ptr<cv::Vec3f>(y);
        const float* weights = patch.ptr<float>(y - origin.y);
        for (int x = target.x; x < target.x + target.width; ++x)
            row[x] += colour * weights[x - origin.x];
    }
}

} // namespace

struct SyntheticScene::Impl
{
    SceneSettings settings;
    std::mt19937 random;
    cv::Matx33d moduleToCamera;
    cv::Mat background; ///< blurred, without lit LEDs, status LED or reflection
    cv::Mat noise;      ///< a pool each frame takes a window of
    std::vector<float> gains;
    double pitch = 0;

    double LocalPitch(cv::Point2d m) const
    {
        return 0.5 * (cv::norm(Apply(moduleToCamera, {m.x + 0.5, m.y}) -
                               Apply(moduleToCamera, {m.x - 0.5, m.y})) +
                      cv::norm(Apply(moduleToCamera, {m.x, m.y + 0.5}) -
                               Apply(moduleToCamera, {m.x, m.y - 0.5})));
    }

    void AddLed(cv::Mat& image, int x, int y, double blur) const
    {
        const double radius = settings.ledSize * LocalPitch({double(x), double(y)});
        AddLight(image, Apply(moduleToCamera, {double(x), double(y)}), radius, radius,
                 kLedColour * gains[std::size_t(y * settings.moduleWidth + x)], blur);
    }

    /// A glint on the shiny frame beyond the module's last row, brighter than the LED.
    void AddReflection(cv::Mat& image, int x, int y) const
    {
        if (settings.distractors < 3)
            return;
        const double beyond = settings.moduleHeight - 1 + 3.5 +
                              0.5 * double(settings.moduleHeight - 1 - y) / settings.moduleHeight;
        const double radius = 0.45 * LocalPitch({double(x), double(y)});
        AddLight(image, Apply(moduleToCamera, {double(x), beyond}), radius, radius * 0.6, kGlare,
                 settings.blur);
    }

    CameraFrame Finish(const cv::Mat& scene)
    {
        std::normal_distribution<double> shake(0, std::max(settings.shake, 1e-9));
        const cv::Matx23d move(1, 0, shake(random), 0, 1, shake(random));
        cv::Mat moved;
        cv::warpAffine(scene, moved, move, scene.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
        std::uniform_int_distribution<int> offset(0, kNoiseMargin - 1);
        moved += noise(cv::Rect(offset(random), offset(random), scene.cols, scene.rows));
        cv::Mat bytes;
        moved.convertTo(bytes, CV_8UC3);
        CameraFrame frame;
        frame.width = scene.cols;
        frame.height = scene.rows;
        frame.rgb.assign(bytes.data, bytes.data + bytes.total() * 3);
        frame.captured = std::chrono::steady_clock::now();
        return frame;
    }

    cv::Mat WithStatusLed()
    {
        cv::Mat scene = background.clone();
        if (settings.distractors >= 2 && std::bernoulli_distribution(0.5)(random)) {
            const cv::Point2d at = Apply(moduleToCamera, {settings.moduleWidth + 2.5, -1.5});
            AddLight(scene, at, 4, 4, cv::Vec3f(60, 255, 80), settings.blur);
        }
        return scene;
    }
};

SyntheticScene::SyntheticScene(const SceneSettings& settings) : m_impl(std::make_unique<Impl>())
{
    Impl& d = *m_impl;
    d.settings = settings;
    d.random.seed(settings.seed);
    const int w = settings.moduleWidth, h = settings.moduleHeight;
    const bool across = settings.turn % 180 != 0;
    const double shownWidth = across ? h : w, shownHeight = across ? w : h;
    const double scale = std::min(settings.coverage * settings.frameWidth / shownWidth,
                                  settings.coverage * settings.frameHeight / shownHeight);
    const cv::Point2d centre(settings.frameWidth / 2.0 + settings.shiftX,
                             settings.frameHeight / 2.0 + settings.shiftY);
    const double hw = scale * shownWidth / 2, hh = scale * shownHeight / 2;
    // The far edge shrinks towards its middle.
    std::array<cv::Point2d, 4> quad = {cv::Point2d(-hw, -hh), cv::Point2d(hw, -hh),
                                       cv::Point2d(hw, hh), cv::Point2d(-hw, hh)};
    const int far = settings.farSide % 4;
    for (int corner : {far, (far + 1) % 4}) {
        const cv::Point2d middle = (quad[far] + quad[(far + 1) % 4]) * 0.5;
        quad[corner] = middle + (quad[corner] - middle) * (1 - settings.perspective);
    }
    const double angle = settings.tilt * CV_PI / 180;
    std::array<cv::Point2f, 4> from, to;
    for (int i = 0; i < 4; ++i) {
        const cv::Point2d q = quad[i];
        to[i] = cv::Point2f(centre + cv::Point2d(q.x * std::cos(angle) - q.y * std::sin(angle),
                                                 q.x * std::sin(angle) + q.y * std::cos(angle)));
        from[i] = cv::Point2f(i == 1 || i == 2 ? float(shownWidth - 0.5) : -0.5f,
                              i >= 2 ? float(shownHeight - 0.5) : -0.5f);
    }
    d.moduleToCamera = cv::Matx33d(cv::getPerspectiveTransform(from.data(), to.data())) *
                       Orientation(w, h, settings.turn, settings.mirror);
    std::vector<cv::Point2f> outline;
    for (const auto& p : to)
        outline.push_back(p);
    d.pitch = std::sqrt(cv::contourArea(outline) / (double(w) * h));

    // Background: a gradient, the module's dark board with a margin, a lamp at the left edge.
    d.background.create(settings.frameHeight, settings.frameWidth, CV_32FC3);
    for (int y = 0; y < settings.frameHeight; ++y) {
        auto* row = d.background.ptr<cv::Vec3f>(y);
        for (int x = 0; x < settings.frameWidth; ++x)
            row[x] = cv::Vec3f(70.0f + 60.0f * x / settings.frameWidth,
                               60.0f + 40.0f * y / settings.frameHeight, 55.0f);
    }
    std::vector<cv::Point> board;
    for (int i = 0; i < 4; ++i) {
        const cv::Point2d c =
            Apply(d.moduleToCamera, {i == 1 || i == 2 ? w + 0.5 : -1.5, i >= 2 ? h + 0.5 : -1.5});
        board.emplace_back(int(std::lround(c.x)), int(std::lround(c.y)));
    }
    cv::fillConvexPoly(d.background, board, cv::Scalar(24, 24, 26));
    if (settings.distractors >= 1) {
        const cv::Point2d lamp(0, settings.frameHeight * 0.3);
        cv::Mat halo(d.background.size(), CV_32FC3);
        for (int y = 0; y < halo.rows; ++y)
            for (int x = 0; x < halo.cols; ++x) {
                const double r2 = (x - lamp.x) * (x - lamp.x) + (y - lamp.y) * (y - lamp.y);
                halo.at<cv::Vec3f>(y, x) =
                    cv::Vec3f(1, 0.95f, 0.8f) * float(140 * std::exp(-r2 / (2 * 90.0 * 90.0)));
            }
        d.background += halo;
        cv::circle(d.background, lamp, 45, cv::Scalar(400, 400, 380), cv::FILLED);
    }
    if (settings.blur > 0.05)
        cv::GaussianBlur(d.background, d.background, cv::Size(), settings.blur, settings.blur,
                         cv::BORDER_REPLICATE);

    std::uniform_real_distribution<float> gain(0.85f, 1.0f);
    d.gains.resize(std::size_t(w * h));
    for (float& g : d.gains)
        g = gain(d.random);
    d.noise.create(settings.frameHeight + kNoiseMargin, settings.frameWidth + kNoiseMargin,
                   CV_32FC3);
    cv::theRNG().state = settings.seed * 7919ULL + 1;
    cv::randn(d.noise, cv::Scalar::all(0), cv::Scalar::all(settings.noise));
}

SyntheticScene::~SyntheticScene() = default;

CameraFrame SyntheticScene::Dark()
{
    return m_impl->Finish(m_impl->WithStatusLed());
}

CameraFrame SyntheticScene::AllLit()
{
    Impl& d = *m_impl;
    cv::Mat scene = d.WithStatusLed();
    cv::Mat leds = cv::Mat::zeros(scene.size(), CV_32FC3);
    for (int y = 0; y < d.settings.moduleHeight; ++y)
        for (int x = 0; x < d.settings.moduleWidth; ++x) {
            d.AddLed(leds, x, y, 0);
            if (y == d.settings.moduleHeight - 1)
                d.AddReflection(scene, x, y);
        }
    if (d.settings.blur > 0.05)
        cv::GaussianBlur(leds, leds, cv::Size(), d.settings.blur, d.settings.blur);
    return d.Finish(scene + leds);
}

CameraFrame SyntheticScene::Lit(const std::vector<ScenePixel>& pixels)
{
    Impl& d = *m_impl;
    cv::Mat scene = d.WithStatusLed();
    for (const ScenePixel& p : pixels) {
        d.AddLed(scene, p.x, p.y, d.settings.blur);
        d.AddReflection(scene, p.x, p.y);
    }
    return d.Finish(scene);
}

GridPoint SyntheticScene::ToCamera(GridPoint module) const
{
    const cv::Point2d c = Apply(m_impl->moduleToCamera, {module.x, module.y});
    return {c.x, c.y};
}

double SyntheticScene::Pitch() const
{
    return m_impl->pitch;
}

const SceneSettings& SyntheticScene::Settings() const
{
    return m_impl->settings;
}

} // namespace md::test
