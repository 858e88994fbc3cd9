#pragma once

#include "md/IBaseInterface.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// A cursor over the host's light (LED package) library.
class ILightManRecordset : public IBaseInterface
{
public:
    virtual bool First() = 0;           // 2
    virtual bool Next() = 0;            // 3
    virtual const char16_t* Name() = 0; // 4
    virtual std::int32_t Width() = 0;   // 5: tenths of a millimetre
    virtual std::int32_t Height() = 0;  // 6: tenths of a millimetre
    virtual std::int32_t Colour() = 0;  // 7: 0 red, 1 green, 2 blue
    virtual std::uint16_t Code() = 0;   // 8
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
