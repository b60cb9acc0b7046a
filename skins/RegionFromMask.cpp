#include "RegionFromMask.h"

#include <algorithm>

namespace skins {

KeyColorRange KeyColorRange::from(QColor key, QColor tolerance) {
    KeyColorRange range{};
    range.lowRed = key.red();
    range.lowGreen = key.green();
    range.lowBlue = key.blue();
    range.highRed = std::min(255, key.red() + tolerance.red());
    range.highGreen = std::min(255, key.green() + tolerance.green());
    range.highBlue = std::min(255, key.blue() + tolerance.blue());
    return range;
}

bool KeyColorRange::contains(QRgb pixel) const {
    const int red = qRed(pixel);
    const int green = qGreen(pixel);
    const int blue = qBlue(pixel);
    return red >= lowRed && red <= highRed && green >= lowGreen && green <= highGreen && blue >= lowBlue &&
           blue <= highBlue;
}

MaskRuns scanMaskRuns(const QImage& mask, const KeyColorRange& range) {
    MaskRuns runs;
    const QImage pixels = mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
                              ? mask
                              : mask.convertToFormat(QImage::Format_RGB32);
    const int width = pixels.width();
    const int height = pixels.height();
    std::vector<QRect> list;
    list.reserve(MaskRuns::kListGrowth);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            const int start = x;
            while (x < width && !range.contains(line[x]))
                ++x;
            if (x > start) {
                if (list.size() == list.capacity())
                    list.reserve(list.capacity() + MaskRuns::kListGrowth);
                list.emplace_back(QPoint(start, y), QPoint(x - 1, y));
                if (list.size() == MaskRuns::kRectanglesPerBatch) {
                    runs.batches.push_back(std::move(list));
                    list = {};
                    list.reserve(MaskRuns::kListGrowth);
                }
            }
            ++x;
        }
    }
    runs.batches.push_back(std::move(list));
    return runs;
}

std::optional<QRegion> CreateRegionFromMask(const QImage& mask, QColor keyColor, QColor tolerance) {
    if (mask.isNull())
        return std::nullopt;
    const MaskRuns runs = scanMaskRuns(mask, KeyColorRange::from(keyColor, tolerance));
    QRegion result;
    for (const std::vector<QRect>& batch : runs.batches) {
        if (batch.empty())
            continue;
        // The runs of a batch are sorted by row, then column, never touch
        // each other within a row and share their height per row: the
        // banded form setRects takes without further checks.
        QRegion part;
        part.setRects(batch.data(), static_cast<int>(batch.size()));
        result = result.united(part);
    }
    return result;
}

} // namespace skins
