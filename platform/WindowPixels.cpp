#include "WindowPixels.h"

#include <QPaintDevice>
#include <QRegion>

#include <algorithm>

namespace platform {

std::optional<WindowPixels> windowPixels(QPaintDevice* device, const QPoint& redirectionOffset) {
    if (device == nullptr || device->devType() != QInternal::Image)
        return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    // An X window's image is premultiplied even without an alpha channel;
    // opaque 32-bit RGB pixels mean the same in both formats.
    const bool rgb32 =
        image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32_Premultiplied;
    if (!rgb32 || image->devicePixelRatio() != 1.0)
        return std::nullopt;
    // A painter on the widget would move its drawing by minus the offset.
    return WindowPixels{image, -redirectionOffset};
}

bool copyIntoWindowPixels(const WindowPixels& pixels, const QImage& source, const QRegion& region) {
    if (source.format() != QImage::Format_RGB32)
        return false;
    for (const QRect& rect : region)
        if (const QRect part = rect.intersected(source.rect()); !part.isEmpty() && !pixels.covers(part))
            return false;
    for (const QRect& rect : region) {
        const QRect part = rect.intersected(source.rect());
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y)) + part.left();
            auto* to = reinterpret_cast<QRgb*>(pixels.image->scanLine(y + pixels.origin.y())) +
                       (part.left() + pixels.origin.x());
            std::copy_n(from, part.width(), to);
        }
    }
    return true;
}

} // namespace platform
