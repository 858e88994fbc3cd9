#pragma once

#include "md/IHost.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

/// The plug-in's way to the host: the process-wide host pointer and small wrappers that look a
/// service up, use it and release it. Without a host (before SetHost) every lookup yields nothing.
class HostLink
{
public:
    static IHost* Host();
    static void SetHost(IHost* host);

    /// The text of a key in the plug-in's section; empty when the key or the service is missing.
    static std::u16string LocalizedText(std::string_view key);
    /// Sends a notification through the host; nothing when there is no notification service.
    static std::optional<std::int32_t> Send(const char* target, std::uint32_t message,
                                            std::uintptr_t wParam, std::intptr_t lParam);
    /// Calls the plug-in's own notification sink found through the host (the design panel);
    /// nothing when the host or the sink is missing.
    static std::optional<std::int32_t> NotifySelf(std::uint32_t message, std::uintptr_t wParam,
                                                  std::intptr_t lParam);
    /// Notification 6 to the host's notification target: the design changed, so the host
    /// refreshes its view of it. Nothing without a host or target.
    static void NotifyDesignChanged();
    /// Whether the notification service can be looked up (and released again).
    static bool HasNotifyService();
    /// The global data flags word; nothing without the service.
    static std::optional<std::uint32_t> GlobalFlags();
    /// A value of an ini file read through the host's config service.
    static std::optional<std::u16string> ReadConfig(const char* section, const char* key,
                                                    const std::u16string& path);
    static std::vector<HostChip> Chips();
    static std::vector<HostLight> Lights();
};

} // namespace md
