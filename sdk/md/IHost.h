#pragma once

#include "md/IBaseInterface.h"
#include "md/SdkTypes.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// The host object handed to the plug-in with SetHost.
class IHost : public IBaseInterface
{
public:
    virtual bool QueryService(const char* id, std::uint32_t code, void** out) = 0; // 2
    virtual std::int32_t Reserved3() = 0;                                          // 3
    virtual std::int32_t AttachPage(const char* pluginId, WindowHandle page, std::int32_t a,
                                    std::int32_t b, std::int32_t c, std::int32_t d) = 0; // 4
    virtual std::int32_t PageAttached(const char* pluginId) = 0;                         // 5
    virtual std::int32_t Reserved6() = 0;                                                // 6
    virtual std::int32_t Reserved7() = 0;                                                // 7
    virtual const char* GetNotifyTarget() = 0;                                           // 8
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
