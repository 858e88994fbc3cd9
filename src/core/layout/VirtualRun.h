#pragma once

#include <cstdint>

namespace md {

/// A run of consecutive virtual points within a scan row.
struct VirtualRun
{
    std::uint16_t start = 0;
    std::uint16_t count = 0;

    bool operator==(const VirtualRun&) const = default;
};

} // namespace md
