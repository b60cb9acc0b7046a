#include "RegionData.h"

#include "SkinError.h"
#include "platform/LittleEndian.h"

#include <cstdint>
#include <vector>

namespace skins {
namespace {

constexpr uint32_t kHeaderSize = 32;
constexpr uint32_t kKindRectangles = 1;
constexpr uint32_t kRectangleBytes = 16;
constexpr int32_t kMaximumCoordinate = 1 << 20;

void putInteger(QByteArray& bytes, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(static_cast<char>((bits >> shift) & 0xFF));
}

uint32_t getUnsigned(const QByteArray& bytes, qsizetype offset) {
    return platform::littleEndian(reinterpret_cast<const unsigned char*>(bytes.constData()) + offset, 4);
}

[[noreturn]] void throwBadData(const std::string& detail) {
    throw ESkinError("Invalid region data: " + detail);
}

} // namespace

std::optional<QRegion> readRegionData(const QByteArray& bytes) {
    if (bytes.size() < 4)
        throwBadData("the size is missing");
    const uint32_t size = getUnsigned(bytes, 0);
    if (size == 0)
        return std::nullopt;
    if (size < kHeaderSize || static_cast<uint64_t>(size) > static_cast<uint64_t>(bytes.size() - 4))
        throwBadData("the size does not match the data");
    if (getUnsigned(bytes, 4) != kHeaderSize || getUnsigned(bytes, 8) != kKindRectangles)
        throwBadData("unknown header");
    const uint32_t count = getUnsigned(bytes, 12);
    if (static_cast<uint64_t>(count) * kRectangleBytes + kHeaderSize != size)
        throwBadData("the rectangle count does not match the size");
    std::vector<QRect> rectangles;
    rectangles.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const qsizetype at = 4 + kHeaderSize + static_cast<qsizetype>(i) * kRectangleBytes;
        const auto left = static_cast<int32_t>(getUnsigned(bytes, at));
        const auto top = static_cast<int32_t>(getUnsigned(bytes, at + 4));
        const auto right = static_cast<int32_t>(getUnsigned(bytes, at + 8));
        const auto bottom = static_cast<int32_t>(getUnsigned(bytes, at + 12));
        // No window reaches a million pixels; beyond that the sizes below
        // and the toolkit's own region arithmetic would overflow.
        for (int32_t coordinate : {left, top, right, bottom})
            if (coordinate < -kMaximumCoordinate || coordinate > kMaximumCoordinate)
                throwBadData("a rectangle lies outside the coordinate range");
        if (right > left && bottom > top)
            rectangles.emplace_back(left, top, right - left, bottom - top);
    }
    // The rectangles need not be in banded order, so they are joined by
    // union. Pairwise rounds keep that near-linear: joining one rectangle at
    // a time into a growing region would be quadratic in the count.
    std::vector<QRegion> regions(rectangles.begin(), rectangles.end());
    while (regions.size() > 1) {
        std::vector<QRegion> joined;
        joined.reserve((regions.size() + 1) / 2);
        for (size_t i = 0; i + 1 < regions.size(); i += 2)
            joined.push_back(regions[i].united(regions[i + 1]));
        if (regions.size() % 2 != 0)
            joined.push_back(regions.back());
        regions = std::move(joined);
    }
    return regions.empty() ? QRegion() : regions.front();
}

QByteArray writeRegionData(const std::optional<QRegion>& region) {
    QByteArray bytes;
    if (!region) {
        putInteger(bytes, 0);
        return bytes;
    }
    const int count = static_cast<int>(region->rectCount());
    putInteger(bytes, static_cast<int32_t>(kHeaderSize + kRectangleBytes * count));
    putInteger(bytes, kHeaderSize);
    putInteger(bytes, kKindRectangles);
    putInteger(bytes, count);
    putInteger(bytes, static_cast<int32_t>(kRectangleBytes * count));
    const QRect bounds = region->boundingRect();
    for (int32_t value : {bounds.left(), bounds.top(), bounds.left() + bounds.width(), bounds.top() + bounds.height()})
        putInteger(bytes, value);
    for (const QRect& rectangle : *region) {
        for (int32_t value : {rectangle.left(), rectangle.top(), rectangle.left() + rectangle.width(),
                              rectangle.top() + rectangle.height()})
            putInteger(bytes, value);
    }
    return bytes;
}

} // namespace skins
