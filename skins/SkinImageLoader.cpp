#include "SkinImageLoader.h"

#include "ImageDecoders.h"
#include "SkinError.h"
#include "platform/IniFile.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

namespace skins {
namespace {

// Skin images are small; anything beyond this is not a skin image.
constexpr size_t kMaximumFileBytes = 256 * 1024 * 1024;

// One open, then the type and size checks on that descriptor: nothing can
// swap the file between the check and the read.
std::string readWholeFile(const std::string& path) {
    try {
        if (auto bytes = platform::readRegularFile(path, kMaximumFileBytes))
            return std::move(*bytes);
    } catch (const platform::FileTooLargeError&) {
        throwDamaged(path, "the file is too large");
    } catch (const platform::IniReadError&) {
    }
    throw ESkinError(cannotOpenFileText(path));
}

} // namespace

void checkImageSize(long long width, long long height, const std::string& name) {
    if (width <= 0 || height <= 0 || width > kMaximumImageSide || height > kMaximumImageSide ||
        width * height > kMaximumImagePixels)
        throwDamaged(name, "picture size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range");
}

void throwDamaged(const std::string& name, const std::string& detail) {
    throw ESkinError("Damaged picture file " + name + ": " + detail);
}

std::string imageTypeWord(const std::string& path) {
    return platform::typeWordOf(path);
}

QImage LoadSkinImage(const std::string& path) {
    // The file is opened before its kind is looked at, so a missing file
    // (such as the "ERROR" placeholder of an absent definition file) is
    // reported as missing.
    const std::string bytes = readWholeFile(path);
    if (imageTypeWord(path) == "GIF")
        return decodeGif(bytes, path);
    const std::string name = platform::fileNameOf(path);
    const auto stop = name.rfind('.');
    const std::string extension = stop == std::string::npos ? std::string() : name.substr(stop + 1);
    const std::string kind = platform::upperCase(extension);
    if (kind == "BMP")
        return decodeBmp(bytes, path);
    if (kind == "JPG" || kind == "JPEG")
        return decodeJpeg(bytes, path);
    if (kind == "GIF")
        return decodeGif(bytes, path);
    throw ESkinError(unknownExtensionText(extension));
}

} // namespace skins
