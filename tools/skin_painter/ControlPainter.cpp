#include "ControlPainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace skin_painter {

namespace {

QRectF crisp(const QRect& area) {
    return QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
}

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

} // namespace

void ControlPainter::windowBody(QPainter& painter, const FaceSet& faces) const {
    const QRectF bounds(QPointF(0, 0), QSizeF(faces.size()));
    painter.fillRect(bounds, m_palette.frame);
    // The body sits one pixel inside the frame; scaling the outline keeps the
    // corner shape.
    painter.save();
    const double scaleX = (bounds.width() - 2) / bounds.width();
    const double scaleY = (bounds.height() - 2) / bounds.height();
    painter.translate(1, 1);
    painter.scale(scaleX, scaleY);
    QLinearGradient body(0, 0, 0, bounds.height());
    body.setColorAt(0, m_palette.bodyTop);
    body.setColorAt(1, m_palette.bodyBottom);
    painter.fillPath(faces.outline(), body);
    painter.restore();
    // A faint brushed texture: fine horizontal lines.
    painter.save();
    painter.setClipPath(faces.outline());
    for (int y = 2; y < faces.size().height(); y += 2)
        painter.fillRect(QRectF(0, y, bounds.width(), 1), withAlpha(m_palette.bevelDark, 14));
    // Top edge highlight.
    painter.setPen(QPen(withAlpha(m_palette.bevelLight, 170), 1));
    painter.drawLine(QPointF(8, 1.5), QPointF(bounds.width() - 8, 1.5));
    painter.restore();
}

