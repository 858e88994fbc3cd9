#include "ArtStyle.h"

namespace md::artgen {

QFont PixelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QColor EmitColour(int colourIndex)
{
    switch (colourIndex) {
    case 1:
        return QColor(40, 205, 90);
    case 2:
        return QColor(45, 100, 240);
    default:
        return QColor(235, 45, 40);
    }
}

QImage Canvas(QSize size, const QColor& fill, bool opaque)
{
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QColor InkColour()
{
    return QColor(55, 71, 79);
}

} // namespace md::artgen
