#include "gui/ui/HostedWindow.h"

#include "gui/ui/NativeParent.h"

#include <QWidget>

namespace md {

bool HostedWindow::Attach(WindowHandle parent)
{
    if (m_attached)
        return true;
    QWidget* host = parent ? FindNativeParent(parent) : nullptr;
    if (!host)
        return false;
    m_widget.setParent(host, Qt::Widget);
    m_attached = true;
    return true;
}

void HostedWindow::Detach()
{
    if (!m_attached)
        return;
    m_widget.hide();
    m_widget.setParent(nullptr, Qt::Widget);
    m_attached = false;
}

void HostedWindow::Place(int x, int y, int width, int height, bool repaint)
{
    if (!m_attached)
        return;
    m_widget.setGeometry(x, y, width, height);
    if (repaint)
        m_widget.update();
}

bool HostedWindow::Hide()
{
    if (!m_attached)
        return false;
    const bool wasVisible = m_widget.isVisible();
    m_widget.hide();
    return wasVisible;
}

bool HostedWindow::Visible() const
{
    return m_attached && m_widget.isVisible();
}

} // namespace md
