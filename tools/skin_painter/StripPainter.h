#pragma once

#include "Palette.h"

#include <QImage>
#include <QSize>

namespace skin_painter {

// The bitmap fonts of the skins. The skin engine copies whole cells onto the
// face, so the cell background is the display background they sit on.
class StripPainter {
public:
    // Characters of the digit strip, one cell each, in this order.
    static constexpr const char* kDigitCharacters = "0123456789: ";
    // The three rows of the letter strip, 30 cells each (row 2 uses 26).
    static constexpr const char* kLetterRows[3] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ@\"?*", "0123456789 .:<>-'!_+\\/[]^&%,=$",
                                                   "abcdefghijklmnopqrstuvwxyz"};

    explicit StripPainter(const Palette& palette) : m_palette(palette) {}

    // Seven-segment digits, with the unlit segments faintly visible.
    QImage digitStrip(const QSize& cell) const;
    // A monospaced face rendered into 30 × 3 cells.
    QImage letterStrip(const QSize& cell) const;

private:
    Palette m_palette;
};

} // namespace skin_painter
