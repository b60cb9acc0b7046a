#include "playlist/PlayListForm.h"

#include "contracts/DeckApi.h"
#include "platform/ErrorReport.h"
#include "playlist/TrackText.h"
#include "support/AudioFixtures.h"
#include "support/EventLoop.h"
#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

using playlist::kArtistCell;
using playlist::kBpmCell;
using playlist::kPathCell;
using playlist::kTitleCell;
using test_support::processEventsUntil;
using test_support::TemporaryFolder;

namespace {

// Stands in for a deck: has a state and records what it was asked to load,
// with the tempo the play list offered it at that moment.
class DeckStandIn : public DeckApi {
public:
    explicit DeckStandIn(const PlayListApi& playList) : m_playList(playList) {}
    void LoadTrack(const QString& fileName) override {
        loaded << fileName;
        loadedBpm << m_playList.LoadedBpm;
    }
    QString deckStateText() const override { return state; }
    QString state = QStringLiteral("CLOSED");
    QStringList loaded;
    QStringList loadedBpm;

private:
    const PlayListApi& m_playList;
};

// A tempo measurement that answers from the file name: "broken" fails the
// worker, "silent" cannot be measured, every other file is 127.96 BPM.
double fakeMeasurement(const char* fileName, double, double, double*, double*) {
    const std::string name(fileName);
    if (name.find("broken") != std::string::npos)
        throw std::runtime_error("decoder broke");
    if (name.find("silent") != std::string::npos)
        return 0.0;
    return 127.96;
}

std::string tagged(const std::string& title, const std::string& artist) {
    auto field = [](std::string text) {
        text.resize(30, '\0');
        return text;
    };
    return std::string(300, '\xff') + "TAG" + field(title) + field(artist) + std::string(30 + 4 + 30, '\0') + '\x11';
}

struct MeasurementOverride {
    MeasurementOverride() { TPlayListForm::setBpmMeasurement(&fakeMeasurement); }
    ~MeasurementOverride() { TPlayListForm::setBpmMeasurement({}); }
};

// Keeps the window's stored play list out of the application folder.
struct StoredPlayListOverride {
    explicit StoredPlayListOverride(const std::string& path) { TPlayListForm::setStoredPlayListPath(path); }
    ~StoredPlayListOverride() { TPlayListForm::setStoredPlayListPath({}); }
};

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

class PlayListFormTest : public ::testing::Test {
protected:
    PlayListFormTest() : workingDirectory(settings.path()) {
        previousReporter = platform::setErrorReporter([this](const QString& text) { errors << text; });
        form.setDecks(&deckA, &deckB);
        form.confirm = [this](const QString& text) {
            questions << text;
            return answer;
        };
        form.inform = [this](const QString& text) { messages << text; };
        form.show();
    }
    ~PlayListFormTest() override {
        platform::setErrorReporter(previousReporter);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    }

