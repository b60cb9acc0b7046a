// The MPEG decoder resynchronises on anything that looks like a frame
// header; opening a file checks first what it really holds, whatever its
// name says.
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sys/stat.h>

namespace {

using test_support::TemporaryFolder;

int openResult(const std::string& path) {
    XA_DecoderInfo* raw = nullptr;
    if (decoder_new(&raw) != XA_SUCCESS)
        return XA_FAILURE;
    std::unique_ptr<XA_DecoderInfo, int (*)(XA_DecoderInfo*)> decoder(raw, decoder_delete);
    XA_InputModule module{};
    file_input_module_register(&module);
    decoder_input_module_register(decoder.get(), &module);
    decoder_input_new(decoder.get(), path.c_str(), -1);
    return decoder_input_open(decoder.get());
}

std::string id3v2Tag(size_t bodyBytes) {
    std::string tag = "ID3\x03";
    tag += '\0';
    tag += '\0';
    for (int shift = 21; shift >= 0; shift -= 7)
        tag += static_cast<char>((bodyBytes >> shift) & 0x7F);
    return tag + std::string(bodyBytes, '\0');
}

std::string littleEndian(uint32_t value, int bytes) {
    std::string text;
    for (int index = 0; index < bytes; ++index)
        text += static_cast<char>((value >> (8 * index)) & 0xff);
    return text;
}

// MPEG audio in a RIFF file with the MPEG layer III format tag.
std::string riffWrapped(const std::string& mp3) {
    const std::string format = littleEndian(0x55, 2) + littleEndian(2, 2) + littleEndian(44100, 4) +
                               littleEndian(24000, 4) + littleEndian(1, 2) + littleEndian(0, 2) + littleEndian(12, 2) +
                               littleEndian(1, 2) + littleEndian(2, 4) + littleEndian(626, 2) + littleEndian(1, 2) +
                               littleEndian(1393, 2);
    const std::string chunks = "WAVEfmt " + littleEndian(static_cast<uint32_t>(format.size()), 4) + format + "data" +
                               littleEndian(static_cast<uint32_t>(mp3.size()), 4) + mp3;
    return "RIFF" + littleEndian(static_cast<uint32_t>(chunks.size()), 4) + chunks;
}

} // namespace

TEST(OpenCheck, NoiseAndFakeHeadersAreRefusedRealFilesOpenWhateverTheirNames) {
    TemporaryFolder folder;
    std::mt19937 random(2024);
    std::string noise(300000, '\0');
    for (char& byte : noise)
        byte = static_cast<char>(random());
    test_support::writeFile(folder.file("noise.mp3"), noise);
    test_support::makeClickTrackWav(folder.file("click.wav"), {.seconds = 5});
    test_support::makeToneMp3(folder.file("tone.mp3"), {.seconds = 3});
    const std::string tone = test_support::readFile(folder.file("tone.mp3"));
    // A tag larger than the window the frames are looked for in.
    test_support::writeFile(folder.file("tagged.mp3"), id3v2Tag(200000) + tone);
    test_support::writeFile(folder.file("junk.mp3"), std::string(3000, '\x55') + tone);
    test_support::encodeWav(folder.file("click.wav"), folder.file("click.flac"), test_support::Encoding::Flac);
    test_support::encodeWav(folder.file("click.wav"), folder.file("click.opus"), test_support::Encoding::Opus);
    const std::string flac = test_support::readFile(folder.file("click.flac"));
    test_support::writeFile(folder.file("flac-behind-tag.flac"), id3v2Tag(5000) + flac);
    test_support::writeFile(folder.file("flac-named.mp3"), flac);
    test_support::writeFile(folder.file("wav-named.ogg"), test_support::readFile(folder.file("click.wav")));
    test_support::writeFile(folder.file("mp3-named.flac"), tone);
    test_support::writeFile(folder.file("riff-wrapped.mp3"), riffWrapped(tone));
    // Right magic, nothing behind it.
    const std::string opus = test_support::readFile(folder.file("click.opus"));
    test_support::writeFile(folder.file("fake.opus"), opus.substr(0, 200) + noise.substr(0, 20000));
    test_support::writeFile(folder.file("fake.flac"), "fLaC" + noise.substr(0, 20000));
    test_support::writeFile(folder.file("fake.wav"),
                            std::string("RIFF\x10\0\0\0WAVEfmt ", 16) + noise.substr(0, 20000));
    test_support::writeFile(folder.file("fake.ogg"), "OggS" + noise.substr(0, 20000));
    test_support::writeFile(folder.file("text.flac"), "This is a text file, not a FLAC.\n");

    for (const char* name : {"noise.mp3", "fake.opus", "fake.flac", "fake.wav", "fake.ogg", "text.flac"})
        EXPECT_EQ(openResult(folder.file(name)), XA_ERROR_INVALID_FORMAT) << name;
    for (const char* name :
         {"click.wav", "tone.mp3", "tagged.mp3", "junk.mp3", "click.flac", "click.opus", "flac-behind-tag.flac",
          "flac-named.mp3", "wav-named.ogg", "mp3-named.flac", "riff-wrapped.mp3"})
        EXPECT_EQ(openResult(folder.file(name)), XA_SUCCESS) << name;
    EXPECT_EQ(openResult(folder.file("missing.flac")), XA_ERROR_OPEN_FAILED);
    // Refused at once instead of waiting for a writer.
    ASSERT_EQ(::mkfifo(folder.file("pipe.flac").c_str(), 0600), 0);
    EXPECT_EQ(openResult(folder.file("pipe.flac")), XA_ERROR_OPEN_FAILED);
}
