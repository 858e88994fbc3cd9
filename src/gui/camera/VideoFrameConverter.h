#pragma once

#include "core/platform/FrameSource.h"

#include <QString>

class QVideoFrame;

namespace md {

/// Turns a camera's video frame into packed RGB by reading its planes: the RGB and BGR byte
/// orders with or without alpha, packed 4:2:2 (YUYV, UYVY), semi-planar 4:2:0 (NV12, NV21, P010,
/// P016), planar 4:2:0 and 4:2:2 (YUV420P, YV12, YUV422P), grey (Y8, Y16) and JPEG. YUV is read
/// with the frame's colour space (BT.601 unless it says BT.709) and range (video unless full).
class VideoFrameConverter
{
public:
    /// Fills frame's size and pixels (its capture time is left alone); false with the reason
    /// when the frame cannot be read or its format is not one of the above.
    static bool Convert(const QVideoFrame& video, CameraFrame& frame, QString* why = nullptr);
};

} // namespace md
