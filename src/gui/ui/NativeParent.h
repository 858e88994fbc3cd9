#pragma once

#include "md/SdkTypes.h"

class QWidget;

namespace md {

/// The widget behind a native window id handed over by the host; null when the id names no
/// widget of this process.
QWidget* FindNativeParent(WindowHandle handle);

/// The native window id of a widget, as handed to the host.
WindowHandle NativeHandle(QWidget* widget);

/// Gives the keyboard focus back to the host's main window (the window that carries the host's
/// main-window property).
void FocusHostMainWindow();

} // namespace md
