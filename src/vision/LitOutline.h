#pragma once

#include <opencv2/core.hpp>

#include <array>
#include <optional>

namespace md::vision {

/// The lit area of a difference picture (all lit minus dark) as one region: the LEDs are
/// thresholded, joined across the gaps between them and the largest region is taken.
struct LitOutline
{
    /// Corners as seen in the picture: top left, top right, bottom right, bottom left, where
    /// each side is a straight line fitted to the region's edge.
    std::array<cv::Point2d, 4> corners;
    bool touchesEdge = false; ///< the region reaches the picture's border
    double threshold = 0;     ///< the level that separated lit from unlit
    double edgeResidual = 0;  ///< root mean square distance of the edge to its sides, pixels

    /// The outline of a grid of cells LEDs; the sides run along the outer cells' edges, half an
    /// LED distance beyond the outer LEDs' centres. Nothing when nothing is bright enough, or
    /// no region has four sides.
    static std::optional<LitOutline> Find(const cv::Mat& difference, int cells);
};

} // namespace md::vision
