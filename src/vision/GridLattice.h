#pragma once

#include <opencv2/core.hpp>

namespace md::vision {

/// How well the LEDs of a lit module sit on a fitted grid. A grid of the wrong size fits the
/// lit area's outline, and even many LEDs near its middle, but its pitch differs from the
/// LEDs': it drifts out of phase with them, so that many of its cell centres fall between LEDs,
/// or a whole row or column of it lies beyond the lit LEDs.
struct LatticeAgreement
{
    double inPhaseShare = 0;   ///< of all cells, those whose centre is brighter than its sides
    double worstLineShare = 0; ///< the lowest such share of any one row or column
};

/// Samples the lit-over-dark brightness at every cell centre of the grid and at the midpoints
/// between it and its four neighbours; a cell is in phase when its centre is lit (at least
/// half of threshold) and clearly brighter than the mean of those midpoints.
LatticeAgreement MeasureLattice(const cv::Mat& difference, const cv::Matx33d& moduleToCamera,
                                int width, int height, double threshold);

} // namespace md::vision
