#pragma once

#include "TrackCells.h"

#include <string>
#include <string_view>
#include <vector>

// Play lists as other players write them. The readers take a file's bytes
// and the folder the file lies in, and give the file paths the list names,
// absolute and in list order; whether those files exist is for the caller to
// test. Pure functions, so they can be fed anything; any thread.
namespace playlist {

// What the "PLS" reader answers for an entry whose key is missing.
inline constexpr const char* kPlsMissingEntry = "NOT_DEFINED";

// The local file an entry of a list names: an absolute path as it is, a
// relative path joined to the list's folder, a "file://" address decoded.
// Both are cleaned of "." and ".." steps, so the same file gets the same
// path however a list spells it. Another address (a stream "http://...")
// names no local file and gives an empty text.
std::string resolveListEntry(std::string_view entry, const std::string& listFolder);

// Section "playlist": "NumberOfEntries" entries, named by the keys "File1",
// "File2", ...; a missing key reads as "NOT_DEFINED", which is resolved like
// any other name (and names no file unless one of that name exists).
std::vector<std::string> readPlsPaths(std::string_view bytes, const std::string& listFolder);

// Every line that is not empty and not a "#" comment or directive (such as
// "#EXTM3U" and "#EXTINF") names a file. Lines end in LF or CR LF; a list
// that ends lines in CR alone is read too.
std::vector<std::string> readM3uPaths(std::string_view bytes, const std::string& listFolder);

// An extended M3U list in UTF-8 (".m3u8") for other players: "#EXTM3U", then
// for each row an "#EXTINF" line with an unknown length and "Artist - Title"
// (the file's name when the row has neither), and the decoded path. Lines end
// in LF. A row whose path holds a line break cannot be written as a line and
// is left out.
std::string writeM3u8(const std::vector<TrackCells>& rows);

} // namespace playlist
