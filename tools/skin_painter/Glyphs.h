#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

namespace skin_painter {

// Draws a symbol centred in an area in one colour.
using Glyph = std::function<void(QPainter&, const QRectF& area, const QColor& colour)>;

// The symbols of the skins' buttons, drawn as vector shapes so they stay crisp
// at any button size.
namespace glyphs {

Glyph play();
Glyph playPause();
Glyph stop();
Glyph rewind();
Glyph forward();
Glyph eject();
Glyph triangleUp();
Glyph triangleDown();
Glyph triangleLeft();
Glyph triangleRight();
Glyph plus();
Glyph minus();
Glyph close();
Glyph minimise();
Glyph text(const QString& caption, double pixelSize, bool bold = true);
// A symbol and a caption side by side.
Glyph withCaption(const Glyph& symbol, const QString& caption, double pixelSize, bool symbolFirst = true);

} // namespace glyphs

// The face name used for every painted caption; "Arial" resolves to the same
// family on the target systems, so painted and engine-drawn texts match.
QString captionFamily();

} // namespace skin_painter
