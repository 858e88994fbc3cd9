#include "AppIcon.h"

#include "PictureSet.h"

#include <QPainter>
#include <QPainterPath>

namespace md::artgen {

void AddAppIcon(PictureSet& pictures)
{
    constexpr int kSize = 256;
    constexpr int kCells = 8;
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The board with a bevel.
    const QRectF board(12, 12, kSize - 24, kSize - 24);
    QLinearGradient face(board.topLeft(), board.bottomRight());
    face.setColorAt(0, QColor(0x3A, 0x40, 0x48));
    face.setColorAt(1, QColor(0x16, 0x19, 0x1E));
    painter.setPen(QPen(QColor(0x0B, 0x0D, 0x10), 4));
    painter.setBrush(face);
    painter.drawRoundedRect(board, 26, 26);
    // The LEDs: a serpentine chain lit red, green and blue in turn, the rest dark.
    const double pitch = (board.width() - 40) / (kCells - 1);
    const auto centre = [&](int column, int row) {
        return QPointF(board.left() + 20 + column * pitch, board.top() + 20 + row * pitch);
    };
    QPainterPath chain;
    for (int row = 0; row < kCells; ++row)
        for (int i = 0; i < kCells; ++i) {
            const int column = row % 2 == 0 ? i : kCells - 1 - i;
            if (row == 0 && i == 0)
                chain.moveTo(centre(column, row));
            else
                chain.lineTo(centre(column, row));
        }
    painter.setPen(QPen(QColor(255, 255, 255, 70), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chain);
    const QColor lit[] = {QColor(0xFF, 0x3B, 0x30), QColor(0x34, 0xC7, 0x59),
                          QColor(0x0A, 0x84, 0xFF)};
    for (int row = 0; row < kCells; ++row)
        for (int column = 0; column < kCells; ++column) {
            const bool on = (row + column) % 3 != 1;
            const QColor colour = on ? lit[(row * kCells + column) % 3] : QColor(0x2B, 0x2F, 0x36);
            QRadialGradient glow(centre(column, row), pitch * 0.42);
            glow.setColorAt(0, on ? colour.lighter(160) : colour);
            glow.setColorAt(1, colour);
            painter.setPen(QPen(QColor(0, 0, 0, 120), 1.5));
            painter.setBrush(glow);
            painter.drawEllipse(centre(column, row), pitch * 0.34, pitch * 0.34);
        }
    painter.end();
    pictures.Add("module-design.png", image);
}

} // namespace md::artgen
