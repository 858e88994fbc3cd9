#include "PointGoIcons.h"

#include "ArtStyle.h"
#include "PictureSet.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace md::artgen {

namespace {

const QString kFolder = QStringLiteral("Modules/ModuleDesignUIPlugin/");
constexpr int kIcon = 28;
const QColor kAccent(25, 118, 210);
const QColor kMarked(144, 202, 249);

QImage Draw(const std::function<void(QPainter&)>& paint)
{
    QImage image = Canvas({kIcon, kIcon}, Qt::transparent, false);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return image;
}

QPen Stroke(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

/// A 3 x 3 grid of pixels, filled where marked says so (bit i = cell i, row by row).
void Grid(QPainter& painter, unsigned marked, QRectF area = QRectF(2.5, 2.5, 18, 18))
{
    const qreal cell = area.width() / 3;
    painter.setPen(QPen(InkColour(), 1.1));
    for (int i = 0; i < 9; ++i) {
        painter.setBrush((marked >> i) & 1U ? kMarked : QColor(250, 250, 250));
        painter.drawRect(QRectF(area.x() + (i % 3) * cell, area.y() + (i / 3) * cell, cell, cell));
    }
}

/// A round badge in the lower right corner with a glyph drawn on it.
void Badge(QPainter& painter, const QColor& colour, const std::function<void(QPainter&)>& glyph)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(21, 21), 6.2, 6.2);
    glyph(painter);
}

void BadgeText(QPainter& painter, const QString& text)
{
    painter.setPen(Qt::white);
    painter.setFont(PixelFont(10));
    painter.drawText(QRectF(15, 15, 12, 12), Qt::AlignCenter, text);
}

/// A pixel of three LEDs with a forward arrow: point-go; the badge names the LEDs it visits.
QImage PointGoPicture(const QString& badge)
{
    return Draw([&](QPainter& p) {
        p.setPen(QPen(InkColour(), 1.2));
        p.setBrush(QColor(33, 33, 33));
        p.drawRoundedRect(QRectF(2.5, 2.5, 17, 17), 2, 2);
        const QPointF leds[] = {{7, 8}, {15, 8}, {11, 15}};
        for (int i = 0; i < 3; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(i == 0 ? EmitColour(0) : EmitColour(i).darker(260));
            p.drawEllipse(leds[i], 3, 3);
        }
        p.setPen(Stroke(QColor(255, 193, 7), 1.8));
        p.drawLine(QPointF(10, 8), QPointF(13, 8));
        Badge(p, kAccent, [&](QPainter& q) { BadgeText(q, badge); });
    });
}

/// A layer stack with the top sheet in one colour: that colour's layer alone.
QImage Layer(int colour)
{
    return Draw([&](QPainter& p) {
        for (int i = 2; i >= 0; --i) {
            QPainterPath sheet;
            const qreal y = 6 + i * 5;
            sheet.moveTo(14, y - 4);
            sheet.lineTo(25, y + 1);
            sheet.lineTo(14, y + 6);
            sheet.lineTo(3, y + 1);
            sheet.closeSubpath();
            p.setPen(QPen(InkColour(), 1.1));
            p.setBrush(i == 0 ? EmitColour(colour) : QColor(224, 224, 224));
            p.drawPath(sheet);
        }
    });
}

/// Four copies of a pixel, each lighting one LED (lit) or dark.
void FourCopies(QPainter& painter, bool lit)
{
    for (int copy = 0; copy < 4; ++copy) {
        const QRectF cell(3 + (copy % 2) * 11.5, 3 + (copy / 2) * 11.5, 10.5, 10.5);
        painter.setPen(QPen(InkColour(), 1));
        painter.setBrush(lit ? QColor(33, 33, 33) : QColor(66, 66, 66));
        painter.drawRect(cell);
        if (!lit)
            continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(EmitColour(copy % 3));
        painter.drawEllipse(cell.center(), 2.6, 2.6);
    }
}

} // namespace

