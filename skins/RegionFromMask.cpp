#include "RegionFromMask.h"

#include "SkinError.h"

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
    size_t total = 0;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            const int start = x;
            while (x < width && !range.contains(line[x]))
                ++x;
            if (x > start) {
                if (++total > MaskRuns::kMaximumRuns)
                    throw ESkinError("The skin's mask has more than " + std::to_string(MaskRuns::kMaximumRuns) +
                                     " separate pieces");
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

namespace {

// The toolkit takes a rectangle list without checks only in its canonical
// banded form: rows with the same runs as the row above are one band.
std::vector<QRect> mergeRowsIntoBands(const std::vector<QRect>& runs) {
    std::vector<QRect> bands;
    bands.reserve(runs.size());
    size_t previousBand = 0; // first rectangle of the last band in `bands`
    size_t index = 0;
    while (index < runs.size()) {
        size_t rowEnd = index;
        while (rowEnd < runs.size() && runs[rowEnd].top() == runs[index].top())
            ++rowEnd;
        const size_t rowLength = rowEnd - index;
        bool sameAsBandAbove = !bands.empty() && bands.size() - previousBand == rowLength &&
                               bands[previousBand].bottom() + 1 == runs[index].top();
        for (size_t i = 0; sameAsBandAbove && i < rowLength; ++i)
            sameAsBandAbove = bands[previousBand + i].left() == runs[index + i].left() &&
                              bands[previousBand + i].right() == runs[index + i].right();
        if (sameAsBandAbove) {
            for (size_t i = 0; i < rowLength; ++i)
                bands[previousBand + i].setBottom(runs[index].top());
        } else {
            previousBand = bands.size();
            bands.insert(bands.end(), runs.begin() + static_cast<std::ptrdiff_t>(index),
                         runs.begin() + static_cast<std::ptrdiff_t>(rowEnd));
        }
        index = rowEnd;
    }
    return bands;
}

} // namespace

std::optional<QRegion> CreateRegionFromMask(const QImage& mask, QColor keyColor, QColor tolerance) {
    if (mask.isNull())
        return std::nullopt;
    MaskRuns runs = scanMaskRuns(mask, KeyColorRange::from(keyColor, tolerance));
    // Joining the batches one region union at a time costs time quadratic in
    // the number of runs; the runs are already in banded order, so the whole
    // list goes to the toolkit at once.
    std::vector<QRect> all;
    size_t total = 0;
    for (const std::vector<QRect>& batch : runs.batches)
        total += batch.size();
    all.reserve(total);
    for (std::vector<QRect>& batch : runs.batches) {
        all.insert(all.end(), batch.begin(), batch.end());
        batch = {};
    }
    const std::vector<QRect> bands = mergeRowsIntoBands(all);
    QRegion result;
    if (!bands.empty())
        result.setRects(bands.data(), static_cast<int>(bands.size()));
    return result;
}

} // namespace skins
