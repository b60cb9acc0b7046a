#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace xaudio {

// Small reads at the start of a file, to tell what it holds before a
// decoder is given it. Any thread; blocking file I/O.

// Reads up to `bytes` bytes at `offset`; fewer at the end of the file.
std::string readAt(int descriptor, off_t offset, size_t bytes);

// The size of a regular file that can be opened for reading, or -1.
int64_t readableFileSize(const std::string& path);

// The offset just past the ID3v2 tags at the start of the file (0 when it
// has none). Tags can hold pictures of any size; they are skipped by their
// stated size rather than searched.
off_t skipId3v2Tags(int descriptor);

// What a file holds, told by its first bytes.
enum class Container {
    // Anything else, MPEG audio among it.
    Other,
    Wave,
    Flac,
    OggVorbis,
    OggOpus,
};
Container detectContainer(const std::string& path);

} // namespace xaudio
