#include "SkinImageLoader.h"

#include "ImageDecoders.h"
#include "SkinError.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace skins {
namespace {

// Skin images are small; anything beyond this is not a skin image.
constexpr std::streamoff kMaximumFileBytes = 256LL * 1024 * 1024;

std::string readWholeFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        throw ESkinError(cannotOpenFileText(path));
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        throw ESkinError(cannotOpenFileText(path));
    if (info.st_size > kMaximumFileBytes)
        throwDamaged(path, "the file is too large");
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(stream.gcount()));
    return bytes;
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
