// Play lists of other players: any bytes read as a PLS or an M3U list give
// absolute paths only, and the paths of an M3U list survive being written as
// an M3U8 list and read again.
#include "FuzzTarget.h"

#include "playlist/ForeignPlayLists.h"
#include "playlist/TrackText.h"

#include <cstdlib>
#include <string_view>

namespace {

const std::string kListFolder = "/music/lists";

void requireAbsolute(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (!path.empty() && path.front() != '/')
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    requireAbsolute(playlist::readPlsPaths(bytes, kListFolder));

    const std::vector<std::string> paths = playlist::readM3uPaths(bytes, kListFolder);
    requireAbsolute(paths);
    std::vector<playlist::TrackCells> rows;
    std::vector<std::string> writable;
    for (const std::string& path : paths) {
        // Paths the own cells cannot carry unchanged, and lines the list
        // format cannot hold, are left out of the round trip.
        if (path.empty() || path.find("*^@") != std::string::npos || path.find_first_of("\r\n") != std::string::npos)
            continue;
        rows.push_back({playlist::encodePath(path), "000.0", "", ""});
        writable.push_back(path);
    }
    if (playlist::readM3uPaths(playlist::writeM3u8(rows), kListFolder) != writable)
        std::abort();
    return 0;
}
