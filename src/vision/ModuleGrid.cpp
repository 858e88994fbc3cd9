#include "vision/ModuleGrid.h"

namespace md {

namespace {

GridPoint Apply(const std::array<double, 9>& h, GridPoint p)
{
    const double w = h[6] * p.x + h[7] * p.y + h[8];
    return {(h[0] * p.x + h[1] * p.y + h[2]) / w, (h[3] * p.x + h[4] * p.y + h[5]) / w};
}

} // namespace

GridPoint ModuleGrid::ToModule(GridPoint camera) const
{
    return Apply(cameraToModule, camera);
}

GridPoint ModuleGrid::ToCamera(GridPoint module) const
{
    return Apply(moduleToCamera, module);
}

} // namespace md
