#include "LightPictures.h"

#include "ArtStyle.h"
#include "PictureSet.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cstdio>

namespace md::artgen {

namespace {

/// Pixels per tenth of a millimetre: a 3.5 mm package becomes 56 pixels wide.
constexpr qreal kScale = 1.6;

/// The light-emitting chip with a soft glow of its colour around it.
void DrawDie(QPainter& painter, QPointF centre, qreal size, const QColor& colour)
{
    QRadialGradient glow(centre, size * 2.2);
    glow.setColorAt(0, QColor(colour.red(), colour.green(), colour.blue(), 150));
    glow.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, size * 2.2, size * 2.2);
    painter.setBrush(colour);
    painter.setPen(QPen(colour.darker(170), std::max<qreal>(0.6, size * 0.08)));
    painter.drawRect(QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size));
}

/// A surface-mount package seen from the top: white body, round resin lens, die in the middle
/// and a cut corner marking the cathode.
void DrawTopLed(QPainter& painter, const QRectF& area, const QColor& colour)
{
    const qreal side = std::min(area.width(), area.height());
    QPainterPath body;
    const qreal cut = side * 0.18;
    body.moveTo(area.left(), area.top());
    body.lineTo(area.right() - cut, area.top());
    body.lineTo(area.right(), area.top() + cut);
    body.lineTo(area.right(), area.bottom());
    body.lineTo(area.left(), area.bottom());
    body.closeSubpath();
    painter.setPen(QPen(QColor(150, 150, 142), std::max<qreal>(0.8, side * 0.03)));
    painter.setBrush(QColor(238, 238, 232));
    painter.drawPath(body);

    const qreal lens = side * 0.78;
    const QPointF centre = area.center();
    QRadialGradient resin(centre, lens / 2);
    resin.setColorAt(0, QColor(255, 253, 240));
    resin.setColorAt(1, QColor(226, 222, 200));
    painter.setPen(QPen(QColor(190, 186, 166), std::max<qreal>(0.6, side * 0.02)));
    painter.setBrush(resin);
    painter.drawEllipse(centre, lens / 2, lens / 2);
    DrawDie(painter, centre, side * 0.2, colour);
}

/// A chip LED (0805, 0603): a tinted resin block between two metal end caps.
void DrawChipLed(QPainter& painter, const QRectF& area, const QColor& colour)
{
    const qreal cap = area.width() * 0.2;
    painter.setPen(QPen(colour.darker(160), 0.8));
    painter.setBrush(colour.lighter(170));
    painter.drawRect(area);
    QLinearGradient metal(0, area.top(), 0, area.bottom());
    metal.setColorAt(0, QColor(222, 224, 228));
    metal.setColorAt(1, QColor(150, 152, 158));
    painter.setPen(QPen(QColor(110, 112, 118), 0.8));
    painter.setBrush(metal);
    painter.drawRect(QRectF(area.left(), area.top(), cap, area.height()));
    painter.drawRect(QRectF(area.right() - cap, area.top(), cap, area.height()));
    DrawDie(painter, area.center(), area.height() * 0.35, colour);
}

/// A through-hole lamp from above: tinted epoxy dome with a flat cathode side and the reflector
/// cup holding the die.
void DrawLamp(QPainter& painter, const QRectF& area, const QColor& colour)
{
    QPainterPath dome;
    dome.addEllipse(area);
    QPainterPath flat;
    flat.addRect(QRectF(area.left(), area.top(), area.width() * 0.08, area.height()));
    dome = dome.subtracted(flat);
    QRadialGradient epoxy(area.center() - QPointF(area.width() * 0.15, area.height() * 0.15),
                          std::max(area.width(), area.height()) * 0.7);
    epoxy.setColorAt(0, colour.lighter(175));
    epoxy.setColorAt(0.6, colour);
    epoxy.setColorAt(1, colour.darker(150));
    painter.setPen(QPen(colour.darker(200), std::max<qreal>(1.0, area.width() * 0.025)));
    painter.setBrush(epoxy);
    painter.drawPath(dome);
    const qreal cup = std::min(area.width(), area.height()) * 0.34;
    painter.setPen(QPen(QColor(90, 90, 96), 1));
    painter.setBrush(QColor(196, 198, 204, 200));
    painter.drawEllipse(area.center(), cup / 2, cup / 2);
    DrawDie(painter, area.center(), cup * 0.4, colour.lighter(130));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawEllipse(QRectF(area.left() + area.width() * 0.25, area.top() + area.height() * 0.14,
                               area.width() * 0.22, area.height() * 0.14));
}

QImage DrawLight(const QString& name, int width, int height, int colourIndex)
{
    const QSize size(std::max(8, qRound(width * kScale)), std::max(8, qRound(height * kScale)));
    QImage image = Canvas(size, Qt::transparent, false);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor colour = EmitColour(colourIndex);
    const QString package = name.section(QLatin1Char('_'), 0, 0).toUpper();
    if (package.startsWith(QLatin1String("DIP")))
        DrawLamp(painter, area, colour);
    else if (package == QLatin1String("SMD0805") || package == QLatin1String("SMD0603"))
        DrawChipLed(painter, area, colour);
    else
        DrawTopLed(painter, area, colour);
    return image;
}

} // namespace

bool AddLightPictures(PictureSet& pictures, const QString& programFolder)
{
    const QString listPath =
        QDir(programFolder).filePath(QStringLiteral("Lightlibrary/lights.json"));
    QFile file(listPath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "artgen: cannot read %s\n", qPrintable(listPath));
        return false;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isArray()) {
        std::fprintf(stderr, "artgen: %s is not a JSON array\n", qPrintable(listPath));
        return false;
    }
    for (const QJsonValue& entry : document.array()) {
        const QJsonObject light = entry.toObject();
        const QString name = light.value(QStringLiteral("name")).toString();
        const int width = light.value(QStringLiteral("width")).toInt();
        const int height = light.value(QStringLiteral("height")).toInt();
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || width <= 0 || height <= 0) {
            std::fprintf(stderr, "artgen: unusable light entry in %s\n", qPrintable(listPath));
            return false;
        }
        pictures.Add(QStringLiteral("Lightlibrary/") + name,
                     DrawLight(name, width, height, light.value(QStringLiteral("colour")).toInt()));
    }
    return true;
}

} // namespace md::artgen
