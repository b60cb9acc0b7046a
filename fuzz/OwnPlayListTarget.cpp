// The play list's own file format: any bytes give rows that each hold their
// path cell, and rows of plain cells written with the delimiter in force read
// back unchanged.
#include "FuzzTarget.h"

#include "playlist/OwnPlayListFormat.h"

#include <cstdlib>
#include <string_view>

namespace {

bool plainCell(const std::string& cell, char delimiter) {
    if (cell.empty())
        return false;
    for (char c : cell)
        if (c == delimiter || c == '"' || c == '\r' || c == '\n')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    playlist::PlayListDelimiter delimiter;
    const std::vector<playlist::TrackCells> rows = playlist::readOwnPlayList(bytes, delimiter);
    if (rows.size() > size + 1)
        std::abort();
    bool plain = delimiter.isSet();
    for (const playlist::TrackCells& row : rows) {
        if (row.empty())
            std::abort();
        for (const std::string& cell : row)
            plain = plain && plainCell(cell, delimiter.character());
    }
    // A first path cell that starts with a byte order mark is written at the
    // very start of the file, where the reader drops the mark.
    if (!plain || (!rows.empty() && rows.front().front().rfind("\xEF\xBB\xBF", 0) == 0))
        return 0;
    playlist::PlayListDelimiter again = delimiter;
    if (playlist::readOwnPlayList(playlist::writeOwnPlayList(rows, delimiter), again) != rows)
        std::abort();
    return 0;
}
