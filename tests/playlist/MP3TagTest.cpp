#include "playlist/MP3Tag.h"

#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using test_support::TemporaryFolder;
using test_support::writeFile;

namespace {

std::string padded(const std::string& text, std::size_t length, char pad) {
    std::string result = text.substr(0, length);
    result.resize(length, pad);
    return result;
}

struct TagBytes {
    std::string identifier = "TAG";
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    char padding = ' ';
    uint8_t genre = 0;

    std::string bytes() const {
        std::string tag = padded(identifier, 3, ' ');
        tag += padded(title, 30, padding) + padded(artist, 30, padding) + padded(album, 30, padding);
        tag += padded(year, 4, padding) + padded(comment, 30, padding);
        tag += static_cast<char>(genre);
        return tag;
    }
};

std::string audioBytes(std::size_t count) {
    return std::string(count, '\x55');
}

struct Recorder {
    std::vector<std::string> events;
    void attach(TMP3Tag& tag) {
        tag.onFileNameChange = [this](TMP3Tag*) { events.push_back("name"); };
        tag.onChange = [this](TMP3Tag*) { events.push_back("change"); };
        tag.onError = [this](TMP3Tag*, const std::string& error) { events.push_back("error:" + error); };
    }
};

} // namespace

TEST(MP3Tag, ReadsEveryFieldOfASpacePaddedTag) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.title = "Night Drive";
    tag.artist = "The Band";
    tag.album = "Album";
    tag.year = "1999";
    tag.comment = "comment";
    tag.genre = 17;
    writeFile(folder.file("song.mp3"), audioBytes(1000) + tag.bytes());

    TMP3Tag reader;
    Recorder recorder;
    recorder.attach(reader);
    reader.SetFilename(folder.file("song.mp3"));

    EXPECT_TRUE(reader.Valid());
    EXPECT_EQ(reader.Title(), "Night Drive");
    EXPECT_EQ(reader.Artist(), "The Band");
    EXPECT_EQ(reader.Album(), "Album");
    EXPECT_EQ(reader.Year(), "1999");
    EXPECT_EQ(reader.Comment(), "comment");
    EXPECT_EQ(reader.GenreID(), 17);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"name"});
}

TEST(MP3Tag, ZeroPaddedTitleKeepsItsZeroBytesButLosesTrailingSpaces) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.title = std::string("Hi  ") + std::string(3, '\0') + "x   ";
    tag.padding = '\0';
    tag.artist = "Zero";
    writeFile(folder.file("zero.mp3"), audioBytes(200) + tag.bytes());

    TMP3Tag reader;
    reader.SetFilename(folder.file("zero.mp3"));

    ASSERT_TRUE(reader.Valid());
    // Trailing zero bytes are padding the reader keeps; only spaces at the very end go.
    EXPECT_EQ(reader.Title(), std::string("Hi  ") + std::string(3, '\0') + "x   " + std::string(19, '\0'));
    EXPECT_EQ(reader.Title().size(), 30u);
    EXPECT_EQ(reader.Artist(), "Zero" + std::string(26, '\0'));
}

TEST(MP3Tag, FieldsOfOnlySpacesBecomeEmpty) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.title = " Lead";
    writeFile(folder.file("a.mp3"), audioBytes(129) + tag.bytes());

    TMP3Tag reader;
    reader.SetFilename(folder.file("a.mp3"));

    EXPECT_TRUE(reader.Valid());
    EXPECT_EQ(reader.Title(), " Lead");
    EXPECT_EQ(reader.Artist(), "");
    EXPECT_EQ(reader.Year(), "");
}

TEST(MP3Tag, FileOfExactly128BytesIsTooSmallEvenWhenItIsABareTag) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.title = "Bare";
    writeFile(folder.file("bare.mp3"), tag.bytes());

    TMP3Tag reader;
    Recorder recorder;
    recorder.attach(reader);
    reader.SetFilename(folder.file("bare.mp3"));

    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.Error(), "File too small to be a MP3 file!");
    EXPECT_EQ(reader.Artist(), "");
    EXPECT_EQ(reader.GenreID(), 12);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"error:File too small to be a MP3 file!", "name"}));
}

