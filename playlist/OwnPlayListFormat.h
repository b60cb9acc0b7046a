#pragma once

#include "PlayListDelimiter.h"
#include "TrackCells.h"

#include <string>
#include <string_view>
#include <vector>

// The play list's own file format (".dpl" files and the stored play list):
// one line per row, the row's cells joined by the delimiter, CR LF after
// each line, no header, nothing quoted or escaped. Cells are bytes as the
// list holds them; the path cell is already encoded, so it holds no ",".
// Pure functions on bytes, so they can be fed anything; any thread.
namespace playlist {

// The lines of a text: a line ends at LF, and a CR before the LF is not part
// of it. Text after the last LF is a last line; a text ending in LF has no
// empty line after it. A UTF-8 byte order mark at the start is dropped.
std::vector<std::string_view> splitTextLines(std::string_view text);

// Splits one line into cells. A field that starts with a double quote runs to
// the next double quote (files written elsewhere may quote), and whatever
// follows it up to the next delimiter is dropped; an unclosed quote runs to
// the next delimiter. The text after the last delimiter is a last cell only
// when it is not empty, with one leading and one trailing double quote
// removed. The result always has the path cell, empty for an empty line.
TrackCells splitOwnLine(std::string_view line, char delimiter);

// Reads a whole file's bytes. Detects the delimiter first when it is unset.
// Cells are kept as they are: no existence test, no tag, no duplicate test.
std::vector<TrackCells> readOwnPlayList(std::string_view bytes, PlayListDelimiter& delimiter);

// The file's bytes for these rows, in their order: each row's cells joined by
// the delimiter, then CR LF.
std::string writeOwnPlayList(const std::vector<TrackCells>& rows, const PlayListDelimiter& delimiter);

} // namespace playlist
