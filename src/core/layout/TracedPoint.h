#pragma once

#include <cstdint>

namespace md {

/// One output point of one colour channel as tracing recorded it. A virtual point (an output
/// position that drives no LED) has kind 4, x = y = 0 and no pixel.
struct TracedPoint
{
    static constexpr std::uint16_t kVirtual = 4;
    static constexpr std::int32_t kNoPixel = -1;

    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t kind = 0; ///< channel colour 0, 1, 2, or kVirtual
    std::uint32_t colourCode = 0;
    std::uint16_t spare1 = 0; ///< kept for the driver-file writer; series regrouping puts kind here
    std::uint16_t spare2 = 0;
    std::uint16_t cellVariant = 0;
    std::int32_t pixel = kNoPixel; ///< index of the pixel in the layout's point list
    std::uint16_t channelIndex = 0;
    std::uint16_t rowTag = 0;
    std::uint16_t ordinal = 0;

    bool IsVirtual() const { return kind == kVirtual; }
    static TracedPoint Virtual()
    {
        TracedPoint point;
        point.kind = kVirtual;
        return point;
    }
    bool operator==(const TracedPoint&) const = default;
};

} // namespace md
