#pragma once

#include <QColor>

namespace skin_painter {

// Every colour a skin is painted with. Two families exist: a dark one for the
// shipped skin and a light one that makes a deliberately different skin.
struct Palette {
    QColor frame;   // outermost rim of a window
    QColor bodyTop; // window body gradient
    QColor bodyBottom;
    QColor bevelLight; // raised edges
    QColor bevelDark;  // recessed edges
    QColor panel;      // recessed panels (lists, slots)
    QColor lcd;        // display background, also the cell background of the glyph strips
    QColor lcdText;    // display glyphs
    QColor lcdDim;     // unlit segments and secondary display texts
    QColor label;      // painted captions
    QColor labelDim;   // scale marks and small print
    QColor buttonTop;  // button gradient
    QColor buttonBottom;
    QColor glyph;  // button symbols at rest
    QColor accent; // lit controls, hover rims, gauge fills
    QColor meterGreen;
    QColor meterYellow;
    QColor meterRed;
    QColor capTop; // fader cap gradient
    QColor capBottom;

    static Palette dark(const QColor& accent);
    static Palette light(const QColor& accent);

    // The unlit version of a meter or LED colour.
    QColor unlit(const QColor& colour) const;
};

// The colour a of which the given share is replaced by b (0: a, 1: b).
QColor blend(const QColor& a, const QColor& b, double shareOfB);

} // namespace skin_painter
