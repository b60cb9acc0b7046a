#pragma once

#include <string>

// How a play list file is told by its name, and the texts of the play list's
// file commands. Pure functions; any thread.
namespace playlist {

inline constexpr const char* kPlayListStoreFileName = "PL.ini";
inline constexpr const char* kOwnExtension = "dpl";
inline constexpr const char* kM3u8Extension = "m3u8";
inline constexpr const char* kSaveDialogFilter = "Play List (*.dpl)|*.dpl|M3U Play List (*.m3u8)|*.m3u8";
inline constexpr const char* kLoadDialogFilter = "Play List (*.*)|*.*";
inline constexpr const char* kMissingListMessage = "This Play List file does not exist.";
inline constexpr const char* kUnsupportedListMessage = "There is no suport for this type of play list.";
inline constexpr const char* kUnreadableListMessage = "File cannot be opened";

enum class PlayListType { Own, Pls, M3u, Unsupported };

// The type text of a file name: the three characters (fewer at the end of
// the name) after the first "." of the file's own name, in upper case; a
// single space when the name has no ".". Dots in the folders above the file
// (such as "~/.local") do not count. "my.list.dpl" gives "LIS", "a.m3u8"
// gives "M3U".
std::string playListTypeText(const std::string& fileName);
PlayListType playListTypeOf(const std::string& fileName);

// The format a save writes: M3U for a name ending in ".m3u8" or ".m3u" (any
// letter case), the own format for every other name.
enum class SaveFormat { Own, M3u8 };
SaveFormat saveFormatFor(const std::string& fileName);

} // namespace playlist
