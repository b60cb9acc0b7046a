#include "OwnPlayListFormat.h"

namespace playlist {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr char kQuote = '"';

} // namespace

std::vector<std::string_view> splitTextLines(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

TrackCells splitOwnLine(std::string_view rest, char delimiter) {
    TrackCells cells;
    while (rest.find(delimiter) != std::string_view::npos) {
        if (rest.front() == kQuote) {
            rest.remove_prefix(1);
            const auto close = rest.find(kQuote);
            if (close != std::string_view::npos) {
                cells.emplace_back(rest.substr(0, close));
                const auto next = rest.find(delimiter, close + 1);
                rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
                continue;
            }
        }
        const auto at = rest.find(delimiter);
        cells.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    if (!rest.empty()) {
        if (rest.front() == kQuote)
            rest.remove_prefix(1);
        if (!rest.empty() && rest.back() == kQuote)
            rest.remove_suffix(1);
        cells.emplace_back(rest);
    }
    if (cells.empty())
        cells.emplace_back();
    return cells;
}

std::vector<TrackCells> readOwnPlayList(std::string_view bytes, PlayListDelimiter& delimiter) {
    const std::vector<std::string_view> lines = splitTextLines(bytes);
    delimiter.detect(lines.size() > 0 ? lines[0] : std::string_view(),
                     lines.size() > 1 ? lines[1] : std::string_view());
    std::vector<TrackCells> rows;
    rows.reserve(lines.size());
    for (const std::string_view line : lines)
        rows.push_back(splitOwnLine(line, delimiter.character()));
    return rows;
}

std::string writeOwnPlayList(const std::vector<TrackCells>& rows, const PlayListDelimiter& delimiter) {
    size_t size = 0;
    for (const TrackCells& row : rows) {
        for (const std::string& cell : row)
            size += cell.size() + 1;
        size += kLineEnd.size();
    }
    std::string bytes;
    bytes.reserve(size);
    for (const TrackCells& row : rows) {
        for (size_t cell = 0; cell < row.size(); ++cell) {
            if (cell > 0)
                bytes += delimiter.character();
            bytes += row[cell];
        }
        bytes += kLineEnd;
    }
    return bytes;
}

} // namespace playlist
