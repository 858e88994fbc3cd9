#pragma once

#include "md/IBaseInterface.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// A cursor over the host's chip list.
class IChipManRecordSet : public IBaseInterface
{
public:
    virtual bool First() = 0;             // 2
    virtual bool Next() = 0;              // 3
    virtual const char16_t* Name() = 0;   // 4
    virtual std::uint32_t Kind() = 0;     // 5: 0 driver chip, 1 scan chip
    virtual std::uint32_t ChipType() = 0; // 6
    virtual std::uint32_t Value() = 0;    // 7
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
