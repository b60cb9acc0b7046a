#include "FileNames.h"

#include <algorithm>
#include <cctype>

namespace platform {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderWithSeparatorOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string folderOf(const std::string& path, const std::string& noFolder) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return noFolder;
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string typeWordOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.find('.');
    if (dot == std::string::npos)
        return " ";
    return upperCase(name.substr(dot + 1, 3));
}

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace platform
