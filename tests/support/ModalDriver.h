#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace md::test {

/// Drives modal dialogs offscreen: the action runs on the next modal widget that becomes active
/// (found from a queued timer), typically to read it and press one of its buttons.
class ModalDriver
{
public:
    using Action = std::function<void(QWidget* modal)>;

    /// Queues an action for the next modal widget; polls every 10 ms for up to timeoutMs.
    static void Expect(Action action, int timeoutMs = 5000);
    /// Convenience: presses the button whose text (without '&') matches on the next modal widget
    /// and reports the widget's visible text through the out parameter.
    static void Press(const QString& buttonText, QString* shownText = nullptr);
};

} // namespace md::test
