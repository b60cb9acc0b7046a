#include "playlist/ModernTags.h"
#include "playlist/MP3Tag.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>

using test_support::runCommand;
using test_support::TemporaryFolder;
using test_support::writeFile;
using namespace std::string_literals;

namespace {

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// A second of tone as WAV, the source of every encoded fixture.
std::string makeWav(const TemporaryFolder& folder) {
    const std::string wav = folder.file("tone.wav");
    EXPECT_EQ(runCommand("sox -n -r 44100 -c 2 -b 16 " + quoted(wav) + " synth 1 sine 440 >/dev/null 2>&1"), 0);
    return wav;
}

std::string makeMp3(const TemporaryFolder& folder, const std::string& name, const std::string& tagOptions) {
    const std::string mp3 = folder.file(name);
    EXPECT_EQ(runCommand("lame --quiet " + tagOptions + " " + quoted(makeWav(folder)) + " " + quoted(mp3)), 0);
    return mp3;
}

// flac takes the texts as the UTF-8 bytes given here, whatever the locale.
std::string makeFlac(const TemporaryFolder& folder, const std::string& name, const std::string& tagOptions) {
    const std::string flac = folder.file(name);
    EXPECT_EQ(runCommand("flac --silent --no-utf8-convert " + tagOptions + " -o " + quoted(flac) + " " +
                         quoted(makeWav(folder))),
              0);
    return flac;
}

struct ReadResult {
    bool valid;
    std::string artist;
    std::string title;
    int errorEvents;
};

ReadResult read(const std::string& path) {
    TMP3Tag reader;
    int errorEvents = 0;
    reader.onError = [&](TMP3Tag*, const std::string&) { ++errorEvents; };
    reader.SetFilename(path);
    return {reader.Valid(), reader.Artist(), reader.Title(), errorEvents};
}

} // namespace

TEST(ModernTags, Id3v2OnlyMp3ShowsItsArtistTitleAndAlbum) {
    TemporaryFolder folder;
    const std::string longTitle = "A Title Far Longer Than Thirty Characters (Extended Mix)";
    const std::string mp3 =
        makeMp3(folder, "v2.mp3", "--id3v2-only --ta Artist --tt " + quoted(longTitle) + " --tl Album --ty 1999");

    TMP3Tag reader;
    int errorEvents = 0;
    reader.onError = [&](TMP3Tag*, const std::string&) { ++errorEvents; };
    reader.SetFilename(mp3);

    EXPECT_TRUE(reader.Valid());
    EXPECT_EQ(reader.Error(), "");
    EXPECT_EQ(errorEvents, 0);
    EXPECT_EQ(reader.Artist(), "Artist");
    EXPECT_EQ(reader.Title(), longTitle);
    EXPECT_EQ(reader.Album(), "Album");
    EXPECT_EQ(reader.Year(), "1999");
}

TEST(ModernTags, FlacVorbisCommentsAreFoldedToShowableBytes) {
    TemporaryFolder folder;
    const std::string flac = makeFlac(folder, "tagged.flac",
                                      "-T 'ARTIST=Bj\xc3\xb6rk' -T 'TITLE=Caf\xc3\xa9 \xe6\x9d\xb1 Stra\xc3\x9f"
                                      "e'");

    const ReadResult result = read(flac);

    EXPECT_TRUE(result.valid);
    EXPECT_EQ(result.errorEvents, 0);
    EXPECT_EQ(result.artist, "Bjork");
    // Accents fold away; "ß" stays a Latin-1 byte; a character outside
    // Latin-1 becomes "?".
    EXPECT_EQ(result.title, "Cafe ? Stra\xdf"
                            "e");
}

TEST(ModernTags, Id3v1TrailerWinsOverAnId3v2Tag) {
    TemporaryFolder folder;
    const std::string mp3 = makeMp3(folder, "both.mp3", "--id3v2-only --ta 'Two Artist' --tt 'Two Title'");
    std::string trailer = "TAGOne Title";
    trailer.resize(33, ' ');
    trailer += "One Artist";
    trailer.resize(128, ' ');
    writeFile(mp3, test_support::readFile(mp3) + trailer);

    const ReadResult result = read(mp3);

    EXPECT_TRUE(result.valid);
    EXPECT_EQ(result.artist, "One Artist");
    EXPECT_EQ(result.title, "One Title");
}

TEST(ModernTags, FilesWithoutAnyTagShowTheirNameAsTitle) {
    TemporaryFolder folder;
    const std::string bareMp3 = makeMp3(folder, "bare track.mp3", "");
    const std::string bareFlac = makeFlac(folder, "bare.flac", "");
    const std::string artistOnly = makeFlac(folder, "artist only.flac", "-T ARTIST=Someone");

    for (const std::string& path : {bareMp3, bareFlac}) {
        TMP3Tag reader;
        reader.SetFilename(path);
        EXPECT_FALSE(reader.Valid()) << path;
        EXPECT_EQ(reader.Error(), TMP3Tag::kErrorNoTag) << path;
        EXPECT_EQ(reader.Artist(), "") << path;
    }
    EXPECT_EQ(read(bareMp3).title, "bare track.mp3");
    EXPECT_EQ(read(bareFlac).title, "bare.flac");
    EXPECT_EQ(read(bareFlac).errorEvents, 1);

    const ReadResult partial = read(artistOnly);
    EXPECT_TRUE(partial.valid);
    EXPECT_EQ(partial.artist, "Someone");
    EXPECT_EQ(partial.title, "artist only.flac");
}

TEST(ModernTags, GarbageFilesOfEveryKnownTypeShowTheirName) {
    TemporaryFolder folder;
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 131 + 7) & 0xff);
    // Headers that promise a tag and then break off.
    const std::string starts[] = {""s, "ID3\x04"s, "fLaC"s, "OggS"s, "ID3\x03\x00\x00\x7f\x7f\x7f\x7f"s};
    for (const std::string extension : {".mp3", ".flac", ".ogg", ".opus", ".wav"}) {
        for (std::size_t kind = 0; kind < std::size(starts); ++kind) {
            const std::string name = "junk" + std::to_string(kind) + extension;
            writeFile(folder.file(name), starts[kind] + garbage);
            const ReadResult result = read(folder.file(name));
            EXPECT_FALSE(result.valid) << name;
            EXPECT_EQ(result.title, name);
            EXPECT_EQ(result.artist, "") << name;
        }
    }
}

TEST(ModernTags, TagTextBecomesTrimmedBoundedBytes) {
    EXPECT_EQ(playlist::toTagBytes("  Line\none\ttwo\x7f  "), "Line one two");
    EXPECT_EQ(playlist::toTagBytes("\xef\xbc\xa1"), "A");         // full-width letter
    EXPECT_EQ(playlist::toTagBytes("x\xf0\x9f\x8e\xb5y"), "x?y"); // one character beyond 16 bits
    EXPECT_EQ(playlist::toTagBytes(std::string(10000, 'a')).size(), playlist::kModernFieldLength);
    EXPECT_EQ(playlist::toTagBytes(" \n "), "");
}
