#include "gui/layout/SerialLineWatcher.h"

namespace md {

void SerialLineWatcher::Watch(int descriptor)
{
    if (m_notifier && m_notifier->socket() == descriptor)
        return;
    m_notifier.reset();
    if (descriptor < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { m_onReady(); });
}

} // namespace md
