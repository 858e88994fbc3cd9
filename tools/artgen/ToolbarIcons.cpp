#include "ToolbarIcons.h"

#include "ArtStyle.h"
#include "PictureSet.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <cmath>

namespace md::artgen {

namespace {

const QString kFolder = QStringLiteral("Modules/ModuleDesignUIPlugin/");
constexpr int kIcon = 28;
const QColor kAccent(25, 118, 210);

QImage Blank()
{
    return Canvas({kIcon, kIcon}, Qt::transparent, false);
}

void Prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
}

QPen Stroke(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

/// A magnifying glass with a plus (zoom in) or a minus (zoom out) in its lens.
QImage Magnifier(bool plus)
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    const QPointF lens(11.5, 11.5);
    painter.setPen(Stroke(InkColour(), 3.6));
    painter.drawLine(QPointF(17.5, 17.5), QPointF(24.5, 24.5));
    painter.setPen(Stroke(InkColour(), 2.2));
    painter.setBrush(QColor(227, 242, 253));
    painter.drawEllipse(lens, 8, 8);
    painter.setPen(Stroke(kAccent, 2.2));
    painter.drawLine(QPointF(7.5, 11.5), QPointF(15.5, 11.5));
    if (plus)
        painter.drawLine(QPointF(11.5, 7.5), QPointF(11.5, 15.5));
    return image;
}

/// An arrow turning back over the top to the left: undo the last step.
QImage Undo()
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    painter.setPen(Stroke(InkColour(), 2.6));
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(6, 7, 16, 16);
    painter.drawArc(circle, -60 * 16, 230 * 16);
    // The head sits where the arc ends, on the left, pointing down along the arc.
    QPainterPath head;
    head.moveTo(2.0, 13.0);
    head.lineTo(11.0, 13.0);
    head.lineTo(6.5, 19.5);
    head.closeSubpath();
    painter.setPen(Stroke(InkColour(), 1.0));
    painter.setBrush(InkColour());
    painter.drawPath(head);
    return image;
}

/// A white tick on a green disc: finish the design.
QImage Finish()
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    painter.setPen(QPen(QColor(27, 110, 46), 1.2));
    painter.setBrush(QColor(56, 160, 72));
    painter.drawEllipse(QPointF(14, 14), 11.5, 11.5);
    painter.setPen(Stroke(Qt::white, 2.8));
    painter.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(8.5, 14.5);
    tick.lineTo(12.5, 18.5);
    tick.lineTo(19.5, 9.5);
    painter.drawPath(tick);
    return image;
}

/// A gear with eight teeth: the connector options.
QImage Options()
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    const QPointF centre(14, 14);
    QPainterPath gear;
    gear.addEllipse(centre, 8.5, 8.5);
    for (int tooth = 0; tooth < 8; ++tooth) {
        QPainterPath rect;
        rect.addRoundedRect(QRectF(-2.4, -12.5, 4.8, 6), 1, 1);
        gear = gear.united(
            QTransform().translate(centre.x(), centre.y()).rotate(tooth * 45).map(rect));
    }
    QPainterPath hole;
    hole.addEllipse(centre, 3.6, 3.6);
    gear = gear.subtracted(hole);
    painter.setPen(QPen(InkColour().darker(130), 1));
    painter.setBrush(QColor(96, 125, 139));
    painter.drawPath(gear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawEllipse(centre, 6.2, 6.2);
    return image;
}

/// A grid of traced points with a dashed virtual point and a plus in its middle.
QImage InsertVirtualPoint()
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(InkColour());
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (row != 1 || column != 1)
                painter.drawEllipse(QPointF(5 + column * 9, 5 + row * 9), 2.4, 2.4);
    const QColor orange(239, 108, 0);
    painter.setPen(QPen(orange, 1.6, Qt::DashLine, Qt::RoundCap));
    painter.setBrush(QColor(255, 243, 224));
    painter.drawEllipse(QPointF(14, 14), 5.5, 5.5);
    painter.setPen(Stroke(orange, 2.0));
    painter.drawLine(QPointF(11, 14), QPointF(17, 14));
    painter.drawLine(QPointF(14, 11), QPointF(14, 17));
    return image;
}

