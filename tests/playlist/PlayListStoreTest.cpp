#include "playlist/PlayListStore.h"
#include "playlist/OwnPlayListFormat.h"
#include "playlist/TrackText.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace playlist;
using test_support::readFile;
using test_support::TemporaryFolder;
using test_support::writeFile;

namespace {

std::vector<TrackCells> collection(int count, const std::string& bpm) {
    std::vector<TrackCells> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back(
            {encodePath("/home/dj/Music/Artist " + std::to_string(i % 997) + "/a, b/ç ü " + std::to_string(i) + ".mp3"),
             bpm, "Artist " + std::to_string(i % 997), "Title " + std::to_string(i)});
    return rows;
}

} // namespace

TEST(PlayListStore, TheListLivesInTheApplicationFolderWhenItIsWritableElseInTheUsersDataFolder) {
    EXPECT_EQ(playListStoreFolder("/work/build/bin/", true, "/x", "/home/dj"), "/work/build/bin/");
    EXPECT_EQ(playListStoreFolder("/usr/lib/drovan/", false, "/home/dj/data", "/home/dj"), "/home/dj/data/drovan/");
    EXPECT_EQ(playListStoreFolder("/usr/lib/drovan/", false, "/home/dj/data/", "/home/dj"), "/home/dj/data/drovan/");
    EXPECT_EQ(playListStoreFolder("/usr/lib/drovan/", false, "", "/home/dj"), "/home/dj/.local/share/drovan/");
    // A relative XDG_DATA_HOME is invalid and ignored.
    EXPECT_EQ(playListStoreFolder("/usr/lib/drovan/", false, "data", "/home/dj/"), "/home/dj/.local/share/drovan/");
}

TEST(PlayListStore, AFirstStartCreatesAnEmptyListAndEmptyingTheListKeepsThePreviousOne) {
    TemporaryFolder folder;
    const std::string path = folder.file("share/drovan/PL.ini");
    PlayListStore store(path);
    PlayListDelimiter delimiter;
    const PlayListStore::Loaded first = store.load(delimiter);
    EXPECT_TRUE(first.rows.empty());
    EXPECT_EQ(first.error, "");
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    const std::vector<TrackCells> rows = collection(3, "000.0");
    store.save(rows, delimiter);
    store.save({}, delimiter);
    PlayListDelimiter nextRun;
    EXPECT_EQ(PlayListStore(path).load(nextRun).rows, rows);
    EXPECT_EQ(decodePath(rows[0][kPathCell]), "/home/dj/Music/Artist 0/a, b/ç ü 0.mp3");
}

TEST(PlayListStore, AListThatCannotBeReadIsReportedAndNeverOverwritten) {
    TemporaryFolder folder;
    const std::string path = folder.file("PL.ini");
    // Too large to be read (sparse, so it costs no disk space). Unlike a file
    // without read permission, this one cannot be read by root either.
    writeFile(path, "/kept.mp3,000.0,,\r\n");
    const std::uintmax_t size = std::uintmax_t{600} * 1024 * 1024;
    std::filesystem::resize_file(path, size);

    PlayListStore store(path);
    PlayListDelimiter delimiter;
    const PlayListStore::Loaded loaded = store.load(delimiter);
    EXPECT_TRUE(loaded.rows.empty());
    EXPECT_EQ(loaded.error.rfind("File cannot be opened\n" + path + " (", 0), 0u) << loaded.error;
    store.save(collection(2, "000.0"), delimiter);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    std::ifstream stream(path);
    std::string line;
    std::getline(stream, line);
    EXPECT_EQ(line, "/kept.mp3,000.0,,\r");
}

// A process killed at any moment of a save leaves the previous or the new
// list, whole: each save writes one tempo into all rows, alternating between
// two, so a torn file shows as fewer rows or mixed tempos. The child reports
// each finished save, and the kill comes after the first of them, at a moment
// that moves from round to round.
TEST(PlayListStore, AProcessKilledWhileSavingAHundredThousandTracksNeverLeavesATornList) {
    constexpr int kTracks = 100000;
    TemporaryFolder folder;
    const std::string path = folder.file("PL.ini");
    PlayListDelimiter delimiter;
    PlayListStore(path).save(collection(kTracks, "000.0"), delimiter);

    for (int round = 0; round < 16; ++round) {
        int finished[2];
        ASSERT_EQ(pipe(finished), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::vector<TrackCells> generations[2] = {collection(kTracks, std::to_string(round) + ".1"),
                                                            collection(kTracks, std::to_string(round) + ".2")};
            PlayListStore store(path);
            for (int generation = 0;; ++generation) {
                store.save(generations[generation % 2], delimiter);
                if (write(finished[1], "s", 1) != 1)
                    _exit(1);
            }
        }
        close(finished[1]);
        char report = 0;
        ASSERT_EQ(read(finished[0], &report, 1), 1);
        usleep(static_cast<useconds_t>(round * 9000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(finished[0]);

        const std::string bytes = readFile(path);
        ASSERT_GE(bytes.size(), 2u);
        ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "round " << round;
        PlayListDelimiter reading;
        const std::vector<TrackCells> rows = readOwnPlayList(bytes, reading);
        ASSERT_EQ(rows.size(), static_cast<size_t>(kTracks)) << "round " << round;
        const std::string tempo = rows.front()[kBpmCell];
        EXPECT_TRUE(tempo == std::to_string(round) + ".1" || tempo == std::to_string(round) + ".2") << tempo;
        for (const TrackCells& row : rows) {
            ASSERT_EQ(row.size(), 4u) << "round " << round;
            ASSERT_EQ(row[kBpmCell], tempo) << "round " << round;
        }
    }
}
