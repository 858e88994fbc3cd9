#include "PanelPictures.h"

#include "ArtStyle.h"
#include "PictureSet.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace md::artgen {

namespace {

const QString kFolder = QStringLiteral("Modules/ModuleDesignUIPlugin/");

/// Connector pin boxes are this many pixels square; the socket view sizes its columns by it.
constexpr int kPinBox = 32;

/// One assignable connector signal: the picture number its pin box is stored under.
struct Signal
{
    int picture;
    const char* label;
    QColor body;
};

const Signal kSignals[] = {
    {0, "DATA", QColor(123, 77, 176)}, {1, "CLK", QColor(0, 137, 138)},
    {2, "LAT", QColor(222, 125, 18)},  {3, "OE", QColor(198, 48, 48)},
    {4, "A", QColor(33, 101, 196)},    {5, "B", QColor(33, 101, 196)},
    {6, "C", QColor(33, 101, 196)},    {7, "D", QColor(33, 101, 196)},
    {8, "RDAT", QColor(46, 140, 72)},  {9, "RCLK", QColor(46, 140, 72)},
    {10, "RLAT", QColor(46, 140, 72)}, {11, "GND", QColor(24, 24, 24)},
    {13, "E", QColor(33, 101, 196)},
};

/// The cell canvas: a dark module face with a millimetre-style grid and a centre cross, so LEDs
/// can be placed by eye.
QImage CellCanvasBackground()
{
    QImage image = Canvas({256, 256}, QColor(40, 42, 46), true);
    QPainter painter(&image);
    QLinearGradient face(0, 0, 0, 256);
    face.setColorAt(0, QColor(54, 57, 62));
    face.setColorAt(1, QColor(34, 36, 40));
    painter.fillRect(image.rect(), face);
    for (int i = 16; i < 256; i += 16) {
        painter.setPen(QPen(i % 64 == 0 ? QColor(84, 89, 97) : QColor(62, 66, 72), 1));
        painter.drawLine(i, 0, i, 255);
        painter.drawLine(0, i, 255, i);
    }
    painter.setPen(QPen(QColor(120, 127, 136), 1, Qt::DashLine));
    painter.drawLine(128, 0, 128, 255);
    painter.drawLine(0, 128, 255, 128);
    painter.setPen(QPen(QColor(96, 101, 108), 1));
    painter.drawRect(0, 0, 255, 255);
    return image;
}

/// One pixel site of the module picture: a white SMD package with its three dies.
void DrawPixelSite(QPainter& painter, QPointF centre, qreal size)
{
    const QRectF package(centre.x() - size / 2, centre.y() - size / 2, size, size);
    painter.setPen(QPen(QColor(150, 150, 145), 0.8));
    painter.setBrush(QColor(232, 232, 226));
    painter.drawRoundedRect(package, size * 0.12, size * 0.12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 248, 236));
    painter.drawEllipse(package.adjusted(size * 0.12, size * 0.12, -size * 0.12, -size * 0.12));
    const qreal die = size * 0.16;
    for (int colour = 0; colour < 3; ++colour) {
        const QPointF at(centre.x() + (colour - 1) * size * 0.22, centre.y());
        painter.setBrush(EmitColour(colour).darker(115));
        painter.drawRect(QRectF(at.x() - die / 2, at.y() - die / 2, die, die));
    }
}

