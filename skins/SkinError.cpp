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

} // namespace skins
