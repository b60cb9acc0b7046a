#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

class QPaintDevice;
class QRegion;

namespace platform {

// The image a widget paints into while its window repaints, for widgets
// that cover whole rectangles with opaque pixels: starting a painter on a
// widget (its palette, font and state) costs more than copying the few
// thousand pixels of a typical repaint. Only 32-bit RGB images at a pixel
// ratio of 1, plain or premultiplied, are written this way, and only with
// opaque pixels; anything else takes a painter.
struct WindowPixels {
    QImage* image = nullptr;
    // Where the widget's top left corner lies in the image.
    QPoint origin;

    bool covers(const QRect& widgetRect) const { return image->rect().contains(widgetRect.translated(origin)); }
};

// From what a widget's redirected() gives in its paint event. Nothing when
// the widget paints into something else (a grab's pixmap, a shared painter).
std::optional<WindowPixels> windowPixels(QPaintDevice* device, const QPoint& redirectionOffset);

// Copies the parts of source that region covers (widget and source
// coordinates are the same) into the window's image. False, with nothing
// written, when source is not 32-bit RGB or the region reaches outside the
// window's image.
bool copyIntoWindowPixels(const WindowPixels& pixels, const QImage& source, const QRegion& region);

} // namespace platform
