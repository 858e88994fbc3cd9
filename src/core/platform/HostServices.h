#pragma once

#include "core/platform/FrameSource.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace md {

/// A chip of the host's chip list.
struct HostChip
{
    std::u16string name;
    std::uint32_t kind = 0; ///< 0 driver chip, 1 scan chip
    std::uint32_t chipType = 0;
    std::uint32_t value = 0;
};

/// A light (LED package) of the host's light library.
struct HostLight
{
    std::u16string name;
    std::int32_t widthTenthMm = 0;
    std::int32_t heightTenthMm = 0;
    std::int32_t colour = 0; ///< 0 red, 1 green, 2 blue
    std::uint16_t code = 0;
};

/// The host's services as the core uses them: notifications to the host's components and to the
/// plug-in's own sink, and the configuration service. The plug-in implements it over the host
/// it was given; without a host nothing is answered.
class HostServices
{
public:
    virtual ~HostServices() = default;

    /// Whether a host is attached and its notification service can be looked up.
    virtual bool CanNotify() const = 0;
    /// Sends a notification to a component of the host; nothing without the service.
    virtual std::optional<std::int32_t> Send(const char* target, std::uint32_t message,
                                             std::uintptr_t wParam, std::intptr_t lParam) = 0;
    /// Calls the plug-in's own notification sink (the design panel) through the host.
    virtual std::optional<std::int32_t> NotifySelf(std::uint32_t message, std::uintptr_t wParam,
                                                   std::intptr_t lParam) = 0;
    /// A value of an ini file read through the host's configuration service; nothing when the
    /// host or the service does not answer it.
    virtual std::optional<std::u16string> ReadConfig(const char* section, const char* key,
                                                     const std::u16string& path) const = 0;
    /// A source of frames over the host's virtual camera, when the host offers one (the
    /// reference host does); nothing otherwise.
    virtual std::unique_ptr<FrameSource> VirtualCamera() { return nullptr; }
};

} // namespace md
