#include "FileMasks.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace playlist {
namespace {

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

// Glob matching with backtracking over the last "*"; dotLimited keeps "*"
// and "?" from matching a "." (a "*" may still cross dots when the mask has
// no "." after it).
bool globMatch(const std::string& name, const std::string& mask, bool dotLimited) {
    size_t n = 0;
    size_t m = 0;
    size_t starMask = std::string::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
            continue;
        }
        if (m < mask.size() &&
            (upper(mask[m]) == upper(name[n]) || (mask[m] == '?' && !(dotLimited && name[n] == '.')))) {
            ++m;
            ++n;
            continue;
        }
        if (starMask != std::string::npos) {
            const bool dotAhead = mask.find('.', starMask) != std::string::npos;
            if (dotLimited && dotAhead && name[starName] == '.')
                return false;
            m = starMask + 1;
            n = ++starName;
            continue;
        }
        return false;
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool endsWithIgnoringCase(const std::string& text, const std::string& ending) {
    if (ending.size() > text.size())
        return false;
    return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char a, char b) { return upper(a) == upper(b); });
}

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

bool matchesSearchMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*" || mask == "*")
        return true;
    if (globMatch(name, mask, false))
        return true;
    return mask.size() > 2 && mask.compare(mask.size() - 2, 2, ".*") == 0 && name.find('.') == std::string::npos &&
           globMatch(name, mask.substr(0, mask.size() - 2), false);
}

bool matchesExclusion(const std::string& mask, const std::string& folder, const std::string& name) {
    const auto slash = mask.rfind('/');
    if (slash != std::string::npos) {
        const std::string maskFolder = withoutTrailingSlash(mask.substr(0, slash + 1));
        const std::string entryFolder = withoutTrailingSlash(folder);
        if (maskFolder.front() == '/') {
            if (maskFolder.size() != entryFolder.size() || !endsWithIgnoringCase(entryFolder, maskFolder))
                return false;
        } else if (!endsWithIgnoringCase(entryFolder, "/" + maskFolder) &&
                   !(entryFolder.size() == maskFolder.size() && endsWithIgnoringCase(entryFolder, maskFolder))) {
            return false;
        }
    }
    return globMatch(name, mask.substr(slash == std::string::npos ? 0 : slash + 1), true);
}

std::string fullFolderPath(const std::string& folder) {
    std::filesystem::path path(folder.empty() ? "." : folder);
    std::error_code error;
    path = std::filesystem::absolute(path, error).lexically_normal();
    std::string text = path.string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

SearchSpec splitSearchSpec(const std::string& specification) {
    const auto slash = specification.rfind('/');
    if (slash == std::string::npos)
        return {fullFolderPath("."), specification};
    return {fullFolderPath(specification.substr(0, slash + 1)), specification.substr(slash + 1)};
}

std::vector<SearchSpec> buildSearchList(const std::string& location, const std::string& filename) {
    std::vector<std::string> folders;
    for (const std::string& part : splitAt(location, ';')) {
        const std::string folder = fullFolderPath(trimmed(part));
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    std::vector<std::string> masks;
    for (const std::string& part : splitAt(filename, ';')) {
        std::string mask = trimmed(part);
        if (mask.empty())
            mask = "*.*";
        else if (mask.find('.') == std::string::npos)
            mask += ".*";
        if (std::find(masks.begin(), masks.end(), mask) == masks.end())
            masks.push_back(mask);
    }
    std::vector<SearchSpec> list;
    for (const std::string& folder : folders)
        for (const std::string& mask : masks)
            list.push_back({folder, mask});
    return list;
}

} // namespace playlist