void AddPointGoIcons(PictureSet& pictures)
{
    pictures.Add(kFolder + "toolbaricon_pg_hardware.png", Draw([](QPainter& p) {
                     // A serial connector and its cable.
                     QPainterPath shell;
                     shell.moveTo(3, 5);
                     shell.lineTo(21, 5);
                     shell.lineTo(18.5, 15);
                     shell.lineTo(5.5, 15);
                     shell.closeSubpath();
                     p.setPen(QPen(InkColour(), 1.4));
                     p.setBrush(QColor(207, 216, 220));
                     p.drawPath(shell);
                     p.setPen(Qt::NoPen);
                     p.setBrush(InkColour());
                     for (int i = 0; i < 5; ++i)
                         p.drawEllipse(QPointF(6.5 + i * 2.75, 8.5), 0.9, 0.9);
                     for (int i = 0; i < 4; ++i)
                         p.drawEllipse(QPointF(7.9 + i * 2.75, 11.8), 0.9, 0.9);
                     p.setPen(Stroke(InkColour(), 2.2));
                     p.drawLine(QPointF(12, 15), QPointF(12, 19));
                     p.drawLine(QPointF(12, 19), QPointF(15, 22));
                     Badge(p, QColor(46, 125, 50), [](QPainter& q) {
                         q.setPen(Stroke(Qt::white, 1.8));
                         q.drawLine(QPointF(18.5, 21), QPointF(20.5, 23));
                         q.drawLine(QPointF(20.5, 23), QPointF(24, 18.5));
                     });
                 }));
    pictures.Add(kFolder + "toolbaricon_pg_port.png", Draw([](QPainter& p) {
                     // A serial connector and a dial: which port, how fast.
                     QPainterPath shell;
                     shell.moveTo(2, 4);
                     shell.lineTo(18, 4);
                     shell.lineTo(15.8, 13);
                     shell.lineTo(4.2, 13);
                     shell.closeSubpath();
                     p.setPen(QPen(InkColour(), 1.3));
                     p.setBrush(QColor(207, 216, 220));
                     p.drawPath(shell);
                     p.setPen(Qt::NoPen);
                     p.setBrush(InkColour());
                     for (int i = 0; i < 4; ++i)
                         p.drawEllipse(QPointF(5.5 + i * 3, 7.3), 0.9, 0.9);
                     for (int i = 0; i < 3; ++i)
                         p.drawEllipse(QPointF(7 + i * 3, 10.2), 0.9, 0.9);
                     Badge(p, kAccent, [](QPainter& q) {
                         q.setPen(Stroke(Qt::white, 1.4));
                         q.setBrush(Qt::NoBrush);
                         q.drawArc(QRectF(16.8, 16.8, 8.4, 8.4), 0, 180 * 16);
                         q.drawLine(QPointF(21, 21.5), QPointF(23.4, 18.2));
                     });
                 }));
    pictures.Add(kFolder + "toolbaricon_pg_all.png", PointGoPicture(QStringLiteral("A")));
    pictures.Add(kFolder + "toolbaricon_pg_group1.png", PointGoPicture(QStringLiteral("1")));
    pictures.Add(kFolder + "toolbaricon_pg_group2.png", PointGoPicture(QStringLiteral("2")));
    pictures.Add(kFolder + "toolbaricon_pg_hold.png", Draw([](QPainter& p) {
                     p.setPen(QPen(InkColour(), 1.4));
                     p.setBrush(QColor(255, 224, 130));
                     p.drawEllipse(QPointF(14, 14), 11, 11);
                     p.setPen(Qt::NoPen);
                     p.setBrush(InkColour());
                     p.drawRect(QRectF(9.5, 8.5, 3.2, 11));
                     p.drawRect(QRectF(15.3, 8.5, 3.2, 11));
                 }));
    pictures.Add(kFolder + "toolbaricon_pg_skip.png", Draw([](QPainter& p) {
                     // An output with no LED on it (a dashed, empty socket) jumped over.
                     p.setPen(QPen(InkColour(), 1.2, Qt::DashLine));
                     p.setBrush(Qt::NoBrush);
                     p.drawEllipse(QPointF(14, 17), 5, 5);
                     p.setPen(Stroke(kAccent, 2));
                     QPainterPath arc;
                     arc.moveTo(4, 15);
                     arc.quadTo(14, 1, 24, 15);
                     p.drawPath(arc);
                     p.drawLine(QPointF(24, 15), QPointF(20.5, 13.5));
                     p.drawLine(QPointF(24, 15), QPointF(24.5, 11));
                 }));
    pictures.Add(kFolder + "toolbaricon_pg_reset.png", Draw([](QPainter& p) {
                     Grid(p, 0x1FF);
                     Badge(p, QColor(198, 40, 40), [](QPainter& q) {
                         q.setPen(Stroke(Qt::white, 1.6));
                         q.setBrush(Qt::NoBrush);
                         q.drawArc(QRectF(17.5, 17.5, 7, 7), 90 * 16, 270 * 16);
                         q.drawLine(QPointF(21, 17.5), QPointF(23, 16.2));
                     });
                 }));
    pictures.Add(kFolder + "toolbaricon_pg_socket.png", Draw([](QPainter& p) {
                     p.setPen(QPen(InkColour(), 1.2));
                     p.setBrush(QColor(236, 239, 241));
                     p.drawRect(QRectF(4.5, 2.5, 12, 20));
                     for (int row = 0; row < 4; ++row)
                         for (int column = 0; column < 2; ++column) {
                             p.setBrush(row == 1 && column == 0 ? kAccent : QColor(176, 190, 197));
                             p.drawRect(QRectF(6.5 + column * 5, 4.5 + row * 4.5, 3, 3));
                         }
                     Badge(p, QColor(46, 125, 50), [](QPainter& q) {
                         q.setPen(Stroke(Qt::white, 1.8));
                         q.drawLine(QPointF(18.5, 21), QPointF(20.5, 23));
                         q.drawLine(QPointF(20.5, 23), QPointF(24, 18.5));
                     });
                 }));
    pictures.Add(kFolder + "toolbaricon_mark_all.png",
                 Draw([](QPainter& p) { Grid(p, 0x1FF, QRectF(3.5, 3.5, 21, 21)); }));
    pictures.Add(kFolder + "toolbaricon_unmark_all.png",
                 Draw([](QPainter& p) { Grid(p, 0, QRectF(3.5, 3.5, 21, 21)); }));
    pictures.Add(kFolder + "toolbaricon_paint_marks.png", Draw([](QPainter& p) {
                     Grid(p, 0x013);
                     p.setPen(Stroke(QColor(121, 85, 72), 3));
                     p.drawLine(QPointF(25, 13), QPointF(17, 21));
                     p.setPen(Stroke(kAccent, 3.6));
                     p.drawLine(QPointF(17, 21), QPointF(15, 23.5));
                 }));
    pictures.Add(kFolder + "toolbaricon_erase_marks.png", Draw([](QPainter& p) {
                     Grid(p, 0x1EF);
                     p.setPen(QPen(InkColour(), 1.2));
                     p.setBrush(QColor(244, 143, 177));
                     p.translate(19, 20);
                     p.rotate(-40);
                     p.drawRoundedRect(QRectF(-6, -3.5, 12, 7), 1.5, 1.5);
                 }));
    pictures.Add(kFolder + "toolbaricon_layer_red.png", Layer(0));
    pictures.Add(kFolder + "toolbaricon_layer_green.png", Layer(1));
    pictures.Add(kFolder + "toolbaricon_layer_blue.png", Layer(2));
    pictures.Add(kFolder + "toolbaricon_decompose.png",
                 Draw([](QPainter& p) { FourCopies(p, true); }));
    pictures.Add(kFolder + "toolbaricon_clear_virtual.png", Draw([](QPainter& p) {
                     FourCopies(p, false);
                     p.setPen(Stroke(QColor(198, 40, 40), 2.6));
                     p.drawLine(QPointF(5, 23), QPointF(23, 5));
                 }));
}

} // namespace md::artgen
