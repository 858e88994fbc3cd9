#include "DecompositionPictures.h"

#include "ArtStyle.h"
#include "PictureSet.h"

#include <QPainter>
#include <QRadialGradient>

namespace md::artgen {

namespace {

const QString kFolder = QStringLiteral("Modules/ModuleDesignUIPlugin/");
constexpr int kSize = 64;

enum class Shape
{
    Round,
    Horizontal,
    Vertical
};

/// A decomposition mode: the pixels of a 2 x 2 block it lights (bit 0 top left, 1 top right,
/// 2 bottom left, 3 bottom right, in the order the layout numbers its four cell copies) and
/// how its LED is drawn, so that the paired modes with the same pixels still look different.
struct Mode
{
    const char* name;
    unsigned pixels;
    Shape shape;
};

const Mode kModes[] = {
    {"tu", 0b1111, Shape::Round},      {"lh", 0b1001, Shape::Horizontal},
    {"rh", 0b0110, Shape::Horizontal}, {"lv", 0b1001, Shape::Vertical},
    {"rv", 0b0110, Shape::Vertical},   {"x0", 0b0001, Shape::Round},
    {"x1", 0b0010, Shape::Round},      {"x2", 0b0100, Shape::Round},
    {"x3", 0b1000, Shape::Round},
};

QRectF PixelCell(int index)
{
    const qreal cell = 26;
    return QRectF(5 + (index % 2) * 28, 5 + (index / 2) * 28, cell, cell);
}

QRectF LedBox(const QRectF& cell, Shape shape)
{
    const QPointF centre = cell.center();
    const QSizeF size = shape == Shape::Horizontal ? QSizeF(19, 10)
                        : shape == Shape::Vertical ? QSizeF(10, 19)
                                                   : QSizeF(14, 14);
    return QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                  size.height());
}

void DrawLitLed(QPainter& painter, const QRectF& box, const QColor& colour)
{
    QRadialGradient glow(box.center(), box.width() > box.height() ? box.width() : box.height());
    glow.setColorAt(0, QColor(colour.red(), colour.green(), colour.blue(), 110));
    glow.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(box.adjusted(-6, -6, 6, 6));
    QRadialGradient body(box.center() - QPointF(2, 2), box.height());
    body.setColorAt(0, colour.lighter(160));
    body.setColorAt(1, colour);
    painter.setPen(QPen(colour.darker(150), 1));
    painter.setBrush(body);
    const qreal radius = (box.width() < box.height() ? box.width() : box.height()) / 2;
    painter.drawRoundedRect(box, radius, radius);
}

void DrawDarkLed(QPainter& painter, const QRectF& box)
{
    painter.setPen(QPen(QColor(178, 178, 178), 1.2, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    const qreal radius = (box.width() < box.height() ? box.width() : box.height()) / 2;
    painter.drawRoundedRect(box, radius, radius);
}

/// A 2 x 2 pixel block; colourIndex < 0 draws the block with no LED lit and struck through.
QImage Block(const Mode* mode, int colourIndex)
{
    QImage image = Canvas({kSize, kSize}, Qt::white, false);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int index = 0; index < 4; ++index) {
        const QRectF cell = PixelCell(index);
        painter.setPen(QPen(QColor(196, 199, 204), 1));
        painter.setBrush(QColor(246, 247, 249));
        painter.drawRoundedRect(cell, 3, 3);
        const Shape shape = mode ? mode->shape : Shape::Round;
        const QRectF box = LedBox(cell, shape);
        if (mode && colourIndex >= 0 && (mode->pixels >> index & 1u))
            DrawLitLed(painter, box, EmitColour(colourIndex));
        else
            DrawDarkLed(painter, box);
    }
    if (!mode) {
        painter.setPen(QPen(QColor(120, 124, 130), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(10, 54), QPointF(54, 10));
    }
    return image;
}

} // namespace

void AddDecompositionPictures(PictureSet& pictures)
{
    const char prefixes[] = {'r', 'g', 'b'};
    for (int colour = 0; colour < 3; ++colour)
        for (const Mode& mode : kModes)
            pictures.Add(kFolder + QStringLiteral("%1_%2.png")
                                       .arg(QChar::fromLatin1(prefixes[colour]),
                                            QString::fromLatin1(mode.name)),
                         Block(&mode, colour));
    pictures.Add(kFolder + "none.png", Block(nullptr, -1));
}

} // namespace md::artgen
