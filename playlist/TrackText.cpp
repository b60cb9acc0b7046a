#include "TrackText.h"

#include <cstdlib>

namespace playlist {
namespace {

std::string replaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string result;
    result.reserve(text.size());
    std::size_t position = 0;
    while (true) {
        const std::size_t found = text.find(from, position);
        if (found == std::string::npos)
            break;
        result.append(text, position, found - position);
        result += to;
        position = found + from.size();
    }
    result.append(text, position, std::string::npos);
    return result;
}

} // namespace

std::string encodePath(const std::string& path) {
    return replaceAll(path, ",", kEncodedComma);
}

std::string decodePath(const std::string& cell) {
    return replaceAll(cell, kEncodedComma, ",");
}

std::string cleanTagText(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c != ',' && code >= 32 && code <= 126)
            result += c;
    }
    return result;
}

std::string formatBpmResult(long long tenths) {
    const unsigned long long magnitude =
        tenths < 0 ? 0ULL - static_cast<unsigned long long>(tenths) : static_cast<unsigned long long>(tenths);
    std::string text = tenths < 0 ? "-" : "";
    text += std::to_string(magnitude / 10);
    if (magnitude % 10 != 0)
        text += "." + std::to_string(magnitude % 10);
    // Only whole numbers get the ".0": appended to "9.5" it would give "9.5.0".
    if (text.size() == 3 && magnitude % 10 == 0)
        text += ".0";
    return text;
}

} // namespace playlist
