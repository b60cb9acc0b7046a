#pragma once

#include "TrackListModel.h"
#include "contracts/PlayListApi.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

// The play list window's decisions, as plain logic: which deck a
// double-click loads, when a menu's load items are enabled, how the sort
// buttons and the wait list's mouse moves work, and which track NextTrack
// hands out. GUI thread only where models are involved.
namespace playlist {

inline constexpr const char* kNoNextTrack = play_list_texts::kNoNextTrack;

// The path cell of a file path, and the file path of a path cell.
std::string pathCellOf(const QString& filePath);
QString filePathOf(const std::string& pathCell);

// The sort buttons' column and direction. The button of the column in use
// flips the direction; another button takes its column and keeps the
// direction.
struct SortState {
    int column = kArtistCell;
    Qt::SortOrder order = Qt::AscendingOrder;
    void press(int buttonColumn);
};

enum class DoubleClickTarget { DeckA, DeckB, WaitList, Nothing };
// A double-click loads deck A unless it plays, else deck B unless it plays;
// with no play-list entry selected it always loads deck A. From the play
// list the entry goes to the wait list when both decks play; from the wait
// list nothing happens then.
DoubleClickTarget doubleClickTarget(const QString& stateA, const QString& stateB, int playListSelectionCount,
                                    bool fromWaitList);

// Whether a context menu's item that loads a deck is enabled: not while that
// deck plays or pauses, and not with more than one entry selected.
bool deckLoadItemEnabled(const QString& deckState, int selectedCount);

// The index a pressed wait-list entry takes when the button is released over
// the entry at `releaseRow`; over no entry (-1) it goes to the end.
int waitListDropIndex(int releaseRow, int count);

// The row the Up / Down buttons move the first selected wait-list entry to,
// or nothing when it cannot move.
std::optional<int> moveUpIndex(int index);
std::optional<int> moveDownIndex(int index, int count);

struct ChosenTrack {
    QString filePath;
    std::string bpm;
};
struct NextTrackSources {
    std::function<bool(const QString& filePath)> fileExists;
    // A uniformly random index in [0, count).
    std::function<int(int count)> randomIndex;
};
// The next track for a deck: the head of the wait list (taken off it), else,
// with autoPlay, a random play-list entry (kept in the play list). Entries
// whose file is missing are deleted silently from either list on the way.
std::optional<ChosenTrack> chooseNextTrack(TrackListModel& waitList, TrackListModel& playList, bool autoPlay,
                                           const NextTrackSources& sources);

} // namespace playlist
