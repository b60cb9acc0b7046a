#include "PlayListFiles.h"

#include "ForeignPlayLists.h"
#include "OwnPlayListFormat.h"
#include "PlayListFileType.h"
#include "platform/ApplicationFolder.h"
#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"
#include "platform/FileNames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace playlist {
namespace {

// Far beyond any collection (100,000 tracks take about 10 MB); a larger file
// is not a play list, and reading it whole would only exhaust the memory.
constexpr off_t kLargestListBytes = off_t{512} * 1024 * 1024;

[[noreturn]] void cannotOpen(const std::string& path, const std::string& reason) {
    throw PlayListFileError(std::string(kUnreadableListMessage) + "\n" + path + " (" + reason + ")");
}

PlayListFileContents refusal(const std::string& message) {
    PlayListFileContents contents;
    contents.message = message;
    return contents;
}

} // namespace

std::string readListFile(const std::string& path) {
    // Opened without blocking, so a FIFO given as a list cannot hang the window.
    const platform::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const int descriptor = file.get();
    if (descriptor < 0)
        cannotOpen(path, std::strerror(errno));

    struct stat info {};
    if (::fstat(descriptor, &info) != 0)
        cannotOpen(path, std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        cannotOpen(path, std::strerror(EISDIR));
    if (!S_ISREG(info.st_mode))
        cannotOpen(path, "not a regular file");
    if (info.st_size > kLargestListBytes)
        cannotOpen(path, "too large for a play list");

    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[64 * 1024];
    while (true) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            cannotOpen(path, std::strerror(errno));
        if (count == 0)
            return bytes;
        bytes.append(buffer, static_cast<size_t>(count));
        if (static_cast<off_t>(bytes.size()) > kLargestListBytes)
            cannotOpen(path, "too large for a play list");
    }
}

PlayListFileContents openPlayListFile(const std::string& path, PlayListDelimiter& delimiter) {
    const PlayListType type = playListTypeOf(path);
    if (type == PlayListType::Unsupported)
        return refusal(kUnsupportedListMessage);
    // A foreign list that is not there is refused like an own one, rather
    // than emptying the play list and adding nothing.
    if (!platform::fileExists(path))
        return refusal(kMissingListMessage);

    std::string bytes;
    try {
        bytes = readListFile(path);
    } catch (const PlayListFileError& error) {
        return refusal(error.what());
    }

    PlayListFileContents contents;
    if (type == PlayListType::Own) {
        contents.action = PlayListFileContents::Action::ReplaceRows;
        contents.rows = readOwnPlayList(bytes, delimiter);
        return contents;
    }
    contents.action = PlayListFileContents::Action::AddTracks;
    const std::string folder = platform::folderOf(path, platform::currentDirectory());
    for (std::string& listed : type == PlayListType::Pls ? readPlsPaths(bytes, folder) : readM3uPaths(bytes, folder))
        if (platform::fileExists(listed))
            contents.paths.push_back(std::move(listed));
    return contents;
}

void savePlayListFile(const std::string& path, const std::vector<TrackCells>& rows,
                      const PlayListDelimiter& delimiter) {
    if (rows.empty())
        return;
    platform::writeFileAtomically(path, saveFormatFor(path) == SaveFormat::M3u8 ? writeM3u8(rows)
                                                                                : writeOwnPlayList(rows, delimiter));
}

} // namespace playlist
