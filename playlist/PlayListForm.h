#pragma once

#include "FindFile.h"
#include "MP3Tag.h"
#include "PlayListDelimiter.h"
#include "PlayListRules.h"
#include "PlayListStore.h"
#include "TrackListModel.h"
#include "TrackListView.h"

#include "contracts/DeckSide.h"
#include "contracts/PlayListApi.h"
#include "engine/BPMThreads.h"
#include "platform/WindowMessages.h"
#include "skins/SkinnedWindow.h"

#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class DeckApi;
class QMenu;
class QAction;

// The play list and wait list window. The play list holds the collection,
// kept in path order, with each track's tempo, artist and title; the wait
// list, shown over it on request, queues tracks for the decks. The window
// has the tempo of every track measured by its background BPM worker, one
// track after the other, and hands the decks their next track.
//
// GUI thread only. Results of the worker arrive as posted messages.
class TPlayListForm : public skins::SkinnedWindow, public PlayListApi, public platform::MessageReceiver {
    Q_OBJECT
public:
    TPlayListForm();
    ~TPlayListForm() override;

    // The decks that tracks are sent to; unset decks are never loaded and
    // count as not playing.
    void setDecks(DeckApi* deckA, DeckApi* deckB);

    // PlayListApi: the head of the wait list, else with AutoPlay a random
    // play-list track; missing files are deleted on the way. "False" when
    // there is none.
    QString NextTrack() override;

    // Adds one track to the play list unless a track of that path (ignoring
    // letter case) is there: reads its tag, and puts it at its place in path
    // order with the tempo "000.0". Adding does not start a measurement.
    void AddTrack(const QString& filePath);
    // The rows of both lists. Play list files read and write the play list
    // through its model in one batch (replaceRows, addRows, rows).
    playlist::TrackListModel& playListModel() { return *m_playList; }
    playlist::TrackListModel& waitListModel() { return *m_waitList; }

    // Operations of the window's buttons, menus and keys.
    void AddFilesByDialog();
    // Handles names dropped on the window, in order: files with a track
    // file's ending are added, a folder is searched for tracks.
    void DropNames(const QStringList& names);
    void MeasureNext();
    void SendToWaitList() override;
    void RemoveSelected() override;
    void MoveUp();
    void MoveDown();
    void SortByColumn(int column);
    void ShowWaitList(bool shown);
    bool waitListShown() const { return m_waitListShown; }
    // Shows the window, focuses the visible list and selects all its entries.
    void SelectAll() override;

    void LoadFromPlayList(DeckSide deck);
    void LoadFromWaitList(DeckSide deck);
    void PLDblClick();
    void WLDblClick();

    // "LoadPlayListButton": asks for a play list file and loads it.
    void LoadPlayList();
    // "SavePlayListButton": asks for a file name and saves the play list as
    // an own-format list, or as an M3U list for other players.
    void SavePlayList();
    // Replaces the play list with a ".dpl" file's rows, or with the tracks of
    // a "PLS" or "M3U" list that exist. A file that cannot be loaded is
    // reported through `inform` and the play list stays as it was.
    void LoadPlayListFile(const QString& fileName);
    // Saves the play list in the format the name asks for; a failure is
    // reported and an existing file keeps its contents.
    void SavePlayListFile(const QString& fileName);
    // The delimiter of the own format, detected by the first list read.
    const playlist::PlayListDelimiter& delimiter() const { return m_delimiter; }
    // Where the play list is kept between runs ("PL.ini"): loaded when the
    // window opens, saved when it closes.
    const std::string& storedPlayListPath() const { return m_store.path(); }
    // Where new windows keep the play list; tests point it into a temporary
    // folder, and an empty path restores the usual place.
    static void setStoredPlayListPath(std::string path);

    const playlist::SortState& sortState() const { return m_sort; }
    // Whether a measurement was asked for and its result has not come yet.
    bool isMeasuring() const { return m_measuring; }
    // The text of the last worker failure (shown nowhere).
    const QString& lastWorkerFailure() const { return m_lastWorkerFailure; }

    // Replaceable for tests: the file dialog (empty: cancelled), the two
    // message boxes (confirm answers Yes with true) and the random choice.
    std::function<QStringList()> chooseTrackFiles;
    // The play list files' open and save dialogs (empty: cancelled).
    std::function<QString()> choosePlayListToLoad;
    std::function<QString()> choosePlayListToSave;
    std::function<bool(const QString& text)> confirm;
    std::function<void(const QString& text)> inform;
    std::function<int(int count)> randomIndex;

    // The measurement new windows give their worker; tests replace it, an
    // empty function restores the tempo library's.
    static void setBpmMeasurement(TBPMThread::Measurement measurement);

    // The views and their menus.
    playlist::TrackListView* PL;
    playlist::WaitListView* WL;
    QMenu* PLMenu;
    QMenu* WLMenu;
    TMP3Tag MP3Tag1;
    // Searches dropped folders for tracks, on its own thread.
    TFindFile FindFile1;

    // Handlers of the skin engine and of the messages.
    void SkinForm1MouseDownNotify(const QString& ID, Qt::MouseButton Button);
    void SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton Button);
    void SkinForm1SkinChanged();
    void FindFile1Found(const std::string& Folder, const TSearchRec& FileInfo);
    void FindFile1Complete();
    // Whether tracks of a dropped folder are still being searched or added.
    bool isAddingFolder() const { return FindFile1.Busy() || !m_foundTracks.empty(); }
    bool handleMessage(const platform::WindowMessage& message, intptr_t& result) override;

protected:
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void showMenu(QMenu* menu, playlist::TrackListView* view, QPoint position);
    void enableLoadItems(bool enabled);
    void applyListAppearance();
    void loadIntoDeck(DeckSide deck, const playlist::TrackCells& cells, bool& fileFound);
    DeckApi* deck(DeckSide which) const;
    QString deckState(DeckSide which) const;
    void BpmResult(uintptr_t tenths, const QByteArray& fileName);
    void startBpmWorker();
    void loadStoredPlayList();
    void saveStoredPlayList();
    QString playListFolder() const;

    playlist::TrackListModel* m_playList;
    playlist::TrackListModel* m_waitList;
    DeckApi* m_deckA = nullptr;
    DeckApi* m_deckB = nullptr;
    QAction* m_playListLoadA = nullptr;
    QAction* m_playListLoadB = nullptr;
    QAction* m_waitListLoadA = nullptr;
    QAction* m_waitListLoadB = nullptr;
    bool m_waitListShown = false;
    bool m_measuring = false;
    playlist::SortState m_sort;
    playlist::PlayListDelimiter m_delimiter;
    playlist::PlayListStore m_store;
    QString m_lastWorkerFailure;
    void addFoundTracks();
    void reportUnreadableTracks();

    // Tracks a folder search found and that wait to be added. They are added
    // in slices between other events, so that a folder of thousands of
    // tracks never holds up the window for long.
    std::deque<QString> m_foundTracks;
    QTimer* m_addFoundTracks;
    // Tracks of a folder search that could not be read, and the first reason.
    int m_unreadableTracks = 0;
    QString m_firstReadError;
    std::unique_ptr<TBPMThread> m_bpmWorker;
    engine::ThreadErrorHook m_previousErrorHook;
};
