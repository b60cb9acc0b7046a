#include "Glyphs.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace skin_painter {

QString captionFamily() {
    return QStringLiteral("Liberation Sans");
}

namespace glyphs {

namespace {

// Symbols are designed in a square of this many units and scaled to the area.
constexpr double kUnits = 16.0;

void drawScaled(QPainter& painter, const QRectF& area, double sizeFraction, const std::function<void()>& shapes) {
    const double side = std::min(area.width(), area.height()) * sizeFraction;
    painter.save();
    painter.translate(area.center().x() - side / 2, area.center().y() - side / 2);
    painter.scale(side / kUnits, side / kUnits);
    shapes();
    painter.restore();
}

void fillPolygon(QPainter& painter, const QPolygonF& polygon, const QColor& colour) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    painter.fillPath(path, colour);
}

QPolygonF rightTriangle(double left, double right) {
    return QPolygonF({QPointF(left, 2), QPointF(right, 8), QPointF(left, 14)});
}

QPolygonF leftTriangle(double left, double right) {
    return QPolygonF({QPointF(right, 2), QPointF(left, 8), QPointF(right, 14)});
}

} // namespace

Glyph play() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.62, [&] { fillPolygon(painter, rightTriangle(3, 14), colour); });
    };
}

Glyph playPause() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.62, [&] {
            fillPolygon(painter, rightTriangle(0, 8.5), colour);
            painter.fillRect(QRectF(10, 2.5, 2.2, 11), colour);
            painter.fillRect(QRectF(13.8, 2.5, 2.2, 11), colour);
        });
    };
}

Glyph stop() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.5, [&] { painter.fillRect(QRectF(2, 2, 12, 12), colour); });
    };
}

Glyph rewind() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.62, [&] {
            fillPolygon(painter, leftTriangle(0, 8), colour);
            fillPolygon(painter, leftTriangle(8, 16), colour);
        });
    };
}

Glyph forward() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.62, [&] {
            fillPolygon(painter, rightTriangle(0, 8), colour);
            fillPolygon(painter, rightTriangle(8, 16), colour);
        });
    };
}

Glyph eject() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.6, [&] {
            fillPolygon(painter, QPolygonF({QPointF(1, 10), QPointF(8, 2), QPointF(15, 10)}), colour);
            painter.fillRect(QRectF(1, 12, 14, 2.5), colour);
        });
    };
}

Glyph triangleUp() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.55, [&] {
            fillPolygon(painter, QPolygonF({QPointF(2, 12), QPointF(8, 4), QPointF(14, 12)}), colour);
        });
    };
}

Glyph triangleDown() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.55, [&] {
            fillPolygon(painter, QPolygonF({QPointF(2, 4), QPointF(8, 12), QPointF(14, 4)}), colour);
        });
    };
}

Glyph triangleLeft() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.55, [&] { fillPolygon(painter, leftTriangle(4, 12), colour); });
    };
}

Glyph triangleRight() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.55, [&] { fillPolygon(painter, rightTriangle(4, 12), colour); });
    };
}

Glyph plus() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.5, [&] {
            painter.fillRect(QRectF(2, 6.75, 12, 2.5), colour);
            painter.fillRect(QRectF(6.75, 2, 2.5, 12), colour);
        });
    };
}

Glyph minus() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.5, [&] { painter.fillRect(QRectF(2, 6.75, 12, 2.5), colour); });
    };
}

Glyph close() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.5, [&] {
            QPen pen(colour, 2.6, Qt::SolidLine, Qt::RoundCap);
            painter.setPen(pen);
            painter.drawLine(QPointF(3, 3), QPointF(13, 13));
            painter.drawLine(QPointF(13, 3), QPointF(3, 13));
        });
    };
}

Glyph minimise() {
    return [](QPainter& painter, const QRectF& area, const QColor& colour) {
        drawScaled(painter, area, 0.5, [&] { painter.fillRect(QRectF(3, 11, 10, 2.6), colour); });
    };
}

Glyph text(const QString& caption, double pixelSize, bool bold) {
    return [caption, pixelSize, bold](QPainter& painter, const QRectF& area, const QColor& colour) {
        QFont font(captionFamily());
        font.setPixelSize(static_cast<int>(pixelSize));
        font.setBold(bold);
        font.setHintingPreference(QFont::PreferFullHinting);
        painter.save();
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(area, Qt::AlignCenter, caption);
        painter.restore();
    };
}

Glyph withCaption(const Glyph& symbol, const QString& caption, double pixelSize, bool symbolFirst) {
    return [symbol, caption, pixelSize, symbolFirst](QPainter& painter, const QRectF& area, const QColor& colour) {
        QFont font(captionFamily());
        font.setPixelSize(static_cast<int>(pixelSize));
        font.setBold(true);
        const double textWidth = QFontMetricsF(font).horizontalAdvance(caption);
        const double symbolSide = pixelSize * 1.9;
        const double gap = 1;
        const double total = textWidth + gap + symbolSide;
        const double left = area.center().x() - total / 2;
        QRectF symbolArea;
        QRectF textArea;
        if (symbolFirst) {
            symbolArea = QRectF(left, area.center().y() - symbolSide / 2, symbolSide, symbolSide);
            textArea = QRectF(left + symbolSide + gap, area.top(), textWidth + 1, area.height());
        } else {
            textArea = QRectF(left, area.top(), textWidth + 1, area.height());
            symbolArea = QRectF(left + textWidth + gap, area.center().y() - symbolSide / 2, symbolSide, symbolSide);
        }
        symbol(painter, symbolArea, colour);
        text(caption, pixelSize)(painter, textArea, colour);
    };
}

} // namespace glyphs
} // namespace skin_painter
