#pragma once

#include "core/layout/TracedPoint.h"

#include <cstdint>
#include <vector>

namespace md {

/// The points of one scan row in output order, with the tag its points copy as rowTag.
struct ScanRow
{
    std::uint16_t tag = 0;
    std::vector<TracedPoint> points;

    bool operator==(const ScanRow&) const = default;
};

} // namespace md
