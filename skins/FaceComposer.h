#pragma once

#include "SkinElements.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace skins {

// Drawing on the composed face. Every operation clips to the face and to
// its source, so coordinates from a skin file can never reach outside an
// image. The face and all sources are 32-bit RGB images.

// Copies the whole of `source` with its top-left corner at (left, top).
void drawWhole(QImage& face, const QImage& source, int64_t left, int64_t top);
// Copies the rectangle of `source` to the same rectangle of the face.
void copyRect(QImage& face, const QImage& source, const PixelRect& rect);
// Copies the rectangle `from` of `source` with its top-left corner at
// (left, top) on the face.
void copyRectTo(QImage& face, const QImage& source, const PixelRect& from, int64_t left, int64_t top);

// Draws a text with a bitmap-font strip, character i at left + i x cell
// width. `isDigitStrip` picks the one-row digit strip, else the three-row
// letter strip. A strip too small for its cells draws nothing.
void drawStripText(QImage& face, const QImage& strip, bool isDigitStrip, const QString& text, int64_t left,
                   int64_t top);
// A display's text drawn with its font over a transparent background once, to be laid on the face at each
// compose: shaping a text costs far more than blending its pixels.
struct RenderedText {
    QString text;
    // Premultiplied, transparent around the glyphs; null for an empty text.
    QImage image;
    // From the display's top-left corner to the image's.
    QPoint offset;
};
RenderedText renderFontText(const SkinFontInfo& font, const QString& text);
// Lays the text on the face, its display's top-left corner at (left, top).
void drawRenderedText(QImage& face, const RenderedText& text, int64_t left, int64_t top);

// The smallest rectangle holding every pixel in which two faces of the same
// size and format differ; empty when they are equal. Faces of different
// sizes differ everywhere (the larger one's rectangle).
QRect differingRect(const QImage& before, const QImage& after);

} // namespace skins
