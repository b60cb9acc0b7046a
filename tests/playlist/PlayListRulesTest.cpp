#include "playlist/PlayListRules.h"

#include "support/TemporaryFolder.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <deque>

using namespace playlist;
using test_support::TemporaryFolder;

TEST(PlayListRulesTest, SortButtonsFlipTheirOwnColumnAndKeepTheDirectionForAnother) {
    SortState sort;
    sort.press(kArtistCell);
    EXPECT_EQ(sort.column, kArtistCell);
    EXPECT_EQ(sort.order, Qt::DescendingOrder);
    sort.press(kArtistCell);
    EXPECT_EQ(sort.order, Qt::AscendingOrder);
    sort.press(kTitleCell);
    EXPECT_EQ(sort.column, kTitleCell);
    EXPECT_EQ(sort.order, Qt::AscendingOrder);
    sort.press(kTitleCell);
    sort.press(kBpmCell);
    EXPECT_EQ(sort.column, kBpmCell);
    EXPECT_EQ(sort.order, Qt::DescendingOrder);
}

TEST(PlayListRulesTest, DoubleClickLoadsTheFirstDeckThatDoesNotPlay) {
    const QString playing = QStringLiteral("PLAYING");
    const QString stopped = QStringLiteral("STOPPED");
    EXPECT_EQ(doubleClickTarget(stopped, stopped, 1, false), DoubleClickTarget::DeckA);
    EXPECT_EQ(doubleClickTarget(QStringLiteral("PAUSED"), playing, 1, false), DoubleClickTarget::DeckA);
    EXPECT_EQ(doubleClickTarget(playing, stopped, 1, false), DoubleClickTarget::DeckB);
    EXPECT_EQ(doubleClickTarget(playing, playing, 2, false), DoubleClickTarget::WaitList);
    EXPECT_EQ(doubleClickTarget(playing, playing, 1, true), DoubleClickTarget::Nothing);
    // The tests look at the play list's selection even for the wait list.
    EXPECT_EQ(doubleClickTarget(playing, playing, 0, true), DoubleClickTarget::DeckA);
}

TEST(PlayListRulesTest, MenuLoadItemsNeedAnIdleDeckAndAtMostOneEntry) {
    EXPECT_TRUE(deckLoadItemEnabled(QStringLiteral("LOADED"), 1));
    EXPECT_TRUE(deckLoadItemEnabled(QStringLiteral("CLOSED"), 0));
    EXPECT_FALSE(deckLoadItemEnabled(QStringLiteral("PLAYING"), 1));
    EXPECT_FALSE(deckLoadItemEnabled(QStringLiteral("PAUSED"), 1));
    EXPECT_FALSE(deckLoadItemEnabled(QStringLiteral("STOPPED"), 2));
}

TEST(PlayListRulesTest, WaitListMovesStayInsideTheList) {
    EXPECT_EQ(waitListDropIndex(1, 4), 1);
    EXPECT_EQ(waitListDropIndex(-1, 4), 3);
    EXPECT_EQ(moveUpIndex(0), std::nullopt);
    EXPECT_EQ(moveUpIndex(2), 1);
    EXPECT_EQ(moveDownIndex(3, 4), std::nullopt);
    EXPECT_EQ(moveDownIndex(2, 4), 3);
    EXPECT_EQ(moveDownIndex(-1, 4), std::nullopt);
}

TEST(PlayListRulesTest, PathCellsKeepCommasAndBytesOfTheFileName) {
    const QString path = QStringLiteral("/Musik/Ärzte, Die/1,2.mp3");
    EXPECT_EQ(pathCellOf(path), std::string("/Musik/\xc3\x84rzte*^@ Die/1*^@2.mp3"));
    EXPECT_EQ(filePathOf(pathCellOf(path)), path);
}

class NextTrackTest : public ::testing::Test {
protected:
    NextTrackTest() {
        sources.fileExists = [](const QString& path) { return QFileInfo::exists(path); };
        sources.randomIndex = [this](int count) {
            counts.push_back(count);
            const int index = picks.empty() ? 0 : picks.front();
            if (!picks.empty())
                picks.pop_front();
            return index;
        };
    }
    std::string existing(const std::string& name) {
        test_support::writeFile(folder.file(name), "x");
        return pathCellOf(QString::fromStdString(folder.file(name)));
    }
    std::string missing(const std::string& name) { return pathCellOf(QString::fromStdString(folder.file(name))); }

    TemporaryFolder folder;
    TrackListModel waitList{TrackListModel::Order::Arrival};
    TrackListModel playList{TrackListModel::Order::SortedByPath};
    NextTrackSources sources;
    std::deque<int> picks;
    std::vector<int> counts;
};

TEST_F(NextTrackTest, NothingWithoutWaitListAndWithoutAutoPlay) {
    playList.addRow({existing("a.mp3"), "120.0"});
    EXPECT_EQ(chooseNextTrack(waitList, playList, false, sources), std::nullopt);
    EXPECT_EQ(playList.count(), 1);
    TrackListModel emptyPlayList(TrackListModel::Order::SortedByPath);
    EXPECT_EQ(chooseNextTrack(waitList, emptyPlayList, true, sources), std::nullopt);
}

TEST_F(NextTrackTest, WaitListHeadIsTakenAndMissingFilesVanishSilently) {
    waitList.addRow({missing("gone.mp3"), "100"});
    waitList.addRow({existing("b,c.mp3"), "128.5"});
    waitList.addRow({existing("d.mp3"), "99"});
    const auto chosen = chooseNextTrack(waitList, playList, false, sources);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->filePath, QString::fromStdString(folder.file("b,c.mp3")));
    EXPECT_EQ(chosen->bpm, "128.5");
    ASSERT_EQ(waitList.count(), 1);
    EXPECT_EQ(waitList.cell(0, kBpmCell), "99");
    EXPECT_TRUE(counts.empty());
}

TEST_F(NextTrackTest, AutoPlayDrawsFromThePlayListAndDeletesOnlyMissingEntries) {
    waitList.addRow({missing("gone.mp3")});
    playList.addRow({missing("a.mp3"), "000.0"});
    playList.addRow({existing("b.mp3"), "140.0"});
    playList.addRow({missing("c.mp3"), "000.0"});
    picks = {2, 0, 0};
    const auto chosen = chooseNextTrack(waitList, playList, true, sources);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->filePath, QString::fromStdString(folder.file("b.mp3")));
    EXPECT_EQ(chosen->bpm, "140.0");
    EXPECT_EQ(counts, (std::vector<int>{3, 2, 1}));
    ASSERT_EQ(playList.count(), 1);
    EXPECT_EQ(waitList.count(), 0);

    std::remove(folder.file("b.mp3").c_str());
    EXPECT_EQ(chooseNextTrack(waitList, playList, true, sources), std::nullopt);
    EXPECT_EQ(playList.count(), 0);
}