    QString track(const std::string& name, const std::string& title = "Title", const std::string& artist = "Artist") {
        test_support::writeFile(music.file(name), tagged(title, artist));
        return QString::fromStdString(music.file(name));
    }
    std::vector<std::string> cells(playlist::TrackListModel& model, int column) {
        std::vector<std::string> texts;
        for (const auto& row : model.rows())
            texts.push_back(row[static_cast<size_t>(column)]);
        return texts;
    }
    void select(playlist::TrackListView* view, std::initializer_list<int> rows) {
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QPoint rowCentre(playlist::TrackListView* view, int row) {
        return view->visualRect(view->model()->index(row, kBpmCell)).center();
    }

    TemporaryFolder settings;
    TemporaryFolder music;
    test_support::WorkingDirectory workingDirectory;
    MeasurementOverride measurement;
    StoredPlayListOverride storedPlayList{settings.file("PL.ini")};
    QStringList errors;
    platform::ErrorReporter previousReporter;
    TPlayListForm form;
    DeckStandIn deckA{form};
    DeckStandIn deckB{form};
    QStringList questions;
    QStringList messages;
    bool answer = true;
};

} // namespace

TEST_F(PlayListFormTest, AddingEncodesCommasCleansTagsAndRefusesTheSamePathInAnyCase) {
    const QString path = track("a,b.mp3", "Hello, World\x01", "Art,ist");
    form.AddTrack(path);
    form.AddTrack(path.toUpper());
    form.AddTrack(path);
    ASSERT_EQ(form.playListModel().count(), 1);
    const playlist::TrackCells& row = form.playListModel().row(0);
    EXPECT_EQ(row[kPathCell], music.file("a*^@b.mp3"));
    EXPECT_EQ(row[kBpmCell], "000.0");
    EXPECT_EQ(row[kArtistCell], "Artist");
    EXPECT_EQ(row[kTitleCell], "Hello World");
    EXPECT_FALSE(form.isMeasuring());
}

TEST_F(PlayListFormTest, DroppedFilesMustEndInALowerCaseTrackEnding) {
    const QString upper = track("LOUD.MP3");
    const QString lower = track("quiet.mp3");
    const QString other = track("notes.txt");
    const QString upperFlac = track("LOUD.FLAC");
    form.ShowWaitList(true);
    QMimeData data;
    QList<QUrl> urls{QUrl::fromLocalFile(upper), QUrl::fromLocalFile(other), QUrl::fromLocalFile(lower),
                     QUrl::fromLocalFile(upperFlac)};
    for (const char* name : {"a.flac", "b.ogg", "c.oga", "d.opus", "e.wav", "f.wave", "g.flac.txt"})
        urls << QUrl::fromLocalFile(track(name));
    data.setUrls(urls);
    const QPoint centre = form.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    EXPECT_EQ(cells(form.playListModel(), kPathCell),
              (std::vector<std::string>{music.file("a.flac"), music.file("b.ogg"), music.file("c.oga"),
                                        music.file("d.opus"), music.file("e.wav"), music.file("quiet.mp3")}));
    EXPECT_FALSE(form.waitListShown());
}

// Real files from each format's own encoder: tags are read from what the
// encoders wrote, and the play list's cleaning rules still apply.
TEST_F(PlayListFormTest, FilesOfEveryFormatShowTheTagsTheirEncoderWrote) {
    using test_support::Encoding;
    const std::string wav = music.file("source.wav");
    test_support::makeTone(wav, Encoding::Wav, {.seconds = 1.0});
    const std::vector<std::pair<Encoding, std::string>> files = {{Encoding::Mp3, "v2only.mp3"},
                                                                 {Encoding::Flac, "tagged.flac"},
                                                                 {Encoding::Vorbis, "tagged.ogg"},
                                                                 {Encoding::Opus, "tagged.opus"}};
    for (const auto& [encoding, name] : files) {
        test_support::encodeWav(wav, music.file(name), encoding, {"Art,ist " + name, "Ti\u00e9tle " + name});
        form.AddTrack(QString::fromStdString(music.file(name)));
    }
    test_support::encodeWav(wav, music.file("untagged.flac"), Encoding::Flac);
    form.AddTrack(QString::fromStdString(music.file("untagged.flac")));
    form.AddTrack(QString::fromStdString(wav));

    EXPECT_EQ(cells(form.playListModel(), kArtistCell),
              (std::vector<std::string>{"", "Artist tagged.flac", "Artist tagged.ogg", "Artist tagged.opus", "",
                                        "Artist v2only.mp3"}));
    EXPECT_EQ(cells(form.playListModel(), kTitleCell),
              (std::vector<std::string>{"source.wav", "Tietle tagged.flac", "Tietle tagged.ogg", "Tietle tagged.opus",
                                        "untagged.flac", "Tietle v2only.mp3"}));
}

TEST_F(PlayListFormTest, DoubleClickLoadsAnIdleDeckElseQueuesTheTrack) {
    const QString first = track("1.mp3");
    form.AddTrack(first);
    form.playListModel().setCell(0, kBpmCell, "128.5");
    select(form.PL, {0});

    deckA.state = QStringLiteral("PLAYING");
    deckB.state = QStringLiteral("STOPPED");
    form.PLDblClick();
    EXPECT_TRUE(deckA.loaded.isEmpty());
    EXPECT_EQ(deckB.loaded, QStringList{first});
    EXPECT_EQ(deckB.loadedBpm, QStringList{QStringLiteral("128.5")});

    deckB.state = QStringLiteral("PLAYING");
    form.PLDblClick();
    ASSERT_EQ(form.waitListModel().count(), 1);
    EXPECT_EQ(form.waitListModel().row(0), form.playListModel().row(0));

    // While the wait list is shown nothing is sent to it.
    form.ShowWaitList(true);
    form.SendToWaitList();
    EXPECT_EQ(form.waitListModel().count(), 1);
}

TEST_F(PlayListFormTest, MissingFilesAreOfferedForRemovalOrAnnouncedAndRemoved) {
    const QString kept = track("kept.mp3");
    const QString gone = track("gone.mp3");
    form.AddTrack(kept);
    form.AddTrack(gone);
    std::remove(gone.toLocal8Bit().constData());

    select(form.PL, {0});
    answer = false;
    form.LoadFromPlayList(DeckSide::A);
    EXPECT_EQ(form.playListModel().count(), 2);
    answer = true;
    form.LoadFromPlayList(DeckSide::A);
    EXPECT_EQ(cells(form.playListModel(), kPathCell), std::vector<std::string>{music.file("kept.mp3")});
    EXPECT_EQ(questions.size(), 2);
    EXPECT_TRUE(deckA.loaded.isEmpty());

    form.waitListModel().addRow({playlist::pathCellOf(gone), "000.0"});
    form.waitListModel().addRow({playlist::pathCellOf(kept), "000.0"});
    form.ShowWaitList(true);
    select(form.WL, {0});
    form.LoadFromWaitList(DeckSide::B);
    EXPECT_EQ(messages.size(), 1);
    ASSERT_EQ(form.waitListModel().count(), 1);
    select(form.WL, {0});
    form.LoadFromWaitList(DeckSide::B);
    EXPECT_EQ(deckB.loaded, QStringList{kept});
    EXPECT_EQ(form.waitListModel().count(), 0);
}

TEST_F(PlayListFormTest, NextTrackTakesTheWaitListHeadThenFollowsAutoPlay) {
    form.AutoPlay = false;
    EXPECT_EQ(form.NextTrack(), QStringLiteral("False"));
    const QString one = track("one.mp3");
    form.AddTrack(one);
    EXPECT_EQ(form.NextTrack(), QStringLiteral("False"));
    form.AutoPlay = true;
    form.playListModel().setCell(0, kBpmCell, "121.0");
    EXPECT_EQ(form.NextTrack(), one);
    EXPECT_EQ(form.LoadedBpm, QStringLiteral("121.0"));
    EXPECT_EQ(form.playListModel().count(), 1);
}

TEST_F(PlayListFormTest, WaitListEntriesMoveWithTheMouseAndTheButtons) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        form.waitListModel().addRow({music.file(name), "000.0"});
    form.ShowWaitList(true);
    QWidget* viewport = form.WL->viewport();

