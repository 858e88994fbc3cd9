#pragma once

#include "md/IBaseInterface.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// Receives notifications routed by the host's notification service.
class INotifySink : public IBaseInterface
{
public:
    virtual std::int32_t OnNotify(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) = 0; // 2
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
