#include "gui/ui/ImageButton.h"

#include <QPainter>

namespace md {

ImageButton::ImageButton(const QString& imagePath, int size, QWidget* parent)
    : QAbstractButton(parent), m_picture(imagePath), m_size(size)
{
    setFixedSize(size, size);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    if (isEnabled() && (isDown() || m_hover)) {
        painter.setPen(QColor(0x7A, 0x9C, 0xC6));
        painter.setBrush(isDown() ? QColor(0xC4, 0xD8, 0xF0) : QColor(0xE2, 0xEC, 0xF8));
        painter.drawRoundedRect(box, 3, 3);
    }
    if (m_picture.isNull()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(box, Qt::AlignCenter, text().left(2));
        return;
    }
    const QPixmap shown =
        m_picture.scaled(size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!isEnabled())
        painter.setOpacity(0.35);
    const QPoint offset((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    painter.drawPixmap(offset + (isDown() ? QPoint(1, 1) : QPoint()), shown);
}

void ImageButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace md
