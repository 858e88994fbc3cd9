#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace md {

/// One camera picture handed across the host boundary. The caller owns the pixel buffer: it sets
/// rgb and capacity, the camera fills the rest and copies width * height * 3 bytes of packed RGB
/// (rows without padding) into the buffer when it is large enough.
struct CameraFrameRecord
{
    std::int32_t width;      ///< pixels
    std::int32_t height;     ///< pixels
    std::int64_t capturedNs; ///< capture time on the steady clock, nanoseconds since its epoch
    std::uint8_t* rgb;       ///< the caller's buffer
    std::uint32_t capacity;  ///< its size in bytes
    std::uint32_t sequence;  ///< counts the frames the camera has taken; a new number, a new frame
};

static_assert(std::is_standard_layout_v<CameraFrameRecord>);
static_assert(offsetof(CameraFrameRecord, width) == 0);
static_assert(offsetof(CameraFrameRecord, height) == 4);
static_assert(offsetof(CameraFrameRecord, capturedNs) == 8);
static_assert(offsetof(CameraFrameRecord, rgb) == 16);
static_assert(offsetof(CameraFrameRecord, capacity) == 24);
static_assert(offsetof(CameraFrameRecord, sequence) == 28);
static_assert(sizeof(CameraFrameRecord) == 32);

} // namespace md
