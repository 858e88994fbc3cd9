#pragma once

#include "core/platform/FrameSource.h"
#include "vision/ModuleGrid.h"

#include <string>

namespace md {

/// Why the module was not found.
enum class FinderFailure
{
    None,
    BadFrames,          ///< frames empty or of different sizes, or a bad module size
    NothingLit,         ///< the all-lit frame is no brighter than the dark one
    NotWhollyInPicture, ///< the lit area touches the picture's edge
    NoGrid              ///< the lit area does not fit a grid of the module's size
};

struct FinderResult
{
    FinderFailure failure = FinderFailure::None;
    ModuleGrid grid; ///< valid when Found()
    int width = 0;   ///< the module size the finder was told
    int height = 0;

    bool Found() const { return failure == FinderFailure::None; }
    /// A sentence saying why the module was not found (empty when it was).
    std::string Message() const;
};

/// Finds the module's pixel grid from a frame with every LED lit and a frame with none lit:
/// the lit area's outline gives a first mapping, which is refined on every lit LED's centre.
class ModuleFinder
{
public:
    static FinderResult Find(const CameraFrame& allLit, const CameraFrame& dark, int width,
                             int height, GridOrientation orientation = {});
};

} // namespace md
