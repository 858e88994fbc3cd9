#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace md {

/// Calls back on the user-interface thread whenever the serial line a point-go exchange is on
/// has something to take: bytes came, or the line hung up. It follows the exchange from line
/// to line (a retry may open the device afresh); the timer that steps the exchange between
/// answers stays the caller's.
class SerialLineWatcher
{
public:
    explicit SerialLineWatcher(std::function<void()> onReady) : m_onReady(std::move(onReady)) {}

    /// Watches the descriptor from now on; -1 stops watching.
    void Watch(int descriptor);
    /// Stops watching, before the line is closed.
    void Stop() { Watch(-1); }

private:
    std::function<void()> m_onReady;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace md
