#pragma once

#include <string>
#include <vector>

namespace playlist {

// One row of the play list or the wait list as its text cells, in order: the
// path (encoded, "," stored as "*^@"), the tempo text, the artist and the
// title. A row read from a play list file may hold fewer than four cells.
// Bytes are kept as they are; the window shows them through the locale.
using TrackCells = std::vector<std::string>;

// Cell indexes of a row.
inline constexpr int kPathCell = 0;
inline constexpr int kBpmCell = 1;
inline constexpr int kArtistCell = 2;
inline constexpr int kTitleCell = 3;

} // namespace playlist
