#pragma once

#include <QByteArray>
#include <QRegion>

#include <optional>

namespace skins {

// The stored window shape "Mask2", little-endian: the byte count N of the
// region data that follows (0: no stored shape, nothing follows), then the
// region data: header size 32, kind 1 (rectangles), rectangle count R,
// rectangle bytes 16 x R, the bounding rectangle and R rectangles, each as
// left, top, right, bottom with right and bottom exclusive. N = 32 + 16 x R.
//
// Reading checks every count against the data and throws ESkinError when
// they disagree; no region (nullopt) for N = 0.
std::optional<QRegion> readRegionData(const QByteArray& bytes);
// Writes the data of a region; without a region, N = 0 alone.
QByteArray writeRegionData(const std::optional<QRegion>& region);

} // namespace skins
