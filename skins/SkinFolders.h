#pragma once

#include <string>

namespace skins {

// The skin definition file of each skinned window.
namespace skin_files {
inline constexpr const char* kPlayerA = "PlayerA.ini";
inline constexpr const char* kPlayerB = "PlayerB.ini";
inline constexpr const char* kMixer = "Mixer.ini";
inline constexpr const char* kPlayList = "PlayList.ini";
inline constexpr const char* kEqualizer = "EQ.ini";
inline constexpr const char* kAbout = "About.ini";
} // namespace skin_files

// The folder holding the skin folders, below the application folder.
std::string skinsFolder();
// The default skin folder, "skins/Default/" below the application folder,
// ending in "/". Tests may point it elsewhere; an empty path restores the
// real one. GUI thread only.
std::string defaultSkinFolder();
void setDefaultSkinFolder(const std::string& folder);

} // namespace skins
