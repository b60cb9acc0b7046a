// The decoder resynchronises on anything that looks like a frame header;
// opening a file checks first that it really holds MPEG audio.
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

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

} // namespace

TEST(OpenCheck, NoiseAndOtherAudioFormatsAreRefusedRealMp3sBehindTagsOrJunkOpen) {
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

    EXPECT_EQ(openResult(folder.file("noise.mp3")), XA_ERROR_INVALID_FORMAT);
    EXPECT_EQ(openResult(folder.file("click.wav")), XA_ERROR_INVALID_FORMAT);
    EXPECT_EQ(openResult(folder.file("tone.mp3")), XA_SUCCESS);
    EXPECT_EQ(openResult(folder.file("tagged.mp3")), XA_SUCCESS);
    EXPECT_EQ(openResult(folder.file("junk.mp3")), XA_SUCCESS);
}
