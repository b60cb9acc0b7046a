#include "playlist/FindFile.h"

#include "support/EventLoop.h"
#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

using namespace playlist;
using test_support::TemporaryFolder;
using test_support::writeFile;

TEST(FileMasksTest, SearchListSplitsTrimsExpandsAndSkipsRepeats) {
    TemporaryFolder folder;
    test_support::WorkingDirectory here(folder.path());
    const std::string cwd = std::filesystem::current_path().string() + "/";
    EXPECT_EQ(buildSearchList(" /music ; ;/music/", "song; *.mp3;;song"),
              (std::vector<SearchSpec>{{"/music/", "song.*"},
                                       {"/music/", "*.mp3"},
                                       {"/music/", "*.*"},
                                       {cwd, "song.*"},
                                       {cwd, "*.mp3"},
                                       {cwd, "*.*"}}));
    EXPECT_EQ(splitSearchSpec("/a/b/../c/*.mp3"), (SearchSpec{"/a/c/", "*.mp3"}));
}

TEST(FileMasksTest, SearchMasksIgnoreCaseAndExtensionlessNames) {
    EXPECT_TRUE(matchesSearchMask("Track.MP3", "*.mp3"));
    EXPECT_FALSE(matchesSearchMask("track.mp3.part", "*.mp3"));
    EXPECT_TRUE(matchesSearchMask("README", "*.*"));
    EXPECT_TRUE(matchesSearchMask("song", "song.*"));
    EXPECT_TRUE(matchesSearchMask("song.ogg", "song.*"));
    EXPECT_FALSE(matchesSearchMask("songs", "song.*"));
    EXPECT_TRUE(matchesSearchMask("a1b.mp3", "a?b*"));
}

TEST(FileMasksTest, ExclusionsKeepStarsAndQuestionMarksBeforeTheDot) {
    EXPECT_TRUE(matchesExclusion("*.MP3", "/m", "a.mp3"));
    EXPECT_FALSE(matchesExclusion("*.MP3", "/m", "a.b.mp3"));
    EXPECT_FALSE(matchesExclusion("a?mp3", "/m", "a.mp3"));
    EXPECT_TRUE(matchesExclusion("*", "/m", "a.b.mp3"));
    EXPECT_TRUE(matchesExclusion("live/*.mp3", "/music/Live", "x.mp3"));
    EXPECT_FALSE(matchesExclusion("live/*.mp3", "/music/alive", "x.mp3"));
    EXPECT_TRUE(matchesExclusion("/music/*.mp3", "/music/", "x.mp3"));
    EXPECT_FALSE(matchesExclusion("/music/*.mp3", "/old/music", "x.mp3"));
}

namespace {

// A tree: root files, a subfolder two levels deep, a hidden track, a
// folder whose name looks like a track, a link back up, and other files.
class FindFileTest : public ::testing::Test {
protected:
    FindFileTest() {
        std::filesystem::create_directories(root.file("sub/deeper"));
        std::filesystem::create_directories(root.file("dir.mp3"));
        writeFile(root.file("a.mp3"), std::string(100, 'a'));
        writeFile(root.file("X.MP3"), std::string(3000, 'x') + "Needle" + std::string(10, 'x'));
        writeFile(root.file(".hidden.mp3"), "h");
        writeFile(root.file("notes.txt"), "n");
        writeFile(root.file("sub/b.mp3"), std::string(5000, 'b'));
        writeFile(root.file("sub/deeper/c.mp3"), "c");
        std::filesystem::create_directory_symlink(root.path(), root.file("sub/up"));
        search.SetLocation(root.path());
        search.Filename = "*.mp3";
        search.OnFound = [this](TFindFile*, const std::string& folder, const TSearchRec& info) {
            found.insert(folder + "|" + info.Name);
            onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        };
        search.OnComplete = [this](TFindFile*) { ++completions; };
    }
    std::string at(const std::string& folder, const std::string& name) const {
        return (folder.empty() ? root.path() : root.file(folder)) + "|" + name;
    }

    TemporaryFolder root;
    TFindFile search;
    std::set<std::string> found;
    bool onGuiThread = true;
    int completions = 0;
};

} // namespace

TEST_F(FindFileTest, FindsTracksBelowTheFolderWithTheirOwnFolder) {
    std::set<std::string> folders;
    search.OnNewFolder = [&](TFindFile*, const std::string& folder, bool&) { folders.insert(folder); };
    search.Execute();
    EXPECT_EQ(found, (std::set<std::string>{at("", "a.mp3"), at("", "X.MP3"), at("", ".hidden.mp3"), at("sub", "b.mp3"),
                                            at("sub/deeper", "c.mp3")}));
    EXPECT_EQ(folders, (std::set<std::string>{root.path() + "/", root.file("sub/"), root.file("sub/deeper/"),
                                              root.file("dir.mp3/")}));
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(search.Busy());
    EXPECT_FALSE(search.Aborted());
}

