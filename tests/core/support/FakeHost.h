#pragma once

#include "md/ContractIds.h"
#include "md/IHost.h"
#include "md/INotifyService.h"
#include "md/INotifySink.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace md::test {

/// A host for core tests: a notification service whose targets are lambdas, and the plug-in's
/// own sink. Records every notification in order.
class FakeHost final : public IHost, public INotifyService, public INotifySink
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
    /// Handlers by target id; the plug-in's own id also answers lookups of its sink.
    std::vector<std::pair<std::string, Handler>> handlers;
    std::vector<Sent> sent;

    std::int32_t Route(const std::string& target, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam)
    {
        sent.push_back({target, message, wParam, lParam});
        for (auto& [id, handler] : handlers)
            if (id == target)
                return handler(message, wParam, lParam);
        return 0;
    }

    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    bool QueryService(const char* id, std::uint32_t code, void** out) override
    {
        if (withNotifyService && std::strcmp(id, contract::kNotifyServiceId) == 0 &&
            code == contract::kNotifyServiceCode) {
            *out = static_cast<INotifyService*>(this);
            return true;
        }
        if (std::strcmp(id, contract::kPluginId) == 0 && code == contract::kNotifySinkCode) {
            *out = static_cast<INotifySink*>(this);
            return true;
        }
        return false;
    }
    std::int32_t Reserved3() override { return 0; }
    std::int32_t AttachPage(const char*, WindowHandle, std::int32_t, std::int32_t, std::int32_t,
                            std::int32_t) override
    {
        return 0;
    }
    std::int32_t PageAttached(const char*) override { return 0; }
    std::int32_t Reserved6() override { return 0; }
    std::int32_t Reserved7() override { return 0; }
    const char* GetNotifyTarget() override { return "HOST"; }
    std::int32_t Reserved2() override { return 0; }
    std::int32_t Send(const char* target, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) override
    {
        return Route(target, message, wParam, lParam);
    }
    std::int32_t OnNotify(std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override
    {
        return Route(contract::kPluginId, message, wParam, lParam);
    }
};

} // namespace md::test
