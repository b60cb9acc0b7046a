#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces the file at `path` with `bytes` so that, whatever happens during
// the call (a crash, a kill, a full disk), the file holds either its old or
// its new contents, never a mixture: the bytes go to a temporary file in the
// same folder, are flushed to the disk, and the temporary file is renamed
// over the old one. An existing file keeps its permission bits (and owner
// where the process may set it); a new file gets the process's default
// permissions. A symbolic link is followed, so the file it points to is
// replaced and the link stays. Throws FileWriteError with the path and the
// system's reason; the old file is then untouched and no temporary file is
// left. Any thread; blocks on the disk.
void writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace platform