/// The empty design panel's picture and the default module background: a black-faced LED
/// module with sixteen by ten pixel sites and four mounting holes.
QImage ModuleBackground()
{
    QImage image = Canvas({320, 200}, Qt::transparent, false);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF board(2, 2, 316, 196);
    QLinearGradient face(0, 0, 0, 200);
    face.setColorAt(0, QColor(46, 48, 52));
    face.setColorAt(1, QColor(22, 23, 26));
    painter.setPen(QPen(QColor(10, 10, 12), 2));
    painter.setBrush(face);
    painter.drawRoundedRect(board, 9, 9);
    painter.setPen(QPen(QColor(80, 84, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(board.adjusted(3, 3, -3, -3), 7, 7);

    constexpr int kColumns = 16;
    constexpr int kRows = 10;
    const qreal pitch = 18.0;
    const QPointF origin(160 - pitch * (kColumns - 1) / 2, 100 - pitch * (kRows - 1) / 2);
    for (int row = 0; row < kRows; ++row) {
        // A louvre over each row shades the packages, as on outdoor modules.
        const qreal top = origin.y() + row * pitch - 8.5;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(8, 8, 10, 170));
        painter.drawRoundedRect(QRectF(origin.x() - 8, top, pitch * (kColumns - 1) + 16, 3), 1.5,
                                1.5);
        for (int column = 0; column < kColumns; ++column)
            DrawPixelSite(painter, origin + QPointF(column * pitch, row * pitch), 9.0);
    }

    for (const QPointF hole :
         {QPointF(12, 12), QPointF(308, 12), QPointF(12, 188), QPointF(308, 188)}) {
        QRadialGradient metal(hole, 5);
        metal.setColorAt(0, QColor(90, 92, 96));
        metal.setColorAt(1, QColor(150, 152, 158));
        painter.setPen(QPen(QColor(12, 12, 14), 1));
        painter.setBrush(metal);
        painter.drawEllipse(hole, 4.5, 4.5);
    }
    QLinearGradient gloss(0, 0, 0, 90);
    gloss.setColorAt(0, QColor(255, 255, 255, 34));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawRoundedRect(board.adjusted(3, 3, -3, -100), 7, 7);
    return image;
}

/// The raised body of a pin box; the socket view writes the pin number over its upper part.
void DrawPinBody(QPainter& painter, const QColor& body)
{
    painter.fillRect(0, 0, kPinBox, kPinBox, QColor(51, 51, 51));
    const QRectF outline(1.5, 1.5, kPinBox - 3, kPinBox - 3);
    QLinearGradient shade(0, 0, 0, kPinBox);
    shade.setColorAt(0, body.lighter(125));
    shade.setColorAt(1, body.darker(125));
    painter.setPen(QPen(body.darker(200), 1));
    painter.setBrush(shade);
    painter.drawRoundedRect(outline, 3, 3);
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
    painter.drawLine(QPointF(4, 2.5), QPointF(kPinBox - 4, 2.5));
}

/// The empty pin box: a grey body with a gold contact.
QImage PinFrame()
{
    QImage image = Canvas({kPinBox, kPinBox}, QColor(51, 51, 51), true);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawPinBody(painter, QColor(92, 92, 98));
    painter.setPen(QPen(QColor(120, 90, 20), 1));
    painter.setBrush(QColor(214, 176, 64));
    painter.drawRect(QRectF(12.5, 21.5, 7, 6));
    return image;
}

/// A pin box assigned to a signal: the signal's colour and its name on a light label strip.
QImage PinType(const Signal& signal)
{
    QImage image = Canvas({kPinBox, kPinBox}, QColor(51, 51, 51), true);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawPinBody(painter, signal.body);
    const QRectF strip(2.5, 21, kPinBox - 5, 9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 240, 236));
    painter.drawRoundedRect(strip, 2, 2);
    const QString label = QString::fromLatin1(signal.label);
    painter.setFont(PixelFont(label.size() > 3 ? 7 : 8));
    painter.setPen(signal.body.lightness() < 40 ? QColor(20, 20, 20) : signal.body.darker(160));
    painter.drawText(strip.adjusted(0, -1, 0, 0), Qt::AlignCenter, label);
    return image;
}

} // namespace

void AddPanelPictures(PictureSet& pictures)
{
    pictures.Add(kFolder + "moduledesign_bkground.bmp", CellCanvasBackground());
    pictures.Add(kFolder + "module_bkground.png", ModuleBackground());
    pictures.Add(kFolder + "frame_background.bmp", PinFrame());
    for (const Signal& signal : kSignals)
        pictures.Add(kFolder + QStringLiteral("socket_frame_background_%1.bmp").arg(signal.picture),
                     PinType(signal));
}

} // namespace md::artgen
