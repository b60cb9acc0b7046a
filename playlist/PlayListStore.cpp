#include "PlayListStore.h"

#include "OwnPlayListFormat.h"
#include "PlayListFileType.h"
#include "PlayListFiles.h"
#include "platform/ApplicationFolder.h"
#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace playlist {
namespace {

constexpr const char* kDataFolderName = "drovan/";

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// The superuser may write anywhere, yet an installed tree whose folders are
// marked read-only is not meant to be written even by root; its permission
// bits decide.
bool folderWritable(const std::string& folder) {
    struct stat info {};
    if (::access(folder.c_str(), W_OK) != 0 || ::stat(folder.c_str(), &info) != 0)
        return false;
    return ::geteuid() != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

void createFolderOf(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
}

} // namespace

std::string playListStoreFolder(const std::string& applicationFolder, bool applicationFolderWritable,
                                const std::string& dataHome, const std::string& home) {
    if (applicationFolderWritable)
        return withSlash(applicationFolder);
    // Relative values are to be ignored, as the base directory rules say.
    if (!dataHome.empty() && dataHome.front() == '/')
        return withSlash(dataHome) + kDataFolderName;
    return withSlash(home) + ".local/share/" + kDataFolderName;
}

std::string playListStorePath() {
    const std::string folder = platform::applicationFolder();
    return playListStoreFolder(folder, folderWritable(folder), environmentValue("XDG_DATA_HOME"),
                               environmentValue("HOME")) +
           kPlayListStoreFileName;
}

PlayListStore::PlayListStore(std::string path) : m_path(std::move(path)) {}

PlayListStore::Loaded PlayListStore::load(PlayListDelimiter& delimiter) {
    Loaded loaded;
    if (!platform::fileExists(m_path)) {
        createFolderOf(m_path);
        // O_EXCL: a file that appears meanwhile is never emptied.
        const int descriptor = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            ::close(descriptor);
            return loaded;
        }
        // Nothing stored yet where nothing can be created: save() reports it.
        if (errno != EEXIST)
            return loaded;
    }
    try {
        loaded.rows = readOwnPlayList(readListFile(m_path), delimiter);
    } catch (const PlayListFileError& error) {
        m_keepUnreadableFile = true;
        loaded.error = error.what();
    }
    return loaded;
}

void PlayListStore::save(const std::vector<TrackCells>& rows, const PlayListDelimiter& delimiter) const {
    if (rows.empty() || m_keepUnreadableFile)
        return;
    createFolderOf(m_path);
    platform::writeFileAtomically(m_path, writeOwnPlayList(rows, delimiter));
}

} // namespace playlist
