#pragma once

#include "core/platform/FrameSource.h"
#include "vision/ModuleGrid.h"

#include <memory>
#include <vector>

namespace md {

enum class LocateStatus
{
    Located, ///< one or more lit pixels, each sure
    NoneLit, ///< nothing inside the module is lit
    Review   ///< something is lit but no sure answer: a person decides
};

/// Why a frame needs review.
enum class ReviewReason
{
    None,
    TwoInOneCell,  ///< two separate lights in one module pixel
    OffCellCentre, ///< a light's centre too far from every pixel centre
    LowContrast,   ///< a light too faint to tell from the background
    TooLarge       ///< a light larger than one module pixel (neighbours lit together)
};

struct LocatedPixel
{
    int x = 0; ///< module pixel
    int y = 0;
    GridPoint camera;        ///< brightness-weighted centre in the picture
    double cellDistance = 0; ///< distance of that centre to the pixel's centre, in pixels
    double confidence = 0;   ///< 0..1
};

struct LocateResult
{
    LocateStatus status = LocateStatus::NoneLit;
    ReviewReason reason = ReviewReason::None;
    std::vector<LocatedPixel> pixels; ///< sorted by y then x; empty unless located
    double confidence = 0; ///< the least sure pixel's confidence, or how clearly nothing is lit
};

/// Finds the lit module pixels in a frame: subtracts the dark frame (widened to its local
/// maxima, so a small shake of the camera leaves no false lights), looks only inside the
/// module's outline and snaps brightness-weighted centres to the grid. It never guesses: an
/// unclear frame is answered with Review.
class LedLocator
{
public:
    LedLocator(const ModuleGrid& grid, const CameraFrame& dark);
    ~LedLocator();
    LedLocator(LedLocator&&) noexcept;
    LedLocator& operator=(LedLocator&&) noexcept;

    LocateResult Locate(const CameraFrame& frame) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace md
