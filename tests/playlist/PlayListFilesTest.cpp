#include "playlist/PlayListFiles.h"
#include "playlist/ForeignPlayLists.h"
#include "playlist/OwnPlayListFormat.h"
#include "playlist/PlayListFileType.h"
#include "playlist/TrackText.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>

using namespace playlist;
using test_support::readFile;
using test_support::TemporaryFolder;
using test_support::writeFile;
using Action = PlayListFileContents::Action;

namespace {

const std::string kAwkwardName = "a, b/ç ü.mp3";

// Makes an empty file (and its folders); the readers only ask whether it exists.
std::string touch(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeFile(path, "");
    return path;
}

std::vector<TrackCells> rowsFor(const std::vector<std::string>& paths) {
    std::vector<TrackCells> rows;
    for (size_t i = 0; i < paths.size(); ++i)
        rows.push_back({encodePath(paths[i]), i == 0 ? kUnmeasuredBpm : "128.5", "Artist " + std::to_string(i),
                        "Title " + std::to_string(i)});
    return rows;
}

} // namespace

TEST(OwnPlayListFormat, RowsAreWrittenAsDelimitedCellsEndingInCrLf) {
    PlayListDelimiter comma;
    EXPECT_EQ(writeOwnPlayList({{"/m/x*^@y.mp3", "123.4", "Some Artist", "Some Title"}, {"/m/z.mp3", "000.0", "", ""}},
                               comma),
              "/m/x*^@y.mp3,123.4,Some Artist,Some Title\r\n/m/z.mp3,000.0,,\r\n");
    // A row read with fewer cells is written with fewer cells, not padded.
    EXPECT_EQ(writeOwnPlayList({{"/a.mp3", "120"}, {""}}, comma), "/a.mp3,120\r\n\r\n");

    PlayListDelimiter semicolon;
    semicolon.detect("a;b", "c;d");
    EXPECT_EQ(writeOwnPlayList({{"/a.mp3", "1", "x", "y"}}, semicolon), "/a.mp3;1;x;y\r\n");
}

TEST(OwnPlayListFormat, LinesSplitIntoCellsWithQuotesFromOtherWritersRemoved) {
    const std::vector<std::pair<std::string, TrackCells>> cases = {
        {"/p.mp3,120.0,Artist,Title", {"/p.mp3", "120.0", "Artist", "Title"}},
        {"/p.mp3,120.0,Artist,", {"/p.mp3", "120.0", "Artist"}}, // ends with the delimiter: one cell fewer
        {"", {""}},                                              // an empty line is a row of empty cells
        {",,", {"", ""}},
        {"\"/q, r.mp3\",1,\"A\",\"T\"", {"/q, r.mp3", "1", "A", "T"}},
        {"\"/q.mp3\"junk,1,A", {"/q.mp3", "1", "A"}}, // after the closing quote, up to the delimiter goes
        {"\"/q.mp3\"", {"/q.mp3"}},                   // last field: one quote off each end
        {"\"unclosed,1", {"unclosed", "1"}},          // an unclosed quote runs to the delimiter
        {"\"", {""}},
        {"\"\"\",x", {"", "x"}},
    };
    for (const auto& [line, cells] : cases)
        EXPECT_EQ(splitOwnLine(line, ','), cells) << line;
}

TEST(OwnPlayListFormat, TextLinesEndAtLfOrCrLfAndAByteOrderMarkIsDropped) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitTextLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitTextLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitTextLines("\xEF\xBB\xBF/x.mp3\r\n"), (Lines{"/x.mp3"}));
    EXPECT_TRUE(splitTextLines("").empty());
}

