#pragma once

#include "md/IBaseInterface.h"
#include "md/SdkTypes.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// A page of the host's settings window.
class ISettingBase : public IBaseInterface
{
public:
    virtual const char16_t* Title() = 0;         // 2
    virtual std::int32_t Apply() = 0;            // 3
    virtual std::int32_t ClosePendingWork() = 0; // 4
    virtual bool IsAvailable() = 0;              // 5
    virtual std::int32_t Reserved6() = 0;        // 6
    virtual std::int32_t Show(WindowHandle parent, std::int32_t x, std::int32_t y,
                              std::int32_t width, std::int32_t height) = 0; // 7
    virtual std::int32_t Hide() = 0;                                        // 8
    virtual void Move(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      std::uint8_t repaint) = 0; // 9
    virtual bool Reserved10() = 0;               // 10
    virtual bool Reserved11() = 0;               // 11
    virtual void Reserved12() = 0;               // 12
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
