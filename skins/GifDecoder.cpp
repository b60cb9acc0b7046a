#include "ImageDecoders.h"
#include "SkinError.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <vector>

namespace skins {
namespace {

struct MemoryInput {
    std::string_view bytes;
    size_t position = 0;
};

int readFromMemory(GifFileType* file, GifByteType* buffer, int count) {
    auto* input = static_cast<MemoryInput*>(file->UserData);
    if (count <= 0)
        return 0;
    const size_t available = input->bytes.size() - input->position;
    const size_t taken = std::min(available, static_cast<size_t>(count));
    std::memcpy(buffer, input->bytes.data() + input->position, taken);
    input->position += taken;
    return static_cast<int>(taken);
}

struct GifCloser {
    void operator()(GifFileType* file) const {
        int error = 0;
        DGifCloseFile(file, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void throwGifError(const std::string& name, int error) {
    const char* text = GifErrorString(error);
    throwDamaged(name, text != nullptr ? text : "GIF decoding failed");
}

} // namespace

QImage decodeGif(std::string_view bytes, const std::string& name) {
    MemoryInput input{bytes, 0};
    int error = 0;
    GifHandle file(DGifOpen(&input, readFromMemory, &error));
    if (!file)
        throwGifError(name, error);
    checkImageSize(file->SWidth, file->SHeight, name);
    QImage image(file->SWidth, file->SHeight, QImage::Format_RGB32);
    if (image.isNull())
        throwDamaged(name, "not enough memory for the picture");
    image.fill(Qt::white);

    int transparentIndex = -1;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(file.get(), &record) == GIF_ERROR)
            throwGifError(name, file->Error);
        if (record == TERMINATE_RECORD_TYPE)
            throwDamaged(name, "the file holds no picture");
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            if (DGifGetExtension(file.get(), &code, &extension) == GIF_ERROR)
                throwGifError(name, file->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && extension != nullptr && extension[0] >= 4) {
                GraphicsControlBlock block{};
                if (DGifExtensionToGCB(extension[0], extension + 1, &block) == GIF_OK)
                    transparentIndex = block.TransparentColor;
            }
            while (extension != nullptr) {
                if (DGifGetExtensionNext(file.get(), &extension) == GIF_ERROR)
                    throwGifError(name, file->Error);
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(file.get()) == GIF_ERROR)
            throwGifError(name, file->Error);
        break;
    }

    const GifImageDesc& frame = file->Image;
    const ColorMapObject* colors = frame.ColorMap != nullptr ? frame.ColorMap : file->SColorMap;
    if (colors == nullptr || colors->Colors == nullptr)
        throwDamaged(name, "the picture has no colour table");
    if (frame.Width <= 0 || frame.Height <= 0)
        throwDamaged(name, "the picture has no pixels");
    checkImageSize(frame.Width, frame.Height, name);

    std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
    auto drawLine = [&](int row) {
        const int y = frame.Top + row;
        if (y < 0 || y >= image.height())
            return;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int i = 0; i < frame.Width; ++i) {
            const int x = frame.Left + i;
            const int index = line[static_cast<size_t>(i)];
            if (x < 0 || x >= image.width() || index == transparentIndex || index >= colors->ColorCount)
                continue;
            const GifColorType& color = colors->Colors[index];
            target[x] = qRgb(color.Red, color.Green, color.Blue);
        }
    };
    auto readLine = [&](int row) {
        if (DGifGetLine(file.get(), line.data(), frame.Width) == GIF_ERROR)
            throwGifError(name, file->Error);
        drawLine(row);
    };
    if (frame.Interlace) {
        static constexpr int kStart[] = {0, 4, 2, 1};
        static constexpr int kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int row = kStart[pass]; row < frame.Height; row += kStep[pass])
                readLine(row);
    } else {
        for (int row = 0; row < frame.Height; ++row)
            readLine(row);
    }
    return image;
}

} // namespace skins
