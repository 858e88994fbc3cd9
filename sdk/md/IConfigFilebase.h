#pragma once

#include "md/IBaseInterface.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// Reads values of ini files for the plug-in.
class IConfigFilebase : public IBaseInterface
{
public:
    virtual std::int32_t Reserved2() = 0; // 2
    virtual std::int32_t Reserved3() = 0; // 3
    virtual std::int32_t Reserved4() = 0; // 4
    virtual std::int32_t Reserved5() = 0; // 5
    virtual std::int32_t Reserved6() = 0; // 6
    virtual bool ReadString(const char* section, const char* key, char16_t* buffer,
                            std::uint32_t capacity, const char16_t* path) = 0; // 7
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
