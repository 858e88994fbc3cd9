#pragma once

#include "md/IBasePlugins.h"
#include "md/SdkTypes.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// A plug-in with a window of its own: the object CreatePlugin returns.
class IBaseUIPlugin : public IBasePlugins
{
public:
    virtual std::int32_t RunModal() = 0; // 7
    virtual std::int32_t CreateUI(WindowHandle parent, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height) = 0; // 8
    virtual void MoveUI(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                        std::uint8_t repaint) = 0; // 9
    virtual std::int32_t HideUI() = 0;             // 10
    virtual void DestroyUI() = 0;                  // 11
};

/// The one function a plug-in library exports.
using CreatePluginFunction = IBaseUIPlugin* (*)();

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
