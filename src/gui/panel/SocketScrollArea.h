#pragma once

#include <QScrollArea>

namespace md {

/// The scroller round the socket page: scroll bars only in a direction in which the socket is
/// larger than the panel, the wheel and a left-button drag scrolling vertically by the socket
/// view's own steps.
class SocketScrollArea final : public QScrollArea
{
    Q_OBJECT
public:
    explicit SocketScrollArea(QWidget* parent = nullptr);

    /// The socket's content size (message 5120); the view fits it when it is smaller.
    void SetContentSize(int width, int height);
    bool Dragging() const { return m_dragging; }

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_dragging = false;
    int m_startY = 0;
    int m_startValue = 0;
};

} // namespace md
