#pragma once

#include "md/IBaseInterface.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// Routes a notification to the component registered under a target id.
class INotifyService : public IBaseInterface
{
public:
    virtual std::int32_t Reserved2() = 0; // 2
    virtual std::int32_t Send(const char* target, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) = 0; // 3
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
