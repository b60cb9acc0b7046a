#pragma once

#include <QImage>

#include <optional>
#include <string>
#include <vector>

namespace skin_fixtures {

// Bitmap files written byte by byte, the way image editors lay them out.
struct BmpOptions {
    int bitsPerPixel = 24; // 1, 4, 8, 24 or 32
    bool topDown = false;
    int infoHeaderSize = 40; // 40, 108 (V4) or 124 (V5)
    bool rle8 = false;       // needs 8 bits per pixel
};
std::string bmpBytes(const QImage& image, const BmpOptions& options = {});
void writeBmp(const std::string& path, const QImage& image, const BmpOptions& options = {});

// A GIF of the image's colours (at most 256) written with giflib; pixels of
// `transparent` colour become transparent when given.
void writeGif(const std::string& path, const QImage& image, std::optional<QRgb> transparent = std::nullopt);

QImage solidImage(int width, int height, QRgb color);

// Writes a text file.
void writeText(const std::string& path, const std::string& text);

} // namespace skin_fixtures
