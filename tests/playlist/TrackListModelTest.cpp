#include "playlist/TrackListModel.h"

#include "playlist/TrackText.h"

#include <QCollator>
#include <QItemSelectionModel>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using playlist::TrackCells;
using playlist::TrackListModel;

namespace {

std::vector<std::string> column(const TrackListModel& model, int cell) {
    std::vector<std::string> texts;
    for (const TrackCells& row : model.rows())
        texts.push_back(row.at(static_cast<size_t>(cell)));
    return texts;
}

TrackCells track(const std::string& path, const std::string& bpm = "000.0", const std::string& artist = {},
                 const std::string& title = {}) {
    return {path, bpm, artist, title};
}

// Paths as a collection has them: mixed case, accents, digits, commas
// stored encoded, and the same name in several folders.
std::vector<std::string> samplePaths(int count) {
    static const char* const kParts[] = {"a",   "B",   "b",   "é", "Z",  "10", "9",     "*^@",
                                         "mix", "Mix", "ünd", " ", "_x", "-",  "Ärger", "z"};
    QRandomGenerator random(1234);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        std::string path = "/music/";
        const int parts = 1 + static_cast<int>(random.bounded(4));
        for (int p = 0; p < parts; ++p)
            path += kParts[random.bounded(static_cast<int>(std::size(kParts)))];
        paths.push_back(path + ".mp3");
    }
    return paths;
}

} // namespace

TEST(TrackListModelTest, AddingOneByOneGivesTheOrderOfAFullCollatedSort) {
    TrackListModel model(TrackListModel::Order::SortedByPath);
    const std::vector<std::string> paths = samplePaths(400);
    for (const std::string& path : paths)
        model.addRow(track(path));

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::vector<std::string> expected = paths;
    std::stable_sort(expected.begin(), expected.end(), [&collator](const std::string& a, const std::string& b) {
        return collator.compare(QString::fromLocal8Bit(a), QString::fromLocal8Bit(b)) < 0;
    });
    EXPECT_EQ(column(model, playlist::kPathCell), expected);

    // A batch gives the same order, at one sort for all.
    TrackListModel batch(TrackListModel::Order::SortedByPath);
    std::vector<TrackCells> rows;
    for (const std::string& path : paths)
        rows.push_back(track(path));
    batch.replaceRows(rows);
    EXPECT_EQ(column(batch, playlist::kPathCell), expected);
}

TEST(TrackListModelTest, ColumnSortComparesBytesAndHoldsUntilTheNextAdd) {
    TrackListModel model(TrackListModel::Order::SortedByPath);
    model.replaceRows({track("/c.mp3", "99.5", "beta"),
                       track("/a.mp3", "120.5", "Alpha"),
                       track("/b.mp3", "000.0", "alpha"),
                       {"/d.mp3"}});

    model.sortByColumn(playlist::kBpmCell, Qt::AscendingOrder);
    // A short row was padded: its empty tempo comes before "000.0", and tempo
    // texts compare as text, so 120.5 comes before 99.5.
    EXPECT_EQ(column(model, playlist::kBpmCell), (std::vector<std::string>{"", "000.0", "120.5", "99.5"}));
    model.sortByColumn(playlist::kArtistCell, Qt::DescendingOrder);
    EXPECT_EQ(column(model, playlist::kArtistCell), (std::vector<std::string>{"beta", "alpha", "Alpha", ""}));
    EXPECT_FALSE(model.isInPathOrder());

    model.addRow(track("/bb.mp3"));
    EXPECT_TRUE(model.isInPathOrder());
    EXPECT_EQ(column(model, playlist::kPathCell),
              (std::vector<std::string>{"/a.mp3", "/b.mp3", "/bb.mp3", "/c.mp3", "/d.mp3"}));
}

TEST(TrackListModelTest, SelectionFollowsItsRowsThroughSortsAndRemovals) {
    TrackListModel model(TrackListModel::Order::SortedByPath);
    model.replaceRows({track("/a.mp3", "1", "c"), track("/b.mp3", "2", "b"), track("/c.mp3", "3", "a")});
    QItemSelectionModel selection(&model);
    selection.select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    model.sortByColumn(playlist::kArtistCell, Qt::AscendingOrder);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(model.cell(selection.selectedRows().front().row(), playlist::kPathCell), "/a.mp3");

    model.removeRowsAt({0, 0, 7, -1});
    ASSERT_EQ(model.count(), 2);
    EXPECT_EQ(model.cell(selection.selectedRows().front().row(), playlist::kPathCell), "/a.mp3");
}

TEST(TrackListModelTest, PathsMatchIgnoringLetterCaseUntilTheirRowsAreGone) {
    TrackListModel model(TrackListModel::Order::SortedByPath);
    const std::string stored = playlist::encodePath("/Music/a,b.MP3");
    model.addRow(track(stored));
    model.addRow(track("/zz.mp3"));
    EXPECT_TRUE(model.containsPath(playlist::encodePath("/music/A,B.mp3")));
    EXPECT_EQ(model.findPath(playlist::encodePath("/music/A,B.mp3")), 0);
    EXPECT_EQ(model.findPath("/music/a.mp3"), -1);

    model.removeRowAt(0);
    EXPECT_FALSE(model.containsPath(stored));
    model.setCell(0, playlist::kPathCell, stored);
    EXPECT_TRUE(model.containsPath(stored));
    EXPECT_FALSE(model.containsPath("/zz.mp3"));
}

TEST(TrackListModelTest, WaitListKeepsArrivalOrderAndMovesOneEntry) {
    TrackListModel model(TrackListModel::Order::Arrival);
    for (const char* path : {"/c", "/a", "/d", "/b"})
        model.addRow(track(path));
    model.moveRowTo(0, 2);
    EXPECT_EQ(column(model, playlist::kPathCell), (std::vector<std::string>{"/a", "/d", "/c", "/b"}));
    model.moveRowTo(3, 0);
    EXPECT_EQ(column(model, playlist::kPathCell), (std::vector<std::string>{"/b", "/a", "/d", "/c"}));
    model.swapRows(1, 2);
    EXPECT_EQ(column(model, playlist::kPathCell), (std::vector<std::string>{"/b", "/d", "/a", "/c"}));
    model.moveRowTo(1, 4);
    model.swapRows(-1, 0);
    EXPECT_EQ(column(model, playlist::kPathCell), (std::vector<std::string>{"/b", "/d", "/a", "/c"}));
}
