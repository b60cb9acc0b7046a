#pragma once

#include "SkinElements.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace skins {

// Drawing on the composed face. Every operation clips to the face, to its
// source and to `clip`, so coordinates from a skin file can never reach
// outside an image, and a part of the face can be composed anew alone. The
// face and all sources are 32-bit RGB images.

// Reaches past any face.
inline constexpr PixelRect kEverywhere{-(int64_t{1} << 40), -(int64_t{1} << 40), int64_t{1} << 40, int64_t{1} << 40};

// Copies the whole of `source` with its top-left corner at (left, top).
void drawWhole(QImage& face, const QImage& source, int64_t left, int64_t top, const PixelRect& clip = kEverywhere);
// Copies the rectangle of `source` to the same rectangle of the face.
void copyRect(QImage& face, const QImage& source, const PixelRect& rect, const PixelRect& clip = kEverywhere);
// Copies the rectangle `from` of `source` with its top-left corner at
// (left, top) on the face.
void copyRectTo(QImage& face, const QImage& source, const PixelRect& from, int64_t left, int64_t top,
                const PixelRect& clip = kEverywhere);

// Draws a text with a bitmap-font strip, character i at left + i x cell
// width. `isDigitStrip` picks the one-row digit strip, else the three-row
// letter strip. A strip too small for its cells draws nothing.
void drawStripText(QImage& face, const QImage& strip, bool isDigitStrip, const QString& text, int64_t left, int64_t top,
                   const PixelRect& clip = kEverywhere);
// Where that draws the text.
PixelRect stripTextRect(const QImage& strip, bool isDigitStrip, const QString& text, int64_t left, int64_t top);
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
void drawRenderedText(QImage& face, const RenderedText& text, int64_t left, int64_t top,
                      const PixelRect& clip = kEverywhere);
// Where that puts the text's image.
PixelRect renderedTextRect(const RenderedText& text, int64_t left, int64_t top);

} // namespace skins
