#pragma once

#include "md/INotifySink.h"
#include "md/SdkTypes.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// The toolbar strip the host embeds above the design panel.
class IToobarInterface : public INotifySink
{
public:
    virtual std::int32_t Show(WindowHandle parent, std::int32_t x, std::int32_t y,
                              std::int32_t width, std::int32_t height) = 0; // 3
    virtual std::int32_t Move(std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height, std::uint8_t repaint) = 0; // 4
    virtual std::int32_t Hide() = 0;                                          // 5
    virtual bool IsVisible() = 0;                                             // 6
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
