#pragma once

#include "PlayListDelimiter.h"
#include "TrackCells.h"

#include <stdexcept>
#include <string>
#include <vector>

// Reading and writing play list files chosen by the user. GUI thread (they
// block on the disk, briefly even for long lists).
namespace playlist {

// A list file that exists but cannot be read. The text begins with "File
// cannot be opened" and names the file and the system's reason.
class PlayListFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file's bytes. Throws PlayListFileError for a missing, unreadable or
// absurdly large file, or a folder.
std::string readListFile(const std::string& path);

// What loading a chosen file does to the play list. Every failure is found
// before the list is touched, so a refused file leaves the list as it was.
struct PlayListFileContents {
    enum class Action {
        ReplaceRows, // clear the list, then take `rows` as they are
        AddTracks,   // clear the list, then add each of `paths` as a track
        Refuse,      // show `message`; the list stays as it is
    };
    Action action = Action::Refuse;
    std::vector<TrackCells> rows;
    std::vector<std::string> paths; // files that exist, in list order
    std::string message;
};

// Reads the file the type of its name says ("DPL", "PLS", "M3U"; any other
// is refused). The own format detects the delimiter while it is unset.
PlayListFileContents openPlayListFile(const std::string& path, PlayListDelimiter& delimiter);

// Writes the rows in the format the name asks for (".m3u8"/".m3u" an M3U
// list, anything else the own format), atomically. With no rows nothing is
// written and an existing file keeps its contents. Throws
// platform::FileWriteError.
void savePlayListFile(const std::string& path, const std::vector<TrackCells>& rows, const PlayListDelimiter& delimiter);

} // namespace playlist