TEST(PlayListDelimiter, TheCandidateEquallyAndMostOftenInTheFirstTwoLinesWins) {
    struct Case {
        std::string first, second;
        bool set;
        char expected;
    };
    const std::vector<Case> cases = {
        {"a;b;c,d,e,f", "g;h;i,j,k,l", true, ','},         // two ";" and three "," each
        {"a;b;c;d;e,f,g,h", "i;j;k;l;m,n,o,p", true, ';'}, // four ";" each
        {"a,b", "c,d,e", false, ','},                      // counts differ
        {"a\tb\tc", "d\te\tf", true, '\t'},
        {"a|b#c", "d|e#f", true, '#'}, // a tie goes to the earlier candidate
        {"/only/one/line,1,x,y", "", false, ','},
        {"", "", false, ','},
    };
    for (const Case& test : cases) {
        PlayListDelimiter delimiter;
        delimiter.detect(test.first, test.second);
        EXPECT_EQ(delimiter.isSet(), test.set) << test.first;
        EXPECT_EQ(delimiter.character(), test.expected) << test.first;
    }
}

TEST(PlayListDelimiter, TheFirstDetectedDelimiterStaysForLaterReadsAndAnEmptyFileLeavesItUnset) {
    PlayListDelimiter delimiter;
    EXPECT_TRUE(readOwnPlayList("", delimiter).empty());
    EXPECT_FALSE(delimiter.isSet());

    readOwnPlayList("/a.mp3|120|A|T\r\n/b.mp3|121|B|U\r\n", delimiter);
    ASSERT_EQ(delimiter.character(), '|');
    const auto rows = readOwnPlayList("/c.mp3,1,C,V\r\n/d.mp3,2,D,W\r\n", delimiter);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], TrackCells{"/c.mp3,1,C,V"});
}

TEST(PlayListFileType, TheTypeIsTheThreeLettersAfterTheFirstDotOfTheFileName) {
    EXPECT_EQ(playListTypeText("/m/set.dpl"), "DPL");
    EXPECT_EQ(playListTypeText("/m/my.list.dpl"), "LIS");
    EXPECT_EQ(playListTypeText("/m/noextension"), " ");
    EXPECT_EQ(playListTypeText("/m/a.m3u8"), "M3U");
    EXPECT_EQ(playListTypeText("/m/a.dp"), "DP");
    // Dots in folder names, such as a hidden data folder, do not decide it.
    EXPECT_EQ(playListTypeText("/home/dj/.local/share/drovan/PL.ini"), "INI");
    EXPECT_EQ(playListTypeOf("/m/x.DpL"), PlayListType::Own);
    EXPECT_EQ(playListTypeOf("/m/x.pls"), PlayListType::Pls);
    EXPECT_EQ(playListTypeOf("/m/x.m3u"), PlayListType::M3u);
    EXPECT_EQ(playListTypeOf("/m/my.list.dpl"), PlayListType::Unsupported);
    EXPECT_EQ(saveFormatFor("/m/x.M3U8"), SaveFormat::M3u8);
    EXPECT_EQ(saveFormatFor("/m/x.m3u"), SaveFormat::M3u8);
    EXPECT_EQ(saveFormatFor("/m/x.m3u8.dpl"), SaveFormat::Own);
}

TEST(PlayListFiles, OwnFormatAndM3uRoundTripsKeepEveryPath) {
    TemporaryFolder folder;
    const std::vector<std::string> paths = {touch(folder.file("Music/" + kAwkwardName)),
                                            touch(folder.file("Music/plain.mp3")),
                                            touch(folder.file("Music/[x] #1; 50% & more.mp3"))};
    const std::vector<TrackCells> rows = rowsFor(paths);

    PlayListDelimiter delimiter;
    savePlayListFile(folder.file("set.dpl"), rows, delimiter);
    PlayListDelimiter reading;
    const PlayListFileContents own = openPlayListFile(folder.file("set.dpl"), reading);
    ASSERT_EQ(own.action, Action::ReplaceRows) << own.message;
    EXPECT_EQ(own.rows, rows);
    EXPECT_EQ(decodePath(own.rows[0][kPathCell]), paths[0]);

    savePlayListFile(folder.file("set.m3u8"), rows, delimiter);
    const std::string m3u = readFile(folder.file("set.m3u8"));
    EXPECT_EQ(m3u.rfind("#EXTM3U\n#EXTINF:-1,Artist 0 - Title 0\n" + paths[0] + "\n", 0), 0u) << m3u;
    const PlayListFileContents foreign = openPlayListFile(folder.file("set.m3u8"), reading);
    ASSERT_EQ(foreign.action, Action::AddTracks) << foreign.message;
    EXPECT_EQ(foreign.paths, paths);
}

