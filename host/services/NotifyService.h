#pragma once

#include "md/INotifyService.h"
#include "md/INotifySink.h"

#include <QByteArray>
#include <QHash>

#include <functional>

namespace md::host {

/// Routes notifications to sinks registered by target id. The plug-in's own id is resolved on
/// each send through a resolver (the plug-in's panel object), so messages to itself reach it.
class NotifyService final : public INotifyService
{
public:
    using SinkResolver = std::function<INotifySink*()>;

    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    std::int32_t Reserved2() override { return 0; }
    std::int32_t Send(const char* target, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) override;

    void Register(const QByteArray& target, INotifySink* sink);
    void Unregister(const QByteArray& target);
    void RegisterResolver(const QByteArray& target, SinkResolver resolver);

    /// Called after every send with the target, message and result (the controller monitor
    /// shows them).
    std::function<void(const QByteArray&, std::uint32_t, std::int32_t)> onSent;

private:
    QHash<QByteArray, INotifySink*> m_sinks;
    QHash<QByteArray, SinkResolver> m_resolvers;
};

} // namespace md::host