TEST_F(FindFileTest, IgnoredFoldersAndSubfoldersOffLimitTheWalk) {
    search.OnNewFolder = [&](TFindFile*, const std::string& folder, bool& ignore) {
        ignore = folder == root.file("sub/");
    };
    search.Execute();
    EXPECT_EQ(found, (std::set<std::string>{at("", "a.mp3"), at("", "X.MP3"), at("", ".hidden.mp3")}));
    found.clear();
    search.OnNewFolder = nullptr;
    search.Subfolders = false;
    search.Attributes = ffDirectory;
    search.ExactAttribute = true;
    search.Execute();
    EXPECT_EQ(found, std::set<std::string>{at("", "dir.mp3")});
}

TEST_F(FindFileTest, FiltersBySizeContentsExclusionsAndDates) {
    search.SizeMin = 50;
    search.SizeMax = 4000;
    search.Execute();
    EXPECT_EQ(found, (std::set<std::string>{at("", "a.mp3"), at("", "X.MP3")}));

    found.clear();
    search.SizeMin = search.SizeMax = 0;
    search.Containing = "NEEDLE";
    search.Execute();
    EXPECT_EQ(found, std::set<std::string>{at("", "X.MP3")});
    found.clear();
    search.IgnoreCase = false;
    search.Execute();
    EXPECT_TRUE(found.empty());

    search.Containing.clear();
    search.ExcludeFiles = {"sub/*.*", "A.*"};
    search.Execute();
    EXPECT_EQ(found, (std::set<std::string>{at("", "X.MP3"), at("", ".hidden.mp3"), at("sub/deeper", "c.mp3")}));

    found.clear();
    search.ExcludeFiles.clear();
    search.ModifiedAfter = 25569.0 + static_cast<double>(time(nullptr)) / 86400.0 + 2.0; // the day after tomorrow
    search.Execute();
    EXPECT_TRUE(found.empty());
    search.ModifiedAfter = 0;
    search.ModifiedBefore = 0.9999999999; // a time of day only: the end of any day
    search.CreatedAfter = 2.0;            // a date only: 1900-01-01
    search.Execute();
    EXPECT_EQ(found.size(), 5u);
}

TEST_F(FindFileTest, TheRootFolderKeepsItsSeparator) {
    search.SetLocation("/");
    search.Filename = "tmp";
    search.Subfolders = false;
    search.Attributes = ffDirectory;
    search.Execute();
    EXPECT_EQ(found, std::set<std::string>{"/|tmp"});
}

TEST_F(FindFileTest, WildcardsInTheLocationAreRefused) {
    try {
        search.SetLocation("/music/*");
        FAIL() << "no error";
    } catch (const EFindFileError& error) {
        EXPECT_STREQ(error.what(), "/music/*\n\rlocation cannot to be contained wildcards");
    }
    EXPECT_EQ(search.Location(), root.path());
}

TEST_F(FindFileTest, AThreadedSearchRaisesItsEventsOnTheGuiThread) {
    search.Threaded = true;
    search.Execute();
    EXPECT_TRUE(search.Busy());
    search.SetLocation("/nowhere");
    search.Execute(); // ignored while busy
    ASSERT_TRUE(test_support::processEventsUntil([&] { return completions > 0; }));
    test_support::processPostedEvents();
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(found.size(), 5u);
    EXPECT_TRUE(onGuiThread);
    EXPECT_FALSE(search.Busy());

    // A handler's error ends the search, which still completes.
    search.SetLocation(root.path());
    search.OnFound = [](TFindFile*, const std::string&, const TSearchRec&) { throw std::runtime_error("stop"); };
    search.Execute();
    ASSERT_TRUE(test_support::processEventsUntil([&] { return completions == 2; }));
    EXPECT_TRUE(search.Aborted());
}

TEST_F(FindFileTest, DestroyingARunningSearchStopsIt) {
    auto running = std::make_unique<TFindFile>();
    running->SetLocation(root.path());
    running->Threaded = true;
    int reported = 0;
    running->OnFound = [&](TFindFile*, const std::string&, const TSearchRec&) { ++reported; };
    running->Execute();
    QCoreApplication::processEvents();
    running.reset();
    const int reportedBeforeDestruction = reported;
    test_support::processPostedEvents();
    EXPECT_EQ(reported, reportedBeforeDestruction) << "no event of a destroyed search may run";
}
