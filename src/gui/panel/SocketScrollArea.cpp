#include "gui/panel/SocketScrollArea.h"

#include "core/panel/SocketScroll.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace md {

SocketScrollArea::SocketScrollArea(QWidget* parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
}

void SocketScrollArea::SetContentSize(int width, int height)
{
    if (QWidget* content = widget())
        content->setMinimumSize(std::max(width, 0), std::max(height, 0));
}

void SocketScrollArea::wheelEvent(QWheelEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        bar->setValue(socketscroll::AfterWheel(bar->value(), bar->maximum(), notches));
    event->accept();
}

void SocketScrollArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QScrollArea::mousePressEvent(event);
    m_dragging = true;
    m_startY = event->position().toPoint().y();
    m_startValue = verticalScrollBar()->value();
    setFocus();
    grabMouse();
}

void SocketScrollArea::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return QScrollArea::mouseMoveEvent(event);
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(socketscroll::AfterDrag(m_startValue, m_startY, event->position().toPoint().y(),
                                          bar->maximum()));
}

void SocketScrollArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        releaseMouse();
        return;
    }
    QScrollArea::mouseReleaseEvent(event);
}

void SocketScrollArea::focusOutEvent(QFocusEvent* event)
{
    if (m_dragging) {
        m_dragging = false;
        releaseMouse();
    }
    QScrollArea::focusOutEvent(event);
}

} // namespace md