void ControlPainter::titleStrip(QPainter& painter, const QRect& area, const QString& caption) const {
    QLinearGradient strip(0, area.top(), 0, area.bottom());
    strip.setColorAt(0, withAlpha(m_palette.bevelDark, 40));
    strip.setColorAt(1, withAlpha(m_palette.bevelDark, 110));
    painter.fillRect(area, strip);
    painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), withAlpha(m_palette.bevelDark, 200));
    painter.fillRect(QRect(area.left(), area.bottom() + 1, area.width(), 1), withAlpha(m_palette.bevelLight, 60));

    QFont mark(captionFamily());
    mark.setPixelSize(11);
    mark.setBold(true);
    mark.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    painter.save();
    painter.setFont(mark);
    painter.setPen(m_palette.accent);
    const QRectF markArea(area.left() + 14, area.top(), 80, area.height());
    QRectF used;
    painter.drawText(markArea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DROVAN"), &used);
    QFont small(captionFamily());
    small.setPixelSize(9);
    small.setBold(true);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    painter.setFont(small);
    painter.setPen(m_palette.labelDim);
    painter.drawText(QRectF(used.right() + 8, area.top(), 200, area.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     caption);
    painter.restore();
}

void ControlPainter::recessedPanel(QPainter& painter, const QRect& area, const QColor& fill, double radius) const {
    const QRectF outer = crisp(area);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(m_palette.bevelLight, 90));
    painter.drawRoundedRect(outer.adjusted(0, 1, 0, 1), radius, radius);
    painter.setBrush(m_palette.bevelDark);
    painter.drawRoundedRect(outer, radius, radius);
    painter.setBrush(fill);
    painter.drawRoundedRect(outer.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    painter.restore();
}

void ControlPainter::lcdPanel(QPainter& painter, const QRect& area) const {
    // Flat glass: the glyph strips are copied onto it cell by cell with this
    // very background, so any shading would show as boxes around the texts.
    recessedPanel(painter, area, m_palette.lcd, 4);
}

void ControlPainter::raisedPanel(QPainter& painter, const QRect& area, double radius) const {
    const QRectF outer = crisp(area);
    painter.save();
    QLinearGradient fill(0, area.top(), 0, area.bottom());
    fill.setColorAt(0, blend(m_palette.bodyTop, m_palette.bevelLight, 0.15));
    fill.setColorAt(1, m_palette.bodyBottom);
    painter.setPen(QPen(m_palette.bevelDark, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(outer, radius, radius);
    painter.setPen(QPen(withAlpha(m_palette.bevelLight, 110), 1));
    painter.drawLine(QPointF(outer.left() + radius, outer.top() + 1), QPointF(outer.right() - radius, outer.top() + 1));
    painter.restore();
}

void ControlPainter::button(QPainter& painter, const QRect& area, FaceState state, const Glyph& glyph,
                            bool accentGlyph) const {
    const QRectF outer = crisp(area);
    const double radius = 3.5;
    painter.save();
    QLinearGradient fill(0, area.top(), 0, area.bottom());
    QColor rim = m_palette.bevelDark;
    QColor glyphColour = accentGlyph ? m_palette.accent : m_palette.glyph;
    QPointF glyphShift(0, 0);
    switch (state) {
    case FaceState::Normal:
        fill.setColorAt(0, m_palette.buttonTop);
        fill.setColorAt(1, m_palette.buttonBottom);
        break;
    case FaceState::Hover:
        fill.setColorAt(0, blend(m_palette.buttonTop, m_palette.accent, 0.18));
        fill.setColorAt(1, blend(m_palette.buttonBottom, m_palette.accent, 0.12));
        rim = m_palette.accent;
        glyphColour = blend(m_palette.glyph, m_palette.accent, 0.5).lighter(115);
        break;
    case FaceState::Pressed:
        fill.setColorAt(0, m_palette.buttonBottom.darker(135));
        fill.setColorAt(1, m_palette.buttonBottom);
        rim = m_palette.accent.darker(130);
        glyphColour = m_palette.accent;
        glyphShift = QPointF(0, 1);
        break;
    }
    // Drop shadow below, then the cap.
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(m_palette.bevelDark, 160));
    painter.drawRoundedRect(outer, radius, radius);
    painter.setBrush(fill);
    painter.setPen(QPen(rim, 1));
    painter.drawRoundedRect(outer.adjusted(0, 0, 0, -1), radius, radius);
    if (state == FaceState::Pressed) {
        painter.setPen(QPen(withAlpha(m_palette.bevelDark, 200), 1));
        painter.drawLine(QPointF(outer.left() + 2, outer.top() + 1.5), QPointF(outer.right() - 2, outer.top() + 1.5));
    } else {
        painter.setPen(QPen(withAlpha(Qt::white, state == FaceState::Hover ? 90 : 55), 1));
        painter.drawLine(QPointF(outer.left() + 3, outer.top() + 1.5), QPointF(outer.right() - 3, outer.top() + 1.5));
    }
    glyph(painter, QRectF(area).translated(glyphShift).adjusted(0, 0, 0, -1), glyphColour);
    painter.restore();
}

void ControlPainter::ledSwitch(QPainter& painter, const QRect& area, FaceState state, const QString& text) const {
    const bool lit = state == FaceState::Pressed;
    const QColor led = m_palette.meterGreen;
    button(painter, area, state == FaceState::Pressed ? FaceState::Normal : state,
           [&](QPainter& p, const QRectF& a, const QColor& colour) {
               const double diameter = 6;
               const QRectF dot(a.left() + 6, a.center().y() - diameter / 2, diameter, diameter);
               p.save();
               if (lit) {
                   QRadialGradient glow(dot.center(), diameter * 1.6);
                   glow.setColorAt(0, withAlpha(led, 200));
                   glow.setColorAt(1, withAlpha(led, 0));
                   p.setPen(Qt::NoPen);
                   p.setBrush(glow);
                   p.drawEllipse(dot.center(), diameter * 1.6, diameter * 1.6);
               }
               p.setPen(QPen(m_palette.bevelDark, 1));
               p.setBrush(lit ? led.lighter(130) : m_palette.unlit(led));
               p.drawEllipse(dot);
               p.restore();
               caption(p, QRectF(dot.right() + 3, a.top(), a.right() - dot.right() - 5, a.height()), text, 9,
                       lit ? m_palette.glyph : colour);
           });
}

void ControlPainter::caption(QPainter& painter, const QRectF& area, const QString& text, double pixelSize,
                             const QColor& colour, Qt::Alignment alignment, bool bold) const {
    QFont font(captionFamily());
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setBold(bold);
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, static_cast<int>(alignment), text);
    painter.restore();
}

void ControlPainter::faderSlot(QPainter& painter, const QRectF& slot) const {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(m_palette.bevelLight, 80));
    painter.drawRoundedRect(slot.adjusted(-1, -1, 1, 2), 2.5, 2.5);
    painter.setBrush(m_palette.bevelDark);
    painter.drawRoundedRect(slot.adjusted(-1, -1, 1, 1), 2.5, 2.5);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(slot, 2, 2);
    painter.restore();
}