TEST(PlayListFiles, AnM3uWrittenByAnotherPlayerGivesAbsolutePathsOfTheFilesThatExist) {
    TemporaryFolder folder;
    const std::string awkward = touch(folder.file("Music/" + kAwkwardName));
    const std::string absolute = touch(folder.file("Elsewhere/x.mp3"));
    const std::string uri = touch(folder.file("Music/with space.mp3"));
    const std::string beside = touch(folder.file("Lists/beside.mp3"));
    writeFile(folder.file("Lists/mix.m3u8"), "\xEF\xBB\xBF#EXTM3U\r\n"
                                             "#EXTINF:215,Someone - Something\r\n"
                                             "../Music/" +
                                                 kAwkwardName +
                                                 "\r\n"
                                                 "\r\n" +
                                                 absolute +
                                                 "\r\n"
                                                 "#EXTINF:-1,Radio\r\n"
                                                 "http://radio.example/stream.mp3\r\n"
                                                 "file://" +
                                                 folder.path() + "/Music/with%20space.mp3\r\n" + "./missing.mp3\r\n" +
                                                 "beside.mp3\r\n" + "../Music/./" + kAwkwardName + "\r\n");
    PlayListDelimiter delimiter;
    const PlayListFileContents contents = openPlayListFile(folder.file("Lists/mix.m3u8"), delimiter);
    ASSERT_EQ(contents.action, Action::AddTracks) << contents.message;
    // The repeat is kept: dropping it is the add operation's duplicate test.
    EXPECT_EQ(contents.paths, (std::vector<std::string>{awkward, absolute, uri, beside, awkward}));

    // Lines may also end in LF only, or CR only.
    writeFile(folder.file("Lists/lf.m3u"), "#EXTM3U\n" + absolute + "\nbeside.mp3\n");
    writeFile(folder.file("Lists/cr.m3u"), "#EXTM3U\r" + absolute + "\rbeside.mp3\r");
    for (const char* name : {"Lists/lf.m3u", "Lists/cr.m3u"})
        EXPECT_EQ(openPlayListFile(folder.file(name), delimiter).paths, (std::vector<std::string>{absolute, beside}))
            << name;
}

TEST(PlayListFiles, APlsEntryWithoutItsKeyNamesNoFileAndNothingIsCreated) {
    TemporaryFolder folder;
    const std::string first = touch(folder.file("one.mp3"));
    const std::string third = touch(folder.file("sub/three.mp3"));
    writeFile(folder.file("list.pls"),
              "[Playlist]\r\nFile1=" + first + "\r\nTitle1=One\r\nfile3=sub/three.mp3\r\nNumberOfEntries=3\r\n");
    PlayListDelimiter delimiter;
    const PlayListFileContents contents = openPlayListFile(folder.file("list.pls"), delimiter);
    ASSERT_EQ(contents.action, Action::AddTracks) << contents.message;
    EXPECT_EQ(contents.paths, (std::vector<std::string>{first, third}));
    EXPECT_FALSE(std::filesystem::exists(folder.file(kPlsMissingEntry)));

    // The missing key reads as a name like any other.
    EXPECT_EQ(readPlsPaths("[playlist]\nNumberOfEntries=2\nFile2=/b.mp3\n", "/lists"),
              (std::vector<std::string>{"/lists/NOT_DEFINED", "/b.mp3"}));
    EXPECT_EQ(readPlsPaths("[playlist]\nFile1=/a.mp3\n", "/lists"), std::vector<std::string>{});
    // A damaged count costs nothing: every gap names the same missing file.
    EXPECT_EQ(readPlsPaths("[playlist]\nNumberOfEntries=2147483647\nFile1=/a.mp3\nFile2000000000=/z.mp3\n", "/l"),
              (std::vector<std::string>{"/a.mp3", "/l/NOT_DEFINED", "/z.mp3"}));
}

