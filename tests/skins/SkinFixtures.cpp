#include "SkinFixtures.h"

#include <gif_lib.h>

#include <fstream>
#include <map>
#include <stdexcept>

namespace skin_fixtures {
namespace {

void put16(std::string& bytes, int value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& bytes, int64_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((value >> shift) & 0xFF);
}

std::vector<QRgb> paletteOf(const QImage& image, int bits, std::map<QRgb, int>& index) {
    std::vector<QRgb> palette;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb color = image.pixel(x, y) | 0xFF000000u;
            if (index.count(color) == 0) {
                index[color] = static_cast<int>(palette.size());
                palette.push_back(color);
            }
        }
    if (palette.size() > (1u << bits))
        throw std::runtime_error("too many colours for the bit count");
    return palette;
}

} // namespace

std::string bmpBytes(const QImage& source, const BmpOptions& options) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int bits = options.bitsPerPixel;
    std::map<QRgb, int> index;
    std::vector<QRgb> palette;
    if (bits <= 8)
        palette = paletteOf(image, bits, index);

    std::string pixels;
    const int width = image.width();
    const int height = image.height();
    auto rowOrder = [&](int row) { return options.topDown ? row : height - 1 - row; };
    if (options.rle8) {
        for (int row = 0; row < height; ++row) {
            const int y = rowOrder(row);
            int x = 0;
            while (x < width) {
                const int value = index[image.pixel(x, y) | 0xFF000000u];
                int run = 1;
                while (x + run < width && run < 255 && index[image.pixel(x + run, y) | 0xFF000000u] == value)
                    ++run;
                pixels += static_cast<char>(run);
                pixels += static_cast<char>(value);
                x += run;
            }
            pixels += '\0';
            pixels += '\0';
        }
        pixels += '\0';
        pixels += '\1';
    } else {
        const size_t rowBytes = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
        for (int row = 0; row < height; ++row) {
            const int y = rowOrder(row);
            std::string line(rowBytes, '\0');
            for (int x = 0; x < width; ++x) {
                const QRgb color = image.pixel(x, y) | 0xFF000000u;
                switch (bits) {
                case 1:
                    line[x / 8] = static_cast<char>(line[x / 8] | (index[color] << (7 - x % 8)));
                    break;
                case 4:
                    line[x / 2] = static_cast<char>(line[x / 2] | (index[color] << (x % 2 == 0 ? 4 : 0)));
                    break;
                case 8:
                    line[x] = static_cast<char>(index[color]);
                    break;
                case 24:
                    line[x * 3] = static_cast<char>(qBlue(color));
                    line[x * 3 + 1] = static_cast<char>(qGreen(color));
                    line[x * 3 + 2] = static_cast<char>(qRed(color));
                    break;
                case 32:
                    line[x * 4] = static_cast<char>(qBlue(color));
                    line[x * 4 + 1] = static_cast<char>(qGreen(color));
                    line[x * 4 + 2] = static_cast<char>(qRed(color));
                    line[x * 4 + 3] = static_cast<char>(0xFF);
                    break;
                }
            }
            pixels += line;
        }
    }

    const int paletteBytes = static_cast<int>(palette.size()) * 4;
    const int pixelOffset = 14 + options.infoHeaderSize + paletteBytes;
    std::string bytes = "BM";
    put32(bytes, pixelOffset + static_cast<int64_t>(pixels.size()));
    put32(bytes, 0);
    put32(bytes, pixelOffset);
    put32(bytes, options.infoHeaderSize);
    put32(bytes, width);
    put32(bytes, options.topDown ? -height : height);
    put16(bytes, 1);
    put16(bytes, bits);
    put32(bytes, options.rle8 ? 1 : 0);
    put32(bytes, static_cast<int64_t>(pixels.size()));
    put32(bytes, 2835);
    put32(bytes, 2835);
    put32(bytes, static_cast<int64_t>(palette.size()));
    put32(bytes, 0);
    if (options.infoHeaderSize > 40) {
        // V4/V5: channel masks, alpha mask, colour space "sRGB", then zeros.
        put32(bytes, 0x00FF0000);
        put32(bytes, 0x0000FF00);
        put32(bytes, 0x000000FF);
        put32(bytes, 0xFF000000);
        bytes += "BGRs";
        bytes.append(static_cast<size_t>(options.infoHeaderSize - 60), '\0');
    }
    for (QRgb color : palette) {
        bytes += static_cast<char>(qBlue(color));
        bytes += static_cast<char>(qGreen(color));
        bytes += static_cast<char>(qRed(color));
        bytes += '\0';
    }
    return bytes + pixels;
}

void writeBmp(const std::string& path, const QImage& image, const BmpOptions& options) {
    writeText(path, bmpBytes(image, options));
}

void writeGif(const std::string& path, const QImage& source, std::optional<QRgb> transparent) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> index;
    std::vector<QRgb> palette = paletteOf(image, 8, index);
    int colorCount = 2;
    while (colorCount < static_cast<int>(palette.size()))
        colorCount *= 2;
    std::vector<GifColorType> colors(static_cast<size_t>(colorCount), GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        colors[i] =
            GifColorType{static_cast<GifByteType>(qRed(palette[i])), static_cast<GifByteType>(qGreen(palette[i])),
                         static_cast<GifByteType>(qBlue(palette[i]))};
    int error = 0;
    GifFileType* file = EGifOpenFileName(path.c_str(), false, &error);
    if (file == nullptr)
        throw std::runtime_error("cannot write GIF");
    EGifSetGifVersion(file, true);
    ColorMapObject* map = GifMakeMapObject(colorCount, colors.data());
    EGifPutScreenDesc(file, image.width(), image.height(), 8, 0, map);
    if (transparent) {
        GraphicsControlBlock block{};
        block.TransparentColor = index[*transparent | 0xFF000000u];
        GifByteType extension[4];
        EGifGCBToExtension(&block, extension);
        EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    EGifPutImageDesc(file, 0, 0, image.width(), image.height(), false, nullptr);
    std::vector<GifPixelType> line(static_cast<size_t>(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            line[static_cast<size_t>(x)] = static_cast<GifPixelType>(index[image.pixel(x, y) | 0xFF000000u]);
        EGifPutLine(file, line.data(), image.width());
    }
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
}

QImage solidImage(int width, int height, QRgb color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream << text;
    if (!stream)
        throw std::runtime_error("cannot write " + path);
}

} // namespace skin_fixtures