TEST(MP3Tag, UntaggedFileShowsTheFirstThirtyCharactersOfItsNameAsTitle) {
    TemporaryFolder folder;
    const std::string name = "A very long file name that goes on and on.mp3";
    writeFile(folder.file(name), audioBytes(5000));

    TMP3Tag reader;
    Recorder recorder;
    recorder.attach(reader);
    reader.SetFilename(folder.file(name));

    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.Error(), "MP3 does not contain a mp3 tag or wrong file format!");
    EXPECT_EQ(reader.Title(), name.substr(0, 30));
    EXPECT_EQ(reader.Artist(), "");
    EXPECT_EQ(reader.Album(), "");
    EXPECT_EQ(reader.GenreID(), 12);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"error:MP3 does not contain a mp3 tag or wrong file format!", "name"}));
}

TEST(MP3Tag, UntaggedShortNameKeepsItsExtensionAndDropsItsFolder) {
    TemporaryFolder folder;
    writeFile(folder.file("short.mp3"), audioBytes(300));
    TMP3Tag reader;
    reader.SetFilename(folder.file("short.mp3"));
    EXPECT_EQ(reader.Title(), "short.mp3");
}

TEST(MP3Tag, IdentifierMustBeExactlyTAG) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.identifier = "tag";
    tag.title = "lower case";
    writeFile(folder.file("lower.mp3"), audioBytes(300) + tag.bytes());
    TMP3Tag reader;
    reader.SetFilename(folder.file("lower.mp3"));
    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.Title(), "lower.mp3");
}

TEST(MP3Tag, MissingFileClearsEverythingAndReportsIt) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.title = "First";
    writeFile(folder.file("first.mp3"), audioBytes(300) + tag.bytes());
    TMP3Tag reader;
    reader.SetFilename(folder.file("first.mp3"));
    ASSERT_EQ(reader.Title(), "First");

    Recorder recorder;
    recorder.attach(reader);
    reader.SetFilename(folder.file("missing.mp3"));

    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.Error(), "File does not exist!");
    EXPECT_EQ(reader.Title(), "");
    EXPECT_EQ(reader.GenreID(), 12);
    EXPECT_EQ(reader.Filename(), folder.file("missing.mp3"));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"error:File does not exist!", "name"}));
}

TEST(MP3Tag, FolderCountsAsMissingFile) {
    TemporaryFolder folder;
    TMP3Tag reader;
    reader.SetFilename(folder.path());
    EXPECT_EQ(reader.Error(), "File does not exist!");
}

TEST(MP3Tag, FileThatCannotBeOpenedRaisesTheOpenErrorToTheCaller) {
    // A socket exists as a name but cannot be opened, not even by the superuser.
    TemporaryFolder folder;
    const std::string path = folder.file("socket.mp3");
    const int socketHandle = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(socketHandle, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(socketHandle, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    TMP3Tag reader;
    reader.SetTitle("before");
    bool raised = false;
    try {
        reader.SetFilename(path);
    } catch (const std::runtime_error& error) {
        raised = true;
        EXPECT_NE(std::string(error.what()).find("socket.mp3"), std::string::npos) << error.what();
    }
    ::close(socketHandle);
    EXPECT_TRUE(raised);
    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.Title(), "");
}

TEST(MP3Tag, NewReadClearsTheValidFlagAndTheOldError) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.title = "Good";
    writeFile(folder.file("good.mp3"), audioBytes(300) + tag.bytes());
    TMP3Tag reader;
    reader.SetFilename(folder.file("nothing.mp3"));
    ASSERT_FALSE(reader.Error().empty());
    reader.SetFilename(folder.file("good.mp3"));
    EXPECT_TRUE(reader.Valid());
    EXPECT_EQ(reader.Error(), "");
    reader.SetFilename(folder.file("nothing.mp3"));
    EXPECT_FALSE(reader.Valid());
}

