#include "FaceComposer.h"

#include "BitmapFont.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace skins {
namespace {

QSize stripCellSize(const QImage& strip, bool isDigitStrip) {
    return {strip.width() / (isDigitStrip ? kDigitCells : kLetterCells),
            isDigitStrip ? strip.height() : strip.height() / kLetterRows};
}

} // namespace

void copyRectTo(QImage& face, const QImage& source, const PixelRect& from, int64_t left, int64_t top,
                const PixelRect& clip) {
    if (face.isNull() || source.isNull())
        return;
    // Every limit, the target's included, is taken in source coordinates;
    // a target pixel is its source pixel moved by (dx, dy).
    const int64_t dx = left - from.left;
    const int64_t dy = top - from.top;
    const int64_t sourceLeft = std::max({from.left, int64_t{0}, clip.left - dx, -dx});
    const int64_t sourceTop = std::max({from.top, int64_t{0}, clip.top - dy, -dy});
    const int64_t sourceRight = std::min({from.right, int64_t{source.width()}, clip.right - dx, face.width() - dx});
    const int64_t sourceBottom =
        std::min({from.bottom, int64_t{source.height()}, clip.bottom - dy, face.height() - dy});
    if (sourceRight <= sourceLeft || sourceBottom <= sourceTop)
        return;
    const auto bytes = static_cast<size_t>(sourceRight - sourceLeft) * sizeof(QRgb);
    for (int64_t y = sourceTop; y < sourceBottom; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(y))) + sourceLeft;
        auto* to = reinterpret_cast<QRgb*>(face.scanLine(static_cast<int>(y + dy))) + (sourceLeft + dx);
        std::memcpy(to, row, bytes);
    }
}

void drawWhole(QImage& face, const QImage& source, int64_t left, int64_t top, const PixelRect& clip) {
    copyRectTo(face, source, PixelRect::fromSize(0, 0, source.width(), source.height()), left, top, clip);
}

void copyRect(QImage& face, const QImage& source, const PixelRect& rect, const PixelRect& clip) {
    copyRectTo(face, source, rect, rect.left, rect.top, clip);
}

PixelRect stripTextRect(const QImage& strip, bool isDigitStrip, const QString& text, int64_t left, int64_t top) {
    const QSize cellSize = stripCellSize(strip, isDigitStrip);
    return PixelRect::fromSize(left, top, int64_t{cellSize.width()} * text.size(), cellSize.height());
}

void drawStripText(QImage& face, const QImage& strip, bool isDigitStrip, const QString& text, int64_t left, int64_t top,
                   const PixelRect& clip) {
    if (strip.isNull())
        return;
    const QSize cellSize = stripCellSize(strip, isDigitStrip);
    const int cellWidth = cellSize.width();
    const int cellHeight = cellSize.height();
    if (cellWidth <= 0 || cellHeight <= 0)
        return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int64_t x = left + static_cast<int64_t>(i) * cellWidth;
        if (x >= face.width())
            break;
        PixelRect cell;
        if (isDigitStrip) {
            cell = PixelRect::fromSize(int64_t{digitCell(text[i])} * cellWidth, 0, cellWidth, cellHeight);
        } else {
            const LetterCell glyph = letterCell(text[i]);
            cell = PixelRect::fromSize(int64_t{glyph.cell} * cellWidth, int64_t{glyph.row} * cellHeight, cellWidth,
                                       cellHeight);
        }
        copyRectTo(face, strip, cell, x, top, clip);
    }
}

RenderedText renderFontText(const SkinFontInfo& fontInfo, const QString& text) {
    RenderedText rendered{text, {}, {}};
    if (text.isEmpty())
        return rendered;
    const QFont font = fontInfo.font();
    // Measured against an image like the one drawn into, so sizes in points
    // come out as they would on the face.
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    const QFontMetrics metrics(font, &probe);
    // Italic and some glyphs reach past their advance; the bounding rect is
    // relative to the baseline.
    const QRect bounds = metrics.boundingRect(text).united(
        QRect(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height()));
    if (bounds.isEmpty() || bounds.width() > 100000 || bounds.height() > 100000)
        return rendered;
    rendered.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    rendered.image.fill(Qt::transparent);
    rendered.offset = QPoint(bounds.left(), metrics.ascent() + bounds.top());
    QPainter painter(&rendered.image);
    painter.setFont(font);
    painter.setPen(fontInfo.color());
    painter.drawText(QPoint(-bounds.left(), -bounds.top()), text);
    return rendered;
}

PixelRect renderedTextRect(const RenderedText& text, int64_t left, int64_t top) {
    return PixelRect::fromSize(left + text.offset.x(), top + text.offset.y(), text.image.width(), text.image.height());
}

void drawRenderedText(QImage& face, const RenderedText& text, int64_t left, int64_t top, const PixelRect& clip) {
    if (text.image.isNull() || face.isNull())
        return;
    const PixelRect target = renderedTextRect(text, left, top);
    const PixelRect visible =
        target.intersected(clip).intersected(PixelRect::fromSize(0, 0, face.width(), face.height()));
    if (visible.isEmpty())
        return;
    QPainter painter(&face);
    painter.setClipRect(visible.toQRect());
    painter.drawImage(QPoint(static_cast<int>(target.left), static_cast<int>(target.top)), text.image);
}

} // namespace skins
