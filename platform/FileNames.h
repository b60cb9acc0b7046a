#pragma once

#include <string>

// Parts of "/"-separated paths, taken from the text alone (nothing is looked
// up on disk). Any thread.
namespace platform {

// Everything after the last "/"; the whole path when it has none.
std::string fileNameOf(const std::string& path);
// Everything up to and including the last "/"; empty when there is none.
std::string folderWithSeparatorOf(const std::string& path);
// The folder without its trailing "/" ("/" for a file in the root), or
// `noFolder` when the path has no "/".
std::string folderOf(const std::string& path, const std::string& noFolder);
// The type word of a file name: up to three characters after the first
// "." of the name, in upper case ("MP3", "DPL", "JPE"); " " for a name
// without a dot.
std::string typeWordOf(const std::string& path);
// ASCII letters in upper case, other bytes as they are.
std::string upperCase(std::string text);

} // namespace platform
