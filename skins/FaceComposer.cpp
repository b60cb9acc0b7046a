#include "FaceComposer.h"

#include "BitmapFont.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace skins {

void copyRectTo(QImage& face, const QImage& source, const PixelRect& from, int64_t left, int64_t top) {
    if (face.isNull() || source.isNull())
        return;
    // Clip the source rectangle to the source image, moving the target
    // with it, then clip the target to the face.
    int64_t sourceLeft = std::max<int64_t>(from.left, 0);
    int64_t sourceTop = std::max<int64_t>(from.top, 0);
    int64_t sourceRight = std::min<int64_t>(from.right, source.width());
    int64_t sourceBottom = std::min<int64_t>(from.bottom, source.height());
    int64_t targetLeft = left + (sourceLeft - from.left);
    int64_t targetTop = top + (sourceTop - from.top);
    if (targetLeft < 0) {
        sourceLeft -= targetLeft;
        targetLeft = 0;
    }
    if (targetTop < 0) {
        sourceTop -= targetTop;
        targetTop = 0;
    }
    sourceRight = std::min<int64_t>(sourceRight, sourceLeft + (face.width() - targetLeft));
    sourceBottom = std::min<int64_t>(sourceBottom, sourceTop + (face.height() - targetTop));
    if (sourceRight <= sourceLeft || sourceBottom <= sourceTop)
        return;
    const auto bytes = static_cast<size_t>(sourceRight - sourceLeft) * sizeof(QRgb);
    for (int64_t y = sourceTop; y < sourceBottom; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(y))) + sourceLeft;
        auto* to = reinterpret_cast<QRgb*>(face.scanLine(static_cast<int>(targetTop + (y - sourceTop)))) + targetLeft;
        std::memcpy(to, from, bytes);
    }
}

QRect differingRect(const QImage& before, const QImage& after) {
    if (before.size() != after.size() || before.format() != after.format())
        return after.rect().united(before.rect());
    const int width = after.width();
    const auto rowBytes = static_cast<size_t>(width) * sizeof(QRgb);
    const auto rowsDiffer = [&](int y) {
        return std::memcmp(before.constScanLine(y), after.constScanLine(y), rowBytes) != 0;
    };
    int top = 0;
    while (top < after.height() && !rowsDiffer(top))
        ++top;
    if (top == after.height())
        return {};
    int bottom = after.height() - 1;
    while (bottom > top && !rowsDiffer(bottom))
        --bottom;
    int left = width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* to = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < left; ++x) {
            if (from[x] != to[x]) {
                left = x;
                break;
            }
        }
        for (int x = width - 1; x > right; --x) {
            if (from[x] != to[x]) {
                right = x;
                break;
            }
        }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void drawWhole(QImage& face, const QImage& source, int64_t left, int64_t top) {
    copyRectTo(face, source, PixelRect::fromSize(0, 0, source.width(), source.height()), left, top);
}

void copyRect(QImage& face, const QImage& source, const PixelRect& rect) {
    copyRectTo(face, source, rect, rect.left, rect.top);
}

void drawStripText(QImage& face, const QImage& strip, bool isDigitStrip, const QString& text, int64_t left,
                   int64_t top) {
    if (strip.isNull())
        return;
    const int cellWidth = strip.width() / (isDigitStrip ? kDigitCells : kLetterCells);
    const int cellHeight = isDigitStrip ? strip.height() : strip.height() / kLetterRows;
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
        copyRectTo(face, strip, cell, x, top);
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

void drawRenderedText(QImage& face, const RenderedText& text, int64_t left, int64_t top) {
    if (text.image.isNull() || face.isNull())
        return;
    const int64_t x = left + text.offset.x();
    const int64_t y = top + text.offset.y();
    if (x >= face.width() || y >= face.height() || x + text.image.width() <= 0 || y + text.image.height() <= 0)
        return;
    QPainter painter(&face);
    painter.drawImage(QPoint(static_cast<int>(x), static_cast<int>(y)), text.image);
}

} // namespace skins
