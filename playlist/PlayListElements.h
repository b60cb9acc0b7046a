#pragma once

// The names the play list window's skin elements carry, its menu captions
// and its messages.
namespace playlist_elements {

// Hot areas.
inline constexpr const char* kWaitListToggle = "WLPLButton";
inline constexpr const char* kWaitListPlusButton = "WaitListPlusButton";
inline constexpr const char* kListMinusButton = "ListMinusButton";
inline constexpr const char* kUpButton = "UpButton";
inline constexpr const char* kDownButton = "DownButton";
inline constexpr const char* kBpmSort = "BPMSort";
inline constexpr const char* kArtistSort = "ArtistSort";
inline constexpr const char* kTitleSort = "TitleSort";
inline constexpr const char* kLoadPlayListButton = "LoadPlayListButton";
inline constexpr const char* kSavePlayListButton = "SavePlayListButton";
inline constexpr const char* kBpmButton = "BPMButton";
inline constexpr const char* kPlayListPlusButton = "PlayListPlusButton";
// The gauge that shows which list is in front.
inline constexpr const char* kListGauge = "PLWLLabel";

// Context menu items.
inline constexpr const char* kPlayListLoadA = "Load To Player A";
inline constexpr const char* kPlayListLoadB = "Load To Player B";
inline constexpr const char* kPlayListSendToWaitList = "Send to WL";
inline constexpr const char* kWaitListLoadA = "Load to Player A";
inline constexpr const char* kWaitListLoadB = "Load to Player B";

// Messages.
inline constexpr const char* kAskRemoveMissing =
    "Can not find this song on your system.\r\nShould I remove it from the playlist?";
inline constexpr const char* kRemovingMissing =
    "Can not find this song on your system.\r\nI will remove it from the waitlist.";

} // namespace playlist_elements