TEST(PlayListFiles, AFileThatCannotBeLoadedIsRefusedWithItsMessage) {
    TemporaryFolder folder;
    PlayListDelimiter delimiter;
    const auto messageFor = [&](const std::string& name) {
        const PlayListFileContents contents = openPlayListFile(folder.file(name), delimiter);
        EXPECT_EQ(contents.action, Action::Refuse) << name;
        EXPECT_TRUE(contents.rows.empty() && contents.paths.empty()) << name;
        return contents.message;
    };
    writeFile(folder.file("my.list.dpl"), "/a.mp3,000.0,,\r\n");
    EXPECT_EQ(messageFor("my.list.dpl"), "There is no suport for this type of play list.");
    EXPECT_EQ(messageFor("gone.dpl"), "This Play List file does not exist.");
    EXPECT_EQ(messageFor("gone.m3u"), "This Play List file does not exist.");

    // Too large to be a list (sparse, so it costs no disk space).
    std::filesystem::resize_file(touch(folder.file("huge.dpl")), std::uintmax_t{600} * 1024 * 1024);
    EXPECT_EQ(messageFor("huge.dpl").rfind("File cannot be opened\n" + folder.file("huge.dpl"), 0), 0u);
    // A FIFO would block a plain read until a writer came.
    ASSERT_EQ(::mkfifo(folder.file("pipe.m3u").c_str(), 0600), 0);
    EXPECT_EQ(messageFor("pipe.m3u").rfind("File cannot be opened\n" + folder.file("pipe.m3u"), 0), 0u);
    EXPECT_FALSE(delimiter.isSet());
}

TEST(PlayListFiles, SavingAnEmptyListWritesNothing) {
    TemporaryFolder folder;
    writeFile(folder.file("set.dpl"), "/old.mp3,000.0,,\r\n");
    savePlayListFile(folder.file("set.dpl"), {}, PlayListDelimiter());
    savePlayListFile(folder.file("new.m3u8"), {}, PlayListDelimiter());
    EXPECT_EQ(readFile(folder.file("set.dpl")), "/old.mp3,000.0,,\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.file("new.m3u8")));
}

// The readers take whatever bytes a file holds; the sanitizer builds catch
// any read out of bounds.
TEST(PlayListFiles, GarbageAndTruncatedInputIsReadWithoutHarm) {
    std::mt19937 random(12);
    const std::string valid =
        "/a,b.mp3,120.0,A,T\r\n\"/q\",\"1\r\n[playlist]\nNumberOfEntries=9\nFile1=x\n#EXTINF:1,\n";
    for (int round = 0; round < 400; ++round) {
        std::string bytes = valid.substr(0, random() % (valid.size() + 1));
        for (int i = static_cast<int>(random() % 64); i > 0; --i)
            bytes += static_cast<char>("\r\n\",;#\t|/%=[]\0x"[random() % 16]);
        PlayListDelimiter delimiter;
        const auto rows = readOwnPlayList(bytes, delimiter);
        EXPECT_EQ(rows.size(), splitTextLines(bytes).size());
        for (const TrackCells& row : rows)
            EXPECT_FALSE(row.empty());
        for (const std::string& path : readPlsPaths(bytes, "/l"))
            EXPECT_EQ(path.front(), '/');
        for (const std::string& path : readM3uPaths(bytes, "/l"))
            EXPECT_EQ(path.front(), '/');
    }
}
