#pragma once

#include "core/platform/FrameSource.h"

#include <optional>
#include <string>

namespace md::mdrtool {

/// A camera picture read from a PNG file (the core's decoder) or a JPEG file (QtGui), known by
/// the mark at its start; nothing with "PATH: why" when it cannot be read or is neither.
std::optional<CameraFrame> ReadPicture(const std::string& path, std::string& error);

} // namespace md::mdrtool
