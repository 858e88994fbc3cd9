#pragma once

#include "core/platform/FrameSource.h"

#include <opencv2/core.hpp>

namespace md::vision {

/// How the finder and the locator see a frame: the brightest of the three colours of each
/// pixel (a red, green or blue LED counts as fully as a white one), smoothed a little so that
/// sensor noise does not split or speckle a light.
cv::Mat Brightness(const CameraFrame& frame, const cv::Rect& area);

/// The dark frame's smoothed brightness widened to the largest value in each pixel's
/// neighbourhood: a frame taken after a small shake of the camera stays below it wherever
/// nothing new is lit.
cv::Mat WidenedDark(const CameraFrame& dark, const cv::Rect& area);

/// The standard deviation of the noise left in a smoothed brightness picture, estimated
/// robustly from differences of pixels a few columns apart.
double SmoothedNoise(const cv::Mat& brightness);

/// True when the frame holds width * height * 3 bytes.
bool Consistent(const CameraFrame& frame);

} // namespace md::vision
