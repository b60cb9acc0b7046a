// The ID3v1 trailer of a track: any file gives fields of at most their
// length, or the tag's error text.
#include "FuzzTarget.h"

#include "MemoryFile.h"

#include "playlist/MP3Tag.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzzing::MemoryFile file(data, size);
    TMP3Tag tag;
    tag.SetFilename(file.path());
    if (tag.Title().size() > TMP3Tag::kTextFieldLength || tag.Artist().size() > TMP3Tag::kTextFieldLength ||
        tag.Album().size() > TMP3Tag::kTextFieldLength || tag.Comment().size() > TMP3Tag::kTextFieldLength ||
        tag.Year().size() > TMP3Tag::kYearLength || (tag.Valid() && !tag.Error().empty()))
        std::abort();
    return 0;
}
