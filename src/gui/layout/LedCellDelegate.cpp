#include "gui/layout/LedCellDelegate.h"

#include "core/layout/LayoutModel.h"
#include "gui/layout/LedLayoutTableModel.h"

#include <QPainter>

namespace md {

namespace {

QColor LedColour(std::uint16_t colour)
{
    switch (colour) {
    case 0:
        return QColor(230, 40, 40);
    case 1:
        return QColor(30, 170, 60);
    case 2:
        return QColor(40, 80, 230);
    default:
        return QColor(120, 120, 120);
    }
}

} // namespace

LedCellDelegate::LedCellDelegate(const LayoutModel& layout, QObject* parent)
    : QStyledItemDelegate(parent), m_layout(layout)
{}

void LedCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    ++m_painted;
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, index.data(Qt::BackgroundRole).value<QColor>());
    const QVariant pixel = index.data(LedLayoutTableModel::kPixelRole);
    if (pixel.isValid()) {
        const LedPoint& point = m_layout.Points()[pixel.toUInt()];
        // LED positions are on the cell design's 256 x 256 canvas.
        const double scale = std::min(cell.width(), cell.height()) / 256.0;
        const QPointF origin(cell.center().x() - 128 * scale, cell.center().y() - 128 * scale);
        const auto& leds = m_layout.ShapesOf(point);
        painter->setRenderHint(QPainter::Antialiasing, false);
        for (unsigned i = 0; i < leds.size(); ++i) {
            if (!point.LedVisible(i))
                continue;
            const CellLed& led = leds[i];
            if (m_layout.Layer() >= 0 && led.colour != m_layout.Layer())
                continue; // a colour layer view
            const QRectF rect(origin.x() + led.x * scale, origin.y() + led.y * scale,
                              std::max(1.0, led.widthPx * scale),
                              std::max(1.0, led.heightPx * scale));
            const QColor colour = point.marked ? LedColour(led.colour) : QColor(170, 170, 170);
            if (led.active)
                painter->fillRect(rect, colour);
            else {
                painter->setPen(colour);
                painter->drawRect(rect);
            }
        }
        if (point.highlighted) {
            painter->setPen(QPen(QColor(0, 0, 160), 1));
            painter->drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    painter->restore();
}

} // namespace md
