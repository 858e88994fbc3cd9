#pragma once

#include "md/SdkTypes.h"

class QWidget;

namespace md {

/// The state of a widget that lives inside a window of the host (the design panel, the toolbar
/// strip, the settings page): attached to the widget behind the host's native handle, placed,
/// shown and hidden at the host's word, and taken out again. Until it is attached, placing and
/// hiding do nothing.
class HostedWindow
{
public:
    explicit HostedWindow(QWidget& widget) : m_widget(widget) {}

    bool Attached() const { return m_attached; }
    /// Makes the widget a child of the host's window; false when the handle names no widget of
    /// this process. Attaching an attached widget keeps it where it is.
    bool Attach(WindowHandle parent);
    /// Hides the widget and takes it out of the host's window.
    void Detach();
    /// New geometry for an attached widget, repainted when asked.
    void Place(int x, int y, int width, int height, bool repaint = false);
    /// Hides an attached widget; whether it was visible before.
    bool Hide();
    bool Visible() const;

private:
    QWidget& m_widget;
    bool m_attached = false;
};

} // namespace md
