#pragma once

#include "Palette.h"
#include "SkinDefinition.h"

#include <QImage>
#include <QSize>

namespace skin_painter {

// Fader caps, the thumb images of trackbars. The skin engine draws them
// opaque, so they fill their whole rectangle.
class ThumbPainter {
public:
    explicit ThumbPainter(const Palette& palette) : m_palette(palette) {}

    // A cap that travels along the given orientation; the active cap (while
    // dragged) has a lit index line.
    QImage cap(const QSize& size, Orientation travel, bool active) const;

private:
    Palette m_palette;
};

} // namespace skin_painter
