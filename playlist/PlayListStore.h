#pragma once

#include "PlayListDelimiter.h"
#include "TrackCells.h"

#include <string>
#include <vector>

// The play list kept from one run to the next in "PL.ini".
namespace playlist {

// The folder "PL.ini" lives in, ending in "/": the application folder when
// it is writable (a run from the build tree; for root, when its permission
// bits allow writing), else the user's data folder
// "$XDG_DATA_HOME/drovan/" ("~/.local/share/drovan/" when XDG_DATA_HOME is
// unset or not an absolute path), as for an installed copy under a system
// prefix. Pure; any thread.
std::string playListStoreFolder(const std::string& applicationFolder, bool applicationFolderWritable,
                                const std::string& dataHome, const std::string& home);

// playListStoreFolder() + "PL.ini" for this process and its environment.
std::string playListStorePath();

// Loads the stored play list when the window opens and saves it when the
// window closes. GUI thread; blocks on the disk.
class PlayListStore {
public:
    explicit PlayListStore(std::string path);
    const std::string& path() const { return m_path; }

    struct Loaded {
        std::vector<TrackCells> rows;
        std::string error; // empty, or the message to show once
    };
    // Creates the file (and its folder) empty when it does not exist, then
    // reads it in the own format. A file that exists but cannot be read is
    // reported through `error` and from then on never overwritten, so the
    // collection in it is not lost to an empty list.
    Loaded load(PlayListDelimiter& delimiter);

    // Writes the rows atomically. With no rows nothing is written, so the
    // previous list comes back at the next start; nor is anything written
    // over a file that load() could not read. Creates the folder when
    // missing. Throws platform::FileWriteError.
    void save(const std::vector<TrackCells>& rows, const PlayListDelimiter& delimiter) const;

private:
    std::string m_path;
    bool m_keepUnreadableFile = false;
};

} // namespace playlist
