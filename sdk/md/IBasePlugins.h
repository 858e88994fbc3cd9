#pragma once

#include "md/IBaseInterface.h"

namespace md {

class IHost;

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// What every plug-in object offers the host.
class IBasePlugins : public IBaseInterface
{
public:
    virtual std::int32_t ReservedA() = 0;                                  // 2
    virtual std::int32_t ReservedB() = 0;                                  // 3
    virtual const char* GetPluginId() = 0;                                 // 4
    virtual bool QueryPluginInterface(std::uint32_t code, void** out) = 0; // 5
    virtual void SetHost(IHost* host) = 0;                                 // 6
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
