#include "AtomicFile.h"

#include "FileNames.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
    throw FileWriteError(what + " " + path + " (" + std::strerror(error) + ")");
}

// The file a write really replaces: renaming over a symbolic link would
// replace the link itself with a plain file.
std::string targetOf(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

// Opens a new, uniquely named file beside `path`. Unlike mkstemp, the file is
// created with mode 0666 so that the umask decides a new file's permissions,
// as for any other file the user creates.
int createTemporaryBeside(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    errno = EEXIST;
    return -1;
}

// Returns 0 or the errno of the failure.
int writeAll(int descriptor, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0)
            return errno;
        if (result == 0)
            return EIO;
        written += static_cast<size_t>(result);
    }
    return 0;
}

// Gives the temporary file the owner and permissions of the file it replaces
// and fills it. Returns 0 or the errno of the failure.
int fill(int descriptor, const std::string& path, std::string_view bytes) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        // Only the superuser may give a file away; a user's own files keep
        // their owner anyway, so a refusal is no failure. Owner before mode:
        // changing the owner may clear set-id bits that the mode restores.
        [[maybe_unused]] const int ownerKept = ::fchown(descriptor, existing.st_uid, existing.st_gid);
        if (::fchmod(descriptor, existing.st_mode & 07777) != 0)
            return errno;
    }
    if (const int error = writeAll(descriptor, bytes); error != 0)
        return error;
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

} // namespace

void writeFileAtomically(const std::string& requestedPath, std::string_view bytes) {
    const std::string path = targetOf(requestedPath);
    std::string temporary;
    const int descriptor = createTemporaryBeside(path, temporary);
    if (descriptor < 0)
        fail("Cannot create file", path, errno);

    int error = fill(descriptor, path, bytes);
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        fail("Cannot write file", path, error);
    }

    // The rename is durable only once the folder itself reaches the disk.
    const int folder = ::open(folderOf(path, ".").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace platform
