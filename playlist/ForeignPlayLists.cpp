#include "ForeignPlayLists.h"

#include "OwnPlayListFormat.h"
#include "TrackText.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace playlist {
namespace {

constexpr const char* kPlsSection = "playlist";
constexpr const char* kPlsCountKey = "NumberOfEntries";
constexpr const char* kPlsFileKey = "File";
constexpr std::string_view kFileScheme = "file://";
constexpr std::string_view kLocalHost = "localhost";
constexpr const char* kM3uHeader = "#EXTM3U\n";
constexpr const char* kM3uEntryPrefix = "#EXTINF:-1,";

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            result += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

// "scheme://" with a scheme of letters, digits, "+", "-" and "." after a letter.
bool startsWithAddressScheme(std::string_view entry) {
    const auto colon = entry.find("://");
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(entry[0])))
        return false;
    return std::all_of(entry.begin(), entry.begin() + static_cast<std::ptrdiff_t>(colon),
                       [](unsigned char c) { return std::isalnum(c) || c == '+' || c == '-' || c == '.'; });
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && lowerCase(std::string(text.substr(0, prefix.size()))) == prefix;
}

std::string withoutLineBreaks(std::string text) {
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string cell(const TrackCells& row, int index) {
    return static_cast<size_t>(index) < row.size() ? row[static_cast<size_t>(index)] : std::string();
}

} // namespace

std::string resolveListEntry(std::string_view entry, const std::string& listFolder) {
    std::string path;
    if (startsWithIgnoringCase(entry, kFileScheme)) {
        std::string_view rest = entry.substr(kFileScheme.size());
        if (startsWithIgnoringCase(rest, kLocalHost))
            rest.remove_prefix(kLocalHost.size());
        if (rest.empty() || rest.front() != '/')
            return {};
        path = percentDecoded(rest);
    } else if (startsWithAddressScheme(entry)) {
        return {};
    } else if (!entry.empty() && entry.front() == '/') {
        path = entry;
    } else if (!entry.empty()) {
        path = listFolder.empty() ? std::string(entry) : listFolder + "/" + std::string(entry);
    }
    if (path.empty())
        return {};
    return std::filesystem::path(path).lexically_normal().string();
}

std::vector<std::string> readPlsPaths(std::string_view bytes, const std::string& listFolder) {
    const platform::IniDocument document{std::string(bytes)};
    const long long count = document.readInteger(kPlsSection, kPlsCountKey, 0);

    // Entry numbers come from the keys rather than from counting up to the
    // count, which a damaged file may give as two thousand million.
    const std::string fileKey = lowerCase(kPlsFileKey);
    std::map<long long, std::string> files;
    for (auto& [key, value] : document.entries(kPlsSection)) {
        const std::string name = lowerCase(key);
        if (name.size() <= fileKey.size() || name.size() > fileKey.size() + 10 ||
            name.compare(0, fileKey.size(), fileKey) != 0)
            continue;
        const std::string digits = name.substr(fileKey.size());
        if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        const long long entry = std::stoll(digits);
        if (std::to_string(entry) == digits && entry >= 1 && entry <= count)
            files.emplace(entry, std::move(value)); // the first of repeated keys counts
    }

    // A gap reads as the missing-entry name. All gaps name the same file, and
    // a file is added once, so one answer serves them all.
    std::vector<std::string> paths;
    bool missingAnswered = false;
    const auto answerMissing = [&] {
        if (!missingAnswered)
            paths.push_back(resolveListEntry(kPlsMissingEntry, listFolder));
        missingAnswered = true;
    };
    long long expected = 1;
    for (const auto& [entry, value] : files) {
        if (entry != expected)
            answerMissing();
        expected = entry + 1;
        paths.push_back(resolveListEntry(value, listFolder));
    }
    if (expected <= count)
        answerMissing();
    paths.erase(std::remove(paths.begin(), paths.end(), std::string()), paths.end());
    return paths;
}

std::vector<std::string> readM3uPaths(std::string_view bytes, const std::string& listFolder) {
    std::string text(bytes);
    if (text.find('\n') == std::string::npos)
        std::replace(text.begin(), text.end(), '\r', '\n');
    std::vector<std::string> paths;
    for (const std::string_view line : splitTextLines(text)) {
        if (line.empty() || line.front() == '#')
            continue;
        std::string path = resolveListEntry(line, listFolder);
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

std::string writeM3u8(const std::vector<TrackCells>& rows) {
    std::string bytes = kM3uHeader;
    for (const TrackCells& row : rows) {
        const std::string path = decodePath(cell(row, kPathCell));
        if (path.find_first_of("\r\n") != std::string::npos)
            continue;
        const std::string artist = withoutLineBreaks(cell(row, kArtistCell));
        const std::string title = withoutLineBreaks(cell(row, kTitleCell));
        std::string name;
        if (!artist.empty() && !title.empty())
            name = artist + " - " + title;
        else if (!artist.empty() || !title.empty())
            name = artist + title;
        else
            name = std::filesystem::path(path).stem().string();
        bytes += kM3uEntryPrefix;
        bytes += name;
        bytes += '\n';
        bytes += path;
        bytes += '\n';
    }
    return bytes;
}

} // namespace playlist
