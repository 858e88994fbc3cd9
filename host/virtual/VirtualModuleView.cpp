#include "VirtualModuleView.h"

#include <QPainter>

namespace md::host {

VirtualModuleView::VirtualModuleView(VirtualModule module, QWidget* parent)
    : QWidget(parent), m_module(std::move(module))
{
    setObjectName("VirtualModuleView");
    m_frame = m_module.Show(0xA0000000u, 0); // dark until the first command
    m_frame.caption = m_module.Module().name;
}

void VirtualModuleView::ShowArea(const QByteArray& bytes)
{
    if (bytes.size() < 32)
        return;
    auto word = [&](int offset) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<quint8>(bytes[offset + i]);
        return value;
    };
    m_frame = m_module.Show(word(24), word(28));
    update();
}

void VirtualModuleView::ShowPointGo(int group, int scanRow, int position, int led)
{
    m_frame = m_module.Show(0xA0000000u, 0);
    const auto pixel = m_module.PixelOf(group, scanRow, position);
    if (pixel)
        m_frame.pixels[pixel->second * m_frame.width + pixel->first] = QColor(255, 196, 0);
    m_frame.caption = pixel ? tr("Point-go: line %1, scan row %2, pixel (%3, %4), LED %5")
                                  .arg(group + 1)
                                  .arg(scanRow + 1)
                                  .arg(pixel->first + 1)
                                  .arg(pixel->second + 1)
                                  .arg(led + 1)
                            : tr("Point-go: line %1, scan row %2, position %3 drives no pixel")
                                  .arg(group + 1)
                                  .arg(scanRow + 1)
                                  .arg(position);
    update();
}

void VirtualModuleView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(40, 40, 44));
    const int captionHeight = fontMetrics().height() + 6;
    const QRectF board = QRectF(rect()).adjusted(8, 8, -8, -8 - captionHeight);
    if (m_frame.width <= 0 || m_frame.height <= 0)
        return;
    const double pitch = std::min(board.width() / m_frame.width, board.height() / m_frame.height);
    const QPointF origin(board.left() + (board.width() - pitch * m_frame.width) / 2,
                         board.top() + (board.height() - pitch * m_frame.height) / 2);
    painter.fillRect(QRectF(origin, QSizeF(pitch * m_frame.width, pitch * m_frame.height)),
                     QColor(12, 12, 12));
    const double radius = pitch * 0.32;
    painter.setPen(Qt::NoPen);
    for (int y = 0; y < m_frame.height; ++y) {
        for (int x = 0; x < m_frame.width; ++x) {
            const QColor colour = m_frame.pixels[y * m_frame.width + x];
            painter.setBrush(colour == Qt::black ? QColor(34, 34, 34) : colour);
            painter.drawEllipse(origin + QPointF((x + 0.5) * pitch, (y + 0.5) * pitch), radius,
                                radius);
        }
    }
    painter.setPen(QColor(220, 220, 220));
    painter.drawText(QRect(8, height() - captionHeight, width() - 16, captionHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_frame.caption);
}

} // namespace md::host
