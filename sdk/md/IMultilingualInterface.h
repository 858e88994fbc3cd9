#pragma once

#include "md/IBaseInterface.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// Localized texts by section and key; the buffer receives a zero-terminated UTF-16 text.
class IMultilingualInterface : public IBaseInterface
{
public:
    virtual bool GetText(const char* section, const char* key, char16_t* buffer,
                         std::uint32_t capacity) = 0; // 2
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
