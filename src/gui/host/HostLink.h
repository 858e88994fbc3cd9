#pragma once

#include "core/platform/HostServices.h"
#include "md/IHost.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace md {

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

    /// These wrappers as the core's port to the host.
    static HostServices& Services();
};

} // namespace md
