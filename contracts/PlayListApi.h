#pragma once

#include <QString>

// The texts the play list and the decks hand each other.
namespace play_list_texts {
// NextTrack's answer when there is no track.
inline constexpr const char* kNoNextTrack = "False";
// The tempo text of a track whose tempo was not measured.
inline constexpr const char* kTempoNotMeasured = "000.0";
} // namespace play_list_texts

// What the decks, the key handler and the preferences dialog use of the
// play list window.
// GUI thread only.
class PlayListApi {
public:
    virtual ~PlayListApi() = default;

    // The next track for a deck: the head of the wait list, else (with
    // AutoPlay on) a random play-list entry; "False" when there is none.
    // Sets LoadedBpm to the track's tempo text when it answers a path.
    virtual QString NextTrack() = 0;

    // The keyboard's play-list commands. SelectAll shows the window, gives
    // the keyboard to the wait list when it is visible, else to the play
    // list, and selects all entries of that list; RemoveSelected removes the
    // selected entries (as "ListMinusButton" does); SendToWaitList sends
    // them to the wait list (as "WaitListPlusButton" does). A window without
    // lists ignores them.
    virtual void SelectAll() {}
    virtual void RemoveSelected() {}
    virtual void SendToWaitList() {}

    // The tempo text of the track most recently handed to a deck; the decks
    // read it while loading. "000.0" means not measured.
    QString LoadedBpm;
    // Whether the decks draw random play-list tracks and hand over to each
    // other automatically (preferences "Auto Play").
    bool AutoPlay = true;
};
