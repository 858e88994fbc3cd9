#include "gui/ui/NativeParent.h"

#include "md/ContractIds.h"

#include <QApplication>
#include <QWidget>

namespace md {

QWidget* FindNativeParent(WindowHandle handle)
{
    if (handle == 0)
        return nullptr;
    return QWidget::find(static_cast<WId>(handle));
}

WindowHandle NativeHandle(QWidget* widget)
{
    return widget ? static_cast<WindowHandle>(widget->winId()) : 0;
}

void FocusHostMainWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->property(contract::kMainWindowProperty).isValid()) {
            window->activateWindow();
            window->setFocus();
            return;
        }
}

} // namespace md
