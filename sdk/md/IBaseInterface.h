#pragma once

#include <cstdint>

namespace md {

// Interfaces of the binary contract have only pure virtual functions declared in slot order and
// no virtual destructor, so a function's vtable slot is its declaration position.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// Slots 0 and 1 of every interface.
class IBaseInterface
{
public:
    virtual std::uint32_t AddRef() = 0;  // 0
    virtual std::uint32_t Release() = 0; // 1
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