void ControlPainter::verticalScale(QPainter& painter, double x, double top, double bottom, int marks, int majorEvery,
                                   double length, bool towardLeft) const {
    painter.save();
    for (int index = 0; index < marks; ++index) {
        const double y = std::round(top + (bottom - top) * index / (marks - 1)) + 0.5;
        const bool major = index % majorEvery == 0;
        const bool middle = marks % 2 == 1 && index == marks / 2;
        const double markLength = major ? length : length * 0.55;
        painter.setPen(QPen(middle ? m_palette.accent : (major ? m_palette.label : m_palette.labelDim), 1));
        const double end = towardLeft ? x - markLength : x + markLength;
        painter.drawLine(QPointF(x, y), QPointF(end, y));
    }
    painter.restore();
}

void ControlPainter::horizontalScale(QPainter& painter, double y, double left, double right, int marks, int majorEvery,
                                     double length) const {
    painter.save();
    for (int index = 0; index < marks; ++index) {
        const double x = std::round(left + (right - left) * index / (marks - 1)) + 0.5;
        const bool major = index % majorEvery == 0;
        const bool middle = marks % 2 == 1 && index == marks / 2;
        painter.setPen(QPen(middle ? m_palette.accent : (major ? m_palette.label : m_palette.labelDim), 1));
        painter.drawLine(QPointF(x, y), QPointF(x, y + (major ? length : length * 0.55)));
    }
    painter.restore();
}

void ControlPainter::meter(QPainter& painter, const QRect& area, Orientation orientation, bool lit) const {
    painter.save();
    painter.fillRect(area, Qt::black);
    const bool vertical = orientation == Orientation::Vertical;
    const int extent = vertical ? area.height() : area.width();
    const int pitch = 3; // two pixels lit, one dark
    const int segments = extent / pitch;
    for (int index = 0; index < segments; ++index) {
        // index 0 is the quiet end: the bottom of a vertical meter, the left of
        // a horizontal one.
        const double fraction = (index + 0.5) / segments;
        QColor colour = fraction < 0.68   ? m_palette.meterGreen
                        : fraction < 0.86 ? m_palette.meterYellow
                                          : m_palette.meterRed;
        if (!lit)
            colour = m_palette.unlit(colour);
        QRect segment;
        if (vertical)
            segment = QRect(area.left(), area.bottom() - (index + 1) * pitch + 2, area.width(), pitch - 1);
        else
            segment = QRect(area.left() + index * pitch, area.top(), pitch - 1, area.height());
        painter.fillRect(segment, colour);
    }
    painter.restore();
}

void ControlPainter::bar(QPainter& painter, const QRect& area, bool filled) const {
    painter.save();
    painter.fillRect(area, Qt::black);
    if (filled) {
        QLinearGradient fill(0, area.top(), 0, area.bottom() + 1);
        fill.setColorAt(0, m_palette.accent.lighter(135));
        fill.setColorAt(0.5, m_palette.accent);
        fill.setColorAt(1, m_palette.accent.darker(160));
        painter.fillRect(area.adjusted(0, 1, 0, -1), fill);
    } else {
        painter.fillRect(area.adjusted(0, 1, 0, -1), m_palette.panel);
    }
    // Tick every 10 % so the position reads like a ruler.
    for (int tenth = 1; tenth < 10; ++tenth) {
        const int x = area.left() + area.width() * tenth / 10;
        painter.fillRect(QRect(x, area.top() + 1, 1, area.height() - 2), withAlpha(Qt::black, 110));
    }
    painter.restore();
}

} // namespace skin_painter
