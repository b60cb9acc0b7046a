#pragma once

#include "FaceSet.h"
#include "Glyphs.h"
#include "Palette.h"
#include "SkinDefinition.h"

#include <QRect>
#include <QString>

class QPainter;

namespace skin_painter {

// The look of the skins: window bodies, panels, buttons, slots, scales and
// meters, painted in one palette. Every control is drawn inside the rectangle
// its hot area or gauge gets, so copying that rectangle from another face
// swaps exactly that control's look.
class ControlPainter {
public:
    explicit ControlPainter(const Palette& palette) : m_palette(palette) {}
    const Palette& palette() const { return m_palette; }

    void windowBody(QPainter& painter, const FaceSet& faces) const;
    // A darker strip at the top with the product mark and a window caption.
    void titleStrip(QPainter& painter, const QRect& area, const QString& caption) const;
    void recessedPanel(QPainter& painter, const QRect& area, const QColor& fill, double radius = 3) const;
    void lcdPanel(QPainter& painter, const QRect& area) const;
    void raisedPanel(QPainter& painter, const QRect& area, double radius = 5) const;

    void button(QPainter& painter, const QRect& area, FaceState state, const Glyph& glyph,
                bool accentGlyph = false) const;
    // An on/off switch: a LED and a caption; the pressed face shows it lit.
    void ledSwitch(QPainter& painter, const QRect& area, FaceState state, const QString& caption) const;

    void caption(QPainter& painter, const QRectF& area, const QString& text, double pixelSize, const QColor& colour,
                 Qt::Alignment alignment = Qt::AlignCenter, bool bold = true) const;

    // The slot a fader cap runs in, centred across the thumb's breadth.
    void faderSlot(QPainter& painter, const QRectF& slot) const;
    // Scale marks along a vertical travel from top to bottom; every
    // majorEvery-th mark is longer, and the middle mark is highlighted.
    void verticalScale(QPainter& painter, double x, double top, double bottom, int marks, int majorEvery, double length,
                       bool towardLeft) const;
    void horizontalScale(QPainter& painter, double y, double left, double right, int marks, int majorEvery,
                         double length) const;

    // A segmented level meter: the normal face shows it unlit, the pressed
    // face fully lit (gauges fill from the pressed face).
    void meter(QPainter& painter, const QRect& area, Orientation orientation, bool lit) const;
    // A plain bar gauge: trough, or filled with the accent.
    void bar(QPainter& painter, const QRect& area, bool filled) const;

private:
    Palette m_palette;
};

} // namespace skin_painter
