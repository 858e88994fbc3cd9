#pragma once

#include "md/IBaseInterface.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// Process-wide data of the host; slot 7 is the flags word.
class IGlobalDataInterface : public IBaseInterface
{
public:
    virtual std::int32_t Reserved2() = 0; // 2
    virtual std::int32_t Reserved3() = 0; // 3
    virtual std::int32_t Reserved4() = 0; // 4
    virtual std::int32_t Reserved5() = 0; // 5
    virtual std::int32_t Reserved6() = 0; // 6
    virtual std::uint32_t Flags() = 0;    // 7
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
