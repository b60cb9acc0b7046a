#pragma once

#include "contracts/PlayListApi.h"

#include <string>

// The text rules of play list entries. Plain functions on byte strings; the
// play list window turns the results into its cells.
namespace playlist {

// A path cell stores every "," of the path as these three characters, so
// that a comma-separated play list line keeps the path in one field.
inline constexpr const char* kEncodedComma = "*^@";
inline constexpr const char* kUnmeasuredBpm = play_list_texts::kTempoNotMeasured;

// Replaces every "," with "*^@", left to right.
std::string encodePath(const std::string& path);
// Replaces every "*^@" with ",", left to right; the search resumes after each
// replacement, so "*^@^@" gives ",^@".
std::string decodePath(const std::string& cell);
// Removes every ",", then keeps only characters with codes 32 to 126 (zero
// bytes of tag padding and bytes of other code pages go).
std::string cleanTagText(const std::string& text);
// The tempo text of a measured result given in tenths of a BPM: the shortest
// decimal form of tenths / 10, with ".0" appended when that text is a whole
// number exactly three characters long. 1200 gives "120.0", 995 "99.5",
// 990 "99", 0 "0", 95 "9.5".
std::string formatBpmResult(long long tenths);

} // namespace playlist
