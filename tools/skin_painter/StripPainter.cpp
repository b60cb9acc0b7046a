#include "StripPainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>
#include <cstring>

namespace skin_painter {

namespace {

// Segments a to g of a seven-segment digit.
enum Segment { A, B, C, D, E, F, G };

// Which segments light for the digits 0 to 9, as bit masks of Segment.
constexpr std::array<unsigned, 10> kDigitSegments = {
    0b0111111, // 0: a b c d e f
    0b0000110, // 1: b c
    0b1011011, // 2: a b d e g
    0b1001111, // 3: a b c d g
    0b1100110, // 4: b c f g
    0b1101101, // 5: a c d f g
    0b1111101, // 6: a c d e f g
    0b0000111, // 7: a b c
    0b1111111, // 8
    0b1101111, // 9: a b c d f g
};

QPolygonF horizontalSegment(double left, double right, double y, double thickness) {
    const double half = thickness / 2;
    return QPolygonF({QPointF(left, y), QPointF(left + half, y - half), QPointF(right - half, y - half),
                      QPointF(right, y), QPointF(right - half, y + half), QPointF(left + half, y + half)});
}

QPolygonF verticalSegment(double x, double top, double bottom, double thickness) {
    const double half = thickness / 2;
    return QPolygonF({QPointF(x, top), QPointF(x + half, top + half), QPointF(x + half, bottom - half),
                      QPointF(x, bottom), QPointF(x - half, bottom - half), QPointF(x - half, top + half)});
}

std::array<QPolygonF, 7> segmentShapes(const QRectF& cell) {
    const double thickness = cell.width() * 0.17;
    const double gap = thickness * 0.3;
    const double left = cell.left() + cell.width() * 0.2;
    const double right = cell.right() - cell.width() * 0.2;
    const double top = cell.top() + cell.height() * 0.1;
    const double bottom = cell.bottom() - cell.height() * 0.1;
    const double middle = (top + bottom) / 2;
    return {horizontalSegment(left + gap, right - gap, top, thickness),
            verticalSegment(right, top + gap, middle - gap, thickness),
            verticalSegment(right, middle + gap, bottom - gap, thickness),
            horizontalSegment(left + gap, right - gap, bottom, thickness),
            verticalSegment(left, middle + gap, bottom - gap, thickness),
            verticalSegment(left, top + gap, middle - gap, thickness),
            horizontalSegment(left + gap, right - gap, middle, thickness)};
}

void fill(QPainter& painter, const QPolygonF& polygon, const QColor& colour) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    painter.fillPath(path, colour);
}

} // namespace

QImage StripPainter::digitStrip(const QSize& cell) const {
    const int cells = static_cast<int>(std::strlen(kDigitCharacters));
    QImage strip(cell.width() * cells, cell.height(), QImage::Format_RGB32);
    strip.fill(m_palette.lcd);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor ghost = blend(m_palette.lcd, m_palette.lcdText, 0.09);
    for (int index = 0; index < cells; ++index) {
        const QRectF area(index * cell.width(), 0, cell.width(), cell.height());
        const char character = kDigitCharacters[index];
        painter.save();
        // A slight forward slant, as on hardware displays.
        painter.translate(area.center());
        painter.shear(-0.07, 0);
        painter.translate(-area.center());
        if (character >= '0' && character <= '9') {
            const auto shapes = segmentShapes(area);
            const unsigned lit = kDigitSegments[static_cast<size_t>(character - '0')];
            for (int segment = A; segment <= G; ++segment)
                fill(painter, shapes[static_cast<size_t>(segment)], (lit >> segment) & 1 ? m_palette.lcdText : ghost);
        } else if (character == ':') {
            const double side = cell.width() * 0.17;
            for (double fraction : {0.33, 0.67}) {
                const QPointF centre(area.center().x(), area.top() + area.height() * fraction);
                painter.fillRect(QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side), m_palette.lcdText);
            }
        }
        painter.restore();
    }
    return strip;
}

QImage StripPainter::letterStrip(const QSize& cell) const {
    QImage strip(cell.width() * 30, cell.height() * 3, QImage::Format_RGB32);
    strip.fill(m_palette.lcd);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(cell.height() - 1);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    painter.setFont(font);
    painter.setPen(m_palette.lcdText);
    for (int row = 0; row < 3; ++row) {
        const char* characters = kLetterRows[row];
        for (int column = 0; characters[column] != '\0'; ++column) {
            const QRect area(column * cell.width(), row * cell.height(), cell.width(), cell.height());
            if (characters[column] == '_') {
                // The face puts its underscore below the cell; draw it on the
                // cell's last rows instead.
                painter.fillRect(QRect(area.left() + 1, area.bottom() - 1, area.width() - 2, 1), m_palette.lcdText);
                continue;
            }
            painter.drawText(area, Qt::AlignCenter, QString(QLatin1Char(characters[column])));
        }
    }
    return strip;
}

} // namespace skin_painter
