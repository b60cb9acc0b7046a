#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>

#include <optional>
#include <vector>

namespace skins {

// The colours a mask treats as "cut away": each channel from the key's
// value up to the key's value plus the tolerance's, stopping at 255.
struct KeyColorRange {
    int lowRed, lowGreen, lowBlue;
    int highRed, highGreen, highBlue;
    static KeyColorRange from(QColor key, QColor tolerance);
    bool contains(QRgb pixel) const;
};

// The one-pixel-high rectangles of every maximal horizontal run of non-key
// pixels, row by row from the top, handed over in batches of at most
// kRectanglesPerBatch. The list grows in steps of kListGrowth rectangles so
// that large masks never need one huge allocation.
//
// A mask with more than kMaximumRuns runs (a fine checkerboard) is refused
// with ESkinError as soon as the scan passes that count: no window shape
// needs that many, and the toolkit's region operations would crawl.
struct MaskRuns {
    static constexpr size_t kRectanglesPerBatch = 2000;
    static constexpr size_t kListGrowth = 100;
    static constexpr size_t kMaximumRuns = 1000000;
    std::vector<std::vector<QRect>> batches;
};
MaskRuns scanMaskRuns(const QImage& mask, const KeyColorRange& range);

// The window region of a mask: the union of its runs, built in one pass
// (time linear in the number of runs). No region when there is no mask. A
// mask made only of key pixels gives an empty region. Throws ESkinError for
// a mask with too many runs.
std::optional<QRegion> CreateRegionFromMask(const QImage& mask, QColor keyColor, QColor tolerance);

} // namespace skins
