#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace playlist {

// The fields of a file's ID3v2 tag, Vorbis comments or FLAC tags, as the
// 8-bit bytes the ID3v1 reader holds (see toTagBytes).
struct ModernTagFields {
    std::string artist;
    std::string title;
    std::string album;
    std::string year;
    std::string comment;
    // The ID3v1 genre number of the tag's genre name, if it has one.
    std::optional<uint8_t> genreID;
};

// Longest field kept, in bytes. Such tags hold texts of any length; full
// titles keep the mix names DJs tell versions apart by, and the bound keeps a
// hostile tag from flooding the play list.
inline constexpr std::size_t kModernFieldLength = 250;

// Reads the tag of a regular file through TagLib, choosing the format by the
// file's extension. Empty when the format is unknown, the file cannot be
// read, or neither artist nor title is set.
std::optional<ModernTagFields> readModernTags(const std::string& path);

// Converts UTF-8 text to the bytes shown beside ID3v1 fields: accents are
// folded away ("Björk" gives "Bjork"), other characters of ISO-8859-1 are kept
// as its bytes, anything else becomes "?". Control characters become spaces
// and the result is trimmed and cut to kModernFieldLength bytes.
std::string toTagBytes(const std::string& utf8);

} // namespace playlist
