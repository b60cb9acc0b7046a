#include "ImageDecoders.h"
#include "SkinError.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace skins {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// It jumps back to decodeJpeg; no C++ object with a destructor lives
// between the setjmp and the jump (the jump only crosses C frames).
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->base.format_message(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (a damaged but readable stream) are not worth an error.
void outputMessage(j_common_ptr) {}

// A progressive picture may be cut into any number of scans, each of which
// costs a pass over the whole picture, and a damaged stream may warn once
// per block: a few kilobytes could keep the decoder busy for minutes. Real
// pictures use about ten scans.
constexpr int kMaximumScans = 100;
constexpr long kMaximumWarnings = 10000;

void checkProgress(j_common_ptr common) {
    auto* manager = reinterpret_cast<ErrorManager*>(common->err);
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaximumScans) {
        std::snprintf(manager->message, sizeof manager->message, "more than %d scans", kMaximumScans);
        std::longjmp(manager->jump, 1);
    }
    if (manager->base.num_warnings > kMaximumWarnings) {
        std::snprintf(manager->message, sizeof manager->message, "too many damaged blocks");
        std::longjmp(manager->jump, 1);
    }
}

// Decodes rows into the image; all C++ state the jump could skip lives in
// the caller.
bool decodeRows(jpeg_decompress_struct& info, ErrorManager& errors, jpeg_progress_mgr& progress,
                const std::string_view bytes, QImage& image, std::vector<unsigned char>& row, const std::string& name) {
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaximumImageSide ||
        info.image_height > kMaximumImageSide ||
        static_cast<long long>(info.image_width) * info.image_height > kMaximumImagePixels) {
        std::snprintf(errors.message, sizeof errors.message, "picture size %ux%u is out of range", info.image_width,
                      info.image_height);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        std::snprintf(errors.message, sizeof errors.message, "unsupported colour layout");
        return false;
    }
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
    if (image.isNull()) {
        std::snprintf(errors.message, sizeof errors.message, "not enough memory for the picture");
        return false;
    }
    row.resize(static_cast<size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1)
            break;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (JDIMENSION x = 0; x < info.output_width; ++x)
            line[x] = qRgb(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]);
    }
    jpeg_finish_decompress(&info);
    (void)name;
    return true;
}

} // namespace

QImage decodeJpeg(std::string_view bytes, const std::string& name) {
    if (bytes.empty())
        throwDamaged(name, "the file is empty");
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = outputMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = checkProgress;
    QImage image;
    std::vector<unsigned char> row;
    const bool decoded = decodeRows(info, errors, progress, bytes, image, row, name);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        throwDamaged(name, errors.message);
    return image;
}

} // namespace skins
