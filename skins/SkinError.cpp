#include "SkinError.h"

namespace skins {

std::string cannotOpenFileText(const std::string& path) {
    return "Cannot open file " + path;
}

std::string unknownExtensionText(const std::string& extension) {
    return "Unknown picture file extension (." + extension + ")";
}

std::string invalidIntegerText(const std::string& field) {
    return "'" + field + "' is not a valid integer value";
}

std::string listIndexText(int index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}

std::string skinImagesTooLargeText(const std::string& file, long long maximumBytes) {
    return "The skin's images take more than " + std::to_string(maximumBytes / (1024 * 1024)) + " MiB (at " + file +
           ")";
}

} // namespace skins
