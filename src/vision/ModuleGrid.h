#pragma once

#include <array>

namespace md {

/// A position in camera pixels or in module coordinates (module pixel (x, y) has its centre at
/// (x, y); the module's edges lie half a pixel outside its outer centres).
struct GridPoint
{
    double x = 0;
    double y = 0;
};

/// How the module appears in the camera's picture: turned clockwise by 0, 90, 180 or 270
/// degrees, after being mirrored left to right when mirror is set. The camera is assumed
/// roughly upright; the user sets these when the drawn grid shows the module the wrong way
/// round.
struct GridOrientation
{
    int turn = 0;
    bool mirror = false;

    bool Valid() const { return turn == 0 || turn == 90 || turn == 180 || turn == 270; }
};

/// The module's pixel grid as the camera sees it: a plane-to-plane mapping between camera
/// pixels and module coordinates, the module's outline in the picture and how well the lit
/// LEDs fit the grid.
struct ModuleGrid
{
    int width = 0;                          ///< module pixels across
    int height = 0;                         ///< module pixels down
    std::array<double, 9> cameraToModule{}; ///< homography, row-major
    std::array<double, 9> moduleToCamera{}; ///< its inverse
    /// Camera positions of the module's corners (-0.5, -0.5), (width - 0.5, -0.5),
    /// (width - 0.5, height - 0.5), (-0.5, height - 0.5).
    std::array<GridPoint, 4> outline{};
    double pitch = 0;     ///< mean distance of neighbouring pixel centres, in camera pixels
    double fitError = 0;  ///< root mean square distance of measured LED centres to their cells
    int ledsMeasured = 0; ///< LEDs whose centres refined the mapping (0: outline only)
    double ledLevel = 0;  ///< brightness of a lit LED above the dark frame (0..255)

    GridPoint ToModule(GridPoint camera) const;
    GridPoint ToCamera(GridPoint module) const;
};

} // namespace md
