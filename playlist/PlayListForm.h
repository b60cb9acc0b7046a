#pragma once

#include "FindFile.h"
#include "MP3Tag.h"
#include "PlayListRules.h"
#include "TrackListModel.h"
#include "TrackListView.h"

#include "app/api/PlayListApi.h"
#include "engine/BPMThreads.h"
#include "platform/WindowMessages.h"
#include "skins/SkinnedWindow.h"

#include <QStringList>

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
    // Handles names dropped on the window, in order: ".mp3" files are added,
    // a folder is searched for tracks.
    void DropNames(const QStringList& names);
    void MeasureNext();
    void SendToWaitList();
    void RemoveSelected();
    void MoveUp();
    void MoveDown();
    void SortByColumn(int column);
    void ShowWaitList(bool shown);
    bool waitListShown() const { return m_waitListShown; }
    // Shows the window, focuses the visible list and selects all its entries.
    void SelectAll();

    enum class Deck { A, B };
    void LoadFromPlayList(Deck deck);
    void LoadFromWaitList(Deck deck);
    void PLDblClick();
    void WLDblClick();

    const playlist::SortState& sortState() const { return m_sort; }
    // Whether a measurement was asked for and its result has not come yet.
    bool isMeasuring() const { return m_measuring; }
    // The text of the last worker failure (shown nowhere).
    const QString& lastWorkerFailure() const { return m_lastWorkerFailure; }

    // Replaceable for tests: the file dialog (empty: cancelled), the two
    // message boxes (confirm answers Yes with true) and the random choice.
    std::function<QStringList()> chooseTrackFiles;
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
    void loadIntoDeck(Deck deck, const playlist::TrackCells& cells, bool& fileFound);
    DeckApi* deck(Deck which) const;
    QString deckState(Deck which) const;
    void BpmResult(uintptr_t tenths, const QByteArray& fileName);
    void startBpmWorker();

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
    QString m_lastWorkerFailure;
    // Tracks of a folder search that could not be read, and the first reason.
    int m_unreadableTracks = 0;
    QString m_firstReadError;
    std::unique_ptr<TBPMThread> m_bpmWorker;
    engine::ThreadErrorHook m_previousErrorHook;
};