/// An empty grid of pixels with a green plus in its corner: a new layout.
QImage NewLayout()
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    painter.setPen(QPen(InkColour(), 1.2));
    painter.setBrush(QColor(208, 255, 208));
    painter.drawRect(QRectF(2.5, 2.5, 18, 18));
    for (int i = 1; i < 3; ++i) {
        painter.drawLine(QPointF(2.5 + 6 * i, 2.5), QPointF(2.5 + 6 * i, 20.5));
        painter.drawLine(QPointF(2.5, 2.5 + 6 * i), QPointF(20.5, 2.5 + 6 * i));
    }
    const QColor green(46, 125, 50);
    painter.setPen(Qt::NoPen);
    painter.setBrush(green);
    painter.drawEllipse(QPointF(21, 21), 6, 6);
    painter.setPen(Stroke(Qt::white, 2.2));
    painter.drawLine(QPointF(18, 21), QPointF(24, 21));
    painter.drawLine(QPointF(21, 18), QPointF(21, 24));
    return image;
}

/// A framed landscape with two marker points: the module's background picture.
QImage Background()
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    painter.setPen(QPen(InkColour(), 1.6));
    painter.setBrush(QColor(227, 242, 253));
    painter.drawRoundedRect(QRectF(2.5, 4.5, 23, 19), 2, 2);
    QPainterPath hills;
    hills.moveTo(3.5, 21);
    hills.lineTo(10, 13);
    hills.lineTo(14, 17);
    hills.lineTo(18.5, 11);
    hills.lineTo(24.5, 21);
    hills.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(102, 187, 106));
    painter.drawPath(hills);
    painter.setBrush(QColor(229, 57, 53));
    painter.drawRect(QRectF(4.5, 7, 4, 4));
    painter.drawRect(QRectF(19.5, 7, 4, 4));
    return image;
}

/// A camera whose lens sees one lit LED of a small grid: tracing by camera.
QImage Camera()
{
    QImage image = Blank();
    QPainter painter(&image);
    Prepare(painter);
    painter.setPen(Stroke(InkColour(), 1.4));
    painter.setBrush(QColor(207, 216, 220));
    painter.drawRoundedRect(QRectF(2.5, 8.5, 19, 13), 2.5, 2.5);
    painter.drawRect(QRectF(6.5, 5.5, 6, 3));
    painter.setBrush(QColor(55, 71, 79));
    painter.drawEllipse(QPointF(12, 15), 4.6, 4.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 213, 79));
    painter.drawEllipse(QPointF(12, 15), 1.8, 1.8);
    // The module: three rows of LEDs, one lit.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) {
            painter.setBrush(x == 1 && y == 1 ? QColor(229, 57, 53) : QColor(144, 164, 174));
            painter.drawEllipse(QPointF(23.5 + x * 2.6, 10.5 + y * 4), 1.1, 1.1);
        }
    return image;
}

} // namespace

void AddToolbarIcons(PictureSet& pictures)
{
    pictures.Add(kFolder + "toolbaricon_magnify.png", Magnifier(true));
    pictures.Add(kFolder + "toolbaricon_zoolout.png", Magnifier(false));
    pictures.Add(kFolder + "toolbaricon_repeat.png", Undo());
    pictures.Add(kFolder + "toolbaricon_finish.png", Finish());
    pictures.Add(kFolder + "toolbaricon_option.png", Options());
    pictures.Add(kFolder + "toolbaricon_ivp.png", InsertVirtualPoint());
    pictures.Add(kFolder + "toolbaricon_newlayout.png", NewLayout());
    pictures.Add(kFolder + "toolbaricon_background.png", Background());
    pictures.Add(kFolder + "toolbaricon_camera.png", Camera());
}

} // namespace md::artgen
