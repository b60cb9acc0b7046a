#include "GifWriter.h"

#include <gif_lib.h>

#include <map>
#include <memory>
#include <vector>

namespace skin_painter {

namespace {

struct GifCloser {
    void operator()(GifFileType* file) const {
        int error = 0;
        EGifCloseFile(file, &error);
    }
};

struct ColourMapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

bool writeGif(const QImage& source, const QString& path) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> indexes;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = line[x] & 0xffffffu;
            if (indexes.emplace(colour, static_cast<int>(indexes.size())).second && indexes.size() > 256)
                return false;
        }
    }
    int bits = 1;
    while ((1 << bits) < static_cast<int>(indexes.size()))
        ++bits;
    std::unique_ptr<ColorMapObject, ColourMapFree> colours(GifMakeMapObject(1 << bits, nullptr));
    if (!colours)
        return false;
    for (const auto& [colour, index] : indexes)
        colours->Colors[index] =
            GifColorType{static_cast<GifByteType>(qRed(colour)), static_cast<GifByteType>(qGreen(colour)),
                         static_cast<GifByteType>(qBlue(colour))};

    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> file(EGifOpenFileName(path.toLocal8Bit().constData(), false, &error));
    if (!file)
        return false;
    if (EGifPutScreenDesc(file.get(), image.width(), image.height(), bits, 0, colours.get()) == GIF_ERROR ||
        EGifPutImageDesc(file.get(), 0, 0, image.width(), image.height(), false, nullptr) == GIF_ERROR)
        return false;
    std::vector<GifPixelType> row(static_cast<size_t>(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[static_cast<size_t>(x)] = static_cast<GifPixelType>(indexes.at(line[x] & 0xffffffu));
        if (EGifPutLine(file.get(), row.data(), image.width()) == GIF_ERROR)
            return false;
    }
    // Closing flushes the last code block; only a clean close means a
    // complete file.
    GifFileType* raw = file.release();
    return EGifCloseFile(raw, &error) == GIF_OK;
}

} // namespace skin_painter