    sendMouse(viewport, QEvent::MouseButtonPress, rowCentre(form.WL, 0));
    EXPECT_EQ(viewport->cursor().shape(), Qt::DragMoveCursor);
    sendMouse(viewport, QEvent::MouseMove, rowCentre(form.WL, 2));
    sendMouse(viewport, QEvent::MouseButtonRelease, rowCentre(form.WL, 2));
    EXPECT_EQ(
        cells(form.waitListModel(), kPathCell),
        (std::vector<std::string>{music.file("b.mp3"), music.file("c.mp3"), music.file("a.mp3"), music.file("d.mp3")}));
    EXPECT_EQ(form.WL->selectedRowIndexes(), std::vector<int>{2});
    EXPECT_EQ(form.WL->currentIndex().row(), 2);
    EXPECT_NE(viewport->cursor().shape(), Qt::DragMoveCursor);

    // Released below the last entry: to the end.
    sendMouse(viewport, QEvent::MouseButtonPress, rowCentre(form.WL, 1));
    sendMouse(viewport, QEvent::MouseButtonRelease, QPoint(rowCentre(form.WL, 1).x(), viewport->height() - 2));
    EXPECT_EQ(form.waitListModel().cell(3, kPathCell), music.file("c.mp3"));

    select(form.WL, {0});
    form.MoveUp();
    EXPECT_EQ(form.waitListModel().cell(0, kPathCell), music.file("b.mp3"));
    form.MoveDown();
    form.MoveDown();
    EXPECT_EQ(form.waitListModel().cell(2, kPathCell), music.file("b.mp3"));
    EXPECT_EQ(form.WL->selectedRowIndexes(), std::vector<int>{2});
}

