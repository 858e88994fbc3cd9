#pragma once

#include <cstdint>

namespace md {

/// A native window id (a QWidget's WId) crossing the host boundary.
using WindowHandle = std::uintptr_t;

} // namespace md
