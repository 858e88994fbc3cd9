#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>

/// Shared look of the generated pictures: fonts, the three LED colours and blank canvases.
namespace md::artgen {

enum class LedColour
{
    Red = 0,
    Green = 1,
    Blue = 2
};

/// A sans-serif font sized in pixels, so the pictures do not depend on the screen's resolution.
QFont PixelFont(int pixelSize, bool bold = true);
/// The emitting colour of a light of the given colour index (0 red, 1 green, 2 blue).
QColor EmitColour(int colourIndex);
/// A canvas filled with the colour; opaque canvases are saved without alpha (bitmaps).
QImage Canvas(QSize size, const QColor& fill, bool opaque);
/// The stroke colour of toolbar glyphs and pictograms.
QColor InkColour();

} // namespace md::artgen
