// The window shape of a mask: every pixel outside the key colours is in the
// shape and every key pixel is out of it.
#include "FuzzTarget.h"

#include "skins/RegionFromMask.h"
#include "skins/SkinError.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int width = 1 + data[0] % 96;
    const int height = 1 + data[1] % 96;
    const QColor key(data[2] & 0xE0, data[2] & 0x1C, data[2] & 0x03);
    const QColor tolerance(data[2] & 0x10 ? 40 : 0, 0, data[2] & 0x01 ? 200 : 0);
    QImage mask(width, height, QImage::Format_RGB32);
    size_t at = 3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t byte = at < size ? data[at++] : 0;
            mask.setPixel(x, y, qRgb(byte & 0xE0, byte & 0x1C, byte & 0x03));
        }
    try {
        const auto region = skins::CreateRegionFromMask(mask, key, tolerance);
        if (!region)
            std::abort();
        // The shape's rectangles painted into a grid: a point-by-point
        // region lookup would make the check itself quadratic.
        std::vector<int> covered(static_cast<size_t>(width * height), 0);
        for (const QRect& rectangle : *region) {
            if (rectangle.left() < 0 || rectangle.top() < 0 || rectangle.right() >= width ||
                rectangle.bottom() >= height)
                std::abort();
            for (int y = rectangle.top(); y <= rectangle.bottom(); ++y)
                for (int x = rectangle.left(); x <= rectangle.right(); ++x)
                    ++covered[static_cast<size_t>(y * width + x)];
        }
        const auto range = skins::KeyColorRange::from(key, tolerance);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (covered[static_cast<size_t>(y * width + x)] != (range.contains(mask.pixel(x, y)) ? 0 : 1))
                    std::abort();
    } catch (const skins::ESkinError&) {
    }
    return 0;
}