TEST_F(PlayListFormTest, SortButtonsFollowTheirColumnRule) {
    form.AddTrack(track("x.mp3", "T2", "A1"));
    form.AddTrack(track("y.mp3", "T1", "A2"));
    form.SkinForm1MouseDownNotify(QStringLiteral("ArtistSort"), Qt::LeftButton);
    EXPECT_EQ(cells(form.playListModel(), kArtistCell), (std::vector<std::string>{"A2", "A1"}));
    form.SkinForm1MouseDownNotify(QStringLiteral("TitleSort"), Qt::LeftButton);
    EXPECT_EQ(cells(form.playListModel(), kTitleCell), (std::vector<std::string>{"T2", "T1"}));
    form.SkinForm1MouseDownNotify(QStringLiteral("TitleSort"), Qt::LeftButton);
    EXPECT_EQ(cells(form.playListModel(), kTitleCell), (std::vector<std::string>{"T1", "T2"}));
}

TEST_F(PlayListFormTest, MeasuringWalksTheListAndDropsResultsOfRemovedEntries) {
    form.AddTrack(track("a.mp3"));
    form.AddTrack(track("b.mp3"));
    form.AddTrack(track("c silent.mp3"));
    form.playListModel().setCell(1, kBpmCell, "99.5");
    form.SkinForm1MouseUpNotify(QStringLiteral("BPMButton"), Qt::LeftButton);
    ASSERT_TRUE(form.isMeasuring());
    // The entry in measurement goes before its result arrives.
    form.playListModel().removeRowAt(0);
    ASSERT_TRUE(processEventsUntil([&] { return !form.isMeasuring(); }));
    EXPECT_EQ(cells(form.playListModel(), kBpmCell), (std::vector<std::string>{"99.5", "0"}));

    form.AddTrack(track("d.mp3"));
    form.MeasureNext();
    ASSERT_TRUE(processEventsUntil([&] { return !form.isMeasuring(); }));
    EXPECT_EQ(form.playListModel().cell(2, kBpmCell), "128.0");
}

TEST_F(PlayListFormTest, AWorkerFailureIsPostedWithAReadableClassName) {
    form.AddTrack(track("broken.mp3"));
    form.MeasureNext();
    ASSERT_TRUE(processEventsUntil([&] { return !form.lastWorkerFailure().isEmpty(); }));
    EXPECT_EQ(form.lastWorkerFailure(), QStringLiteral("decoder broke  [std::runtime_error]"));
    EXPECT_EQ(form.playListModel().cell(0, kBpmCell), "000.0");
}

TEST_F(PlayListFormTest, DroppedFoldersAreSearchedOneAtATime) {
    const QString first = QString::fromStdString(music.file("first"));
    const QString second = QString::fromStdString(music.file("second"));
    std::filesystem::create_directories(music.file("first/inner"));
    std::filesystem::create_directories(music.file("second"));
    track("first/one.mp3", "One");
    track("first/inner/TWO.MP3", "Two");
    track("first/cover.jpg");
    track("first/four.flac", "Four");
    track("first/inner/five.opus", "Five");
    track("second/three.mp3");
    const QString loose = track("loose.mp3", "Loose");
    form.DropNames({first, second, loose});
    ASSERT_TRUE(processEventsUntil([&] { return !form.isAddingFolder(); }));
    EXPECT_EQ(cells(form.playListModel(), kPathCell),
              (std::vector<std::string>{music.file("first/four.flac"), music.file("first/inner/TWO.MP3"),
                                        music.file("first/inner/five.opus"), music.file("first/one.mp3"),
                                        music.file("loose.mp3")}));
    EXPECT_EQ(cells(form.playListModel(), kTitleCell),
              (std::vector<std::string>{"Four", "Two", "Five", "One", "Loose"}));
}
