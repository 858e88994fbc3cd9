#include "vision/FramePreparation.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <vector>

namespace md::vision {

namespace {

constexpr double kSmoothing = 1.0; // Gaussian sigma in camera pixels
constexpr int kDarkWidening = 5;   // neighbourhood side: a shake of up to 2 pixels
constexpr int kNoiseLag = 4;       // columns apart: beyond the smoothing's reach

} // namespace

bool Consistent(const CameraFrame& frame)
{
    return !frame.Empty() && frame.rgb.size() == static_cast<std::size_t>(frame.width) *
                                                     static_cast<std::size_t>(frame.height) * 3;
}

cv::Mat Brightness(const CameraFrame& frame, const cv::Rect& area)
{
    cv::Mat out(area.height, area.width, CV_8UC1);
    for (int y = 0; y < area.height; ++y) {
        const std::uint8_t* in = frame.Pixel(area.x, area.y + y);
        std::uint8_t* row = out.ptr<std::uint8_t>(y);
        for (int x = 0; x < area.width; ++x, in += 3)
            row[x] = std::max({in[0], in[1], in[2]});
    }
    cv::GaussianBlur(out, out, cv::Size(5, 5), kSmoothing, kSmoothing, cv::BORDER_REPLICATE);
    return out;
}

cv::Mat WidenedDark(const CameraFrame& dark, const cv::Rect& area)
{
    cv::Mat widened;
    cv::dilate(Brightness(dark, area), widened,
               cv::getStructuringElement(cv::MORPH_RECT, {kDarkWidening, kDarkWidening}));
    return widened;
}

double SmoothedNoise(const cv::Mat& brightness)
{
    std::vector<int> differences;
    const int step = std::max(1, brightness.rows / 200);
    for (int y = 0; y < brightness.rows; y += step) {
        const std::uint8_t* row = brightness.ptr<std::uint8_t>(y);
        for (int x = 0; x + kNoiseLag < brightness.cols; x += 2)
            differences.push_back(std::abs(int(row[x]) - int(row[x + kNoiseLag])));
    }
    if (differences.empty())
        return 0;
    auto middle = differences.begin() + static_cast<std::ptrdiff_t>(differences.size() / 2);
    std::nth_element(differences.begin(), middle, differences.end());
    // The difference of two independent samples has sigma * sqrt(2); the median of its size
    // is 0.6745 of that.
    return *middle / 0.954;
}

} // namespace md::vision
