#include "vision/GridLattice.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace md::vision {

namespace {

constexpr double kLeastPhaseRatio = 1.3; // a centre's level over the mean of its sides

/// The mean brightness of the 3 x 3 pixels around a module position; 0 outside the picture.
double Sample(const cv::Mat& difference, const cv::Matx33d& moduleToCamera, double x, double y)
{
    const cv::Vec3d v = moduleToCamera * cv::Vec3d(x, y, 1);
    const int cx = cvRound(v[0] / v[2]), cy = cvRound(v[1] / v[2]);
    double sum = 0;
    int count = 0;
    for (int py = std::max(cy - 1, 0); py <= std::min(cy + 1, difference.rows - 1); ++py) {
        const std::uint8_t* row = difference.ptr<std::uint8_t>(py);
        for (int px = std::max(cx - 1, 0); px <= std::min(cx + 1, difference.cols - 1); ++px)
            sum += row[px], ++count;
    }
    return count > 0 ? sum / count : 0;
}

} // namespace

LatticeAgreement MeasureLattice(const cv::Mat& difference, const cv::Matx33d& moduleToCamera,
                                int width, int height, double threshold)
{
    std::vector<int> rows(static_cast<std::size_t>(height)),
        columns(static_cast<std::size_t>(width));
    int inPhase = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double centre = Sample(difference, moduleToCamera, x, y);
            const double sides = (Sample(difference, moduleToCamera, x - 0.5, y) +
                                  Sample(difference, moduleToCamera, x + 0.5, y) +
                                  Sample(difference, moduleToCamera, x, y - 0.5) +
                                  Sample(difference, moduleToCamera, x, y + 0.5)) /
                                 4;
            if (centre < threshold / 2 || centre < kLeastPhaseRatio * sides)
                continue;
            ++inPhase, ++rows[std::size_t(y)], ++columns[std::size_t(x)];
        }
    }
    LatticeAgreement agreement;
    agreement.inPhaseShare = double(inPhase) / (double(width) * height);
    agreement.worstLineShare =
        std::min(double(*std::min_element(rows.begin(), rows.end())) / width,
                 double(*std::min_element(columns.begin(), columns.end())) / height);
    return agreement;
}

} // namespace md::vision
