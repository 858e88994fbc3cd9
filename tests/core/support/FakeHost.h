#pragma once

#include "core/platform/HostServices.h"
#include "md/ContractIds.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace md::test {

/// The host as core tests see it: notification targets are lambdas (the plug-in's own sink is
/// the target with the plug-in's id), every notification is recorded in order, and the
/// configuration service answers the values put into `config` ("section/key").
class FakeHost final : public HostServices
{
public:
    struct Sent
    {
        std::string target;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    using Handler = std::function<std::int32_t(std::uint32_t, std::uintptr_t, std::intptr_t)>;

    bool withNotifyService = true;
    std::vector<std::pair<std::string, Handler>> handlers;
    std::vector<Sent> sent;
    std::map<std::string, std::u16string> config;

    bool CanNotify() const override { return withNotifyService; }
    std::optional<std::int32_t> Send(const char* target, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) override
    {
        if (!withNotifyService)
            return std::nullopt;
        sent.push_back({target, message, wParam, lParam});
        for (auto& [id, handler] : handlers)
            if (id == target)
                return handler(message, wParam, lParam);
        return 0;
    }
    std::optional<std::int32_t> NotifySelf(std::uint32_t message, std::uintptr_t wParam,
                                           std::intptr_t lParam) override
    {
        return Send(contract::kPluginId, message, wParam, lParam);
    }
    std::optional<std::u16string> ReadConfig(const char* section, const char* key,
                                             const std::u16string&) const override
    {
        const auto found = config.find(std::string(section) + "/" + key);
        if (found == config.end())
            return std::nullopt;
        return found->second;
    }
};

} // namespace md::test
