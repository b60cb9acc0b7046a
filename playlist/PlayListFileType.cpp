#include "PlayListFileType.h"

#include "platform/FileNames.h"

namespace playlist {

std::string playListTypeText(const std::string& fileName) {
    return platform::typeWordOf(fileName);
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
    const std::string name = platform::upperCase(platform::fileNameOf(fileName));
    const auto endsWith = [&](const std::string& suffix) {
        return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return endsWith(".M3U8") || endsWith(".M3U") ? SaveFormat::M3u8 : SaveFormat::Own;
}

} // namespace playlist
