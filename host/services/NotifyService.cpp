#include "services/NotifyService.h"

namespace md::host {

std::int32_t NotifyService::Send(const char* target, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam)
{
    if (!target)
        return -1;
    const QByteArray id(target);
    INotifySink* sink = m_sinks.value(id, nullptr);
    if (!sink && m_resolvers.contains(id))
        sink = m_resolvers.value(id)();
    // A target nobody listens to answers -1.
    const std::int32_t result = sink ? sink->OnNotify(message, wParam, lParam) : -1;
    if (onSent)
        onSent(id, message, result);
    return result;
}

void NotifyService::Register(const QByteArray& target, INotifySink* sink)
{
    m_sinks.insert(target, sink);
}

void NotifyService::Unregister(const QByteArray& target)
{
    m_sinks.remove(target);
}

void NotifyService::RegisterResolver(const QByteArray& target, SinkResolver resolver)
{
    m_resolvers.insert(target, std::move(resolver));
}

} // namespace md::host
