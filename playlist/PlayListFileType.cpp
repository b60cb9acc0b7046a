#include "PlayListFileType.h"

#include <algorithm>
#include <cctype>

namespace playlist {
namespace {

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string nameOf(const std::string& fileName) {
    const auto slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

} // namespace

std::string playListTypeText(const std::string& fileName) {
    const std::string name = nameOf(fileName);
    const auto dot = name.find('.');
    if (dot == std::string::npos)
        return " ";
    return upperCase(name.substr(dot + 1, 3));
}

PlayListType playListTypeOf(const std::string& fileName) {
    const std::string type = playListTypeText(fileName);
    if (type == "DPL")
        return PlayListType::Own;
    if (type == "PLS")
        return PlayListType::Pls;
    if (type == "M3U")
        return PlayListType::M3u;
    return PlayListType::Unsupported;
}

SaveFormat saveFormatFor(const std::string& fileName) {
    const std::string name = upperCase(nameOf(fileName));
    const auto endsWith = [&](const std::string& suffix) {
        return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return endsWith(".M3U8") || endsWith(".M3U") ? SaveFormat::M3u8 : SaveFormat::Own;
}

} // namespace playlist