TEST(MP3Tag, SettersKeepFieldLengthsRaiseChangeAndNeverTouchTheFile) {
    TemporaryFolder folder;
    TagBytes tag;
    tag.title = "Stored";
    const std::string content = audioBytes(400) + tag.bytes();
    writeFile(folder.file("keep.mp3"), content);
    TMP3Tag reader;
    reader.SetFilename(folder.file("keep.mp3"));
    Recorder recorder;
    recorder.attach(reader);

    const std::string longText(40, 'x');
    reader.SetTitle(longText);
    reader.SetArtist(longText);
    reader.SetAlbum(longText);
    reader.SetComment(longText);
    reader.SetYear("199999");
    reader.SetGenreID(200);

    EXPECT_EQ(reader.Title(), std::string(30, 'x'));
    EXPECT_EQ(reader.Artist(), std::string(30, 'x'));
    EXPECT_EQ(reader.Album(), std::string(30, 'x'));
    EXPECT_EQ(reader.Comment(), std::string(30, 'x'));
    EXPECT_EQ(reader.Year(), "1999");
    EXPECT_EQ(reader.GenreID(), 200);
    EXPECT_EQ(recorder.events, std::vector<std::string>(6, "change"));
    EXPECT_EQ(test_support::readFile(folder.file("keep.mp3")), content);
}

TEST(MP3Tag, EditAutoSaveIsStoredAndStartsTrue) {
    TMP3Tag reader;
    EXPECT_TRUE(reader.EditAutoSave());
    reader.SetEditAutoSave(false);
    EXPECT_FALSE(reader.EditAutoSave());
    EXPECT_EQ(reader.GenreID(), 12);
}

TEST(MP3Tag, TruncatedAndGarbageFilesNeverBreakTheReader) {
    TemporaryFolder folder;
    const std::string tag = TagBytes{"TAG", "T", "A", "L", "2000", "C", ' ', 3}.bytes();
    TMP3Tag reader;
    for (std::size_t size = 0; size <= tag.size() + 2; ++size) {
        const std::string path = folder.file("cut" + std::to_string(size) + ".mp3");
        writeFile(path, std::string(size, '\xff'));
        reader.SetFilename(path);
        EXPECT_FALSE(reader.Valid()) << size;
        EXPECT_LE(reader.Title().size(), 30u);
    }
    std::string garbage;
    for (int i = 0; i < 1000; ++i)
        garbage += static_cast<char>((i * 97 + 13) & 0xff);
    writeFile(folder.file("garbage.mp3"), garbage + "TAG" + std::string(125, '\x80'));
    reader.SetFilename(folder.file("garbage.mp3"));
    EXPECT_TRUE(reader.Valid());
    EXPECT_EQ(reader.Title(), std::string(30, '\x80'));
    EXPECT_EQ(reader.GenreID(), 0x80);
}

TEST(MP3Tag, ReadsTheTagLameWritesIntoARealMp3) {
    TemporaryFolder folder;
    const std::string wav = folder.file("tone.wav");
    const std::string mp3 = folder.file("tone.mp3");
    ASSERT_EQ(test_support::runCommand("sox -n -r 44100 -c 2 -b 16 '" + wav + "' synth 1 sine 440 >/dev/null 2>&1"), 0);
    ASSERT_EQ(test_support::runCommand("lame --quiet --id3v1-only --tt 'Lame Title' --ta 'Lame Artist' "
                                       "--tl 'Lame Album' --ty 2004 --tc 'made by a test' '" +
                                       wav + "' '" + mp3 + "'"),
              0);

    TMP3Tag reader;
    reader.SetFilename(mp3);

    EXPECT_TRUE(reader.Valid());
    // lame pads with zero bytes, which the reader keeps.
    EXPECT_EQ(reader.Title(), padded("Lame Title", 30, '\0'));
    EXPECT_EQ(reader.Artist(), padded("Lame Artist", 30, '\0'));
    EXPECT_EQ(reader.Album(), padded("Lame Album", 30, '\0'));
    EXPECT_EQ(reader.Year(), "2004");
    EXPECT_EQ(reader.Comment().substr(0, 14), "made by a test");
}
