#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using test_support::TemporaryFolder;

struct DecoderDeleter {
    void operator()(XA_DecoderInfo* decoder) const { decoder_delete(decoder); }
};
using DecoderPointer = std::unique_ptr<XA_DecoderInfo, DecoderDeleter>;

class DecoderApiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = std::make_unique<TemporaryFolder>();
        test_support::ToneOptions stereo;
        stereo.seconds = 3.0;
        test_support::makeToneMp3(s_folder->file("stereo.mp3"), stereo);
        test_support::ToneOptions mono;
        mono.seconds = 2.0;
        mono.channels = 1;
        mono.sampleRateHz = 22050;
        mono.bitRateKbps = 64;
        test_support::makeToneMp3(s_folder->file("mono22.mp3"), mono);
        test_support::writeFile(s_folder->file("text.mp3"), std::string(5000, 'x') + "not audio at all\n");
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    static DecoderPointer openDecoder(const std::string& path) {
        XA_DecoderInfo* raw = nullptr;
        EXPECT_EQ(decoder_new(&raw), XA_SUCCESS);
        DecoderPointer decoder(raw);
        XA_InputModule module{};
        EXPECT_EQ(file_input_module_register(&module), XA_SUCCESS);
        EXPECT_EQ(decoder_input_module_register(decoder.get(), &module), XA_SUCCESS);
        EXPECT_EQ(decoder_input_new(decoder.get(), path.c_str(), -1), XA_SUCCESS);
        return decoder;
    }

    static std::unique_ptr<TemporaryFolder> s_folder;
};

std::unique_ptr<TemporaryFolder> DecoderApiTest::s_folder;

TEST_F(DecoderApiTest, DecodesAStereoFileFrameByFrameWithTheRightByteCounts) {
    DecoderPointer decoder = openDecoder(s_folder->file("stereo.mp3"));
    ASSERT_EQ(decoder_input_open(decoder.get()), XA_SUCCESS);
    EXPECT_EQ(decoder->input->state, XA_DECODER_INPUT_STATE_OPEN);
    EXPECT_EQ(decoder->input->duration, 3u);

    std::vector<uint8_t> buffer(XA_DECODER_MAX_FRAME_BYTES);
    size_t totalBytes = 0;
    int fullFrames = 0;
    int frames = 0;
    while (decoder_decode(decoder.get(), buffer.data()) == XA_SUCCESS) {
        const uint32_t size = decoder->output_buffer->size;
        ASSERT_GT(size, 0u);
        ASSERT_LE(size, static_cast<uint32_t>(XA_DECODER_MAX_FRAME_BYTES));
        ASSERT_EQ(size % 4, 0u);
        fullFrames += size == XA_DECODER_MAX_FRAME_BYTES ? 1 : 0;
        totalBytes += size;
        ++frames;
        EXPECT_EQ(decoder->output_buffer->sample_rate, 44100);
        EXPECT_EQ(decoder->output_buffer->stereo, 1);
        EXPECT_EQ(decoder->output_buffer->bytes_per_sample, 2);
    }
    EXPECT_EQ(decoder->status, XA_ERROR_END_OF_STREAM);
    // Gapless decoding gives back exactly the samples that went into lame.
    EXPECT_EQ(totalBytes, 3u * 44100u * 4u);
    EXPECT_GE(fullFrames, frames - 2);
}

TEST_F(DecoderApiTest, DecodesMonoAtTheStreamsOwnRateWithoutResampling) {
    DecoderPointer decoder = openDecoder(s_folder->file("mono22.mp3"));
    ASSERT_EQ(decoder_input_open(decoder.get()), XA_SUCCESS);
    EXPECT_EQ(decoder->input->duration, 2u);
    std::vector<int16_t> buffer(XA_DECODER_MAX_FRAME_BYTES / 2);
    size_t totalBytes = 0;
    double energy = 0;
    size_t samples = 0;
    while (decoder_decode(decoder.get(), buffer.data()) == XA_SUCCESS) {
        // MPEG-2 layer III frames hold 576 samples: 1152 bytes in mono.
        ASSERT_LE(decoder->output_buffer->size, 1152u);
        EXPECT_EQ(decoder->output_buffer->stereo, 0);
        EXPECT_EQ(decoder->output_buffer->sample_rate, 22050);
        totalBytes += decoder->output_buffer->size;
        for (uint32_t i = 0; i < decoder->output_buffer->size / 2; ++i, ++samples)
            energy += static_cast<double>(buffer[i]) * buffer[i];
    }
    EXPECT_EQ(totalBytes, 2u * 22050u * 2u);
    // A sine at amplitude 0.5 has an RMS of 0.35 of full scale.
    EXPECT_NEAR(std::sqrt(energy / samples) / 32768.0, 0.354, 0.03);
}

TEST_F(DecoderApiTest, SeekToOffsetZeroRewinds) {
    DecoderPointer decoder = openDecoder(s_folder->file("stereo.mp3"));
    ASSERT_EQ(decoder_input_open(decoder.get()), XA_SUCCESS);
    std::vector<uint8_t> first(XA_DECODER_MAX_FRAME_BYTES);
    std::vector<uint8_t> again(XA_DECODER_MAX_FRAME_BYTES);
    ASSERT_EQ(decoder_decode(decoder.get(), first.data()), XA_SUCCESS);
    const uint32_t firstSize = decoder->output_buffer->size;
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(decoder_decode(decoder.get(), again.data()), XA_SUCCESS);
    ASSERT_EQ(decoder_input_seek_to_offset(decoder.get(), 0), XA_SUCCESS);
    ASSERT_EQ(decoder_decode(decoder.get(), again.data()), XA_SUCCESS);
    ASSERT_EQ(decoder->output_buffer->size, firstSize);
    EXPECT_EQ(std::vector<uint8_t>(first.begin(), first.begin() + firstSize),
              std::vector<uint8_t>(again.begin(), again.begin() + firstSize));

    ASSERT_EQ(decoder_input_seek_to_offset(decoder.get(), decoder->input->range / 2), XA_SUCCESS);
    ASSERT_EQ(decoder_decode(decoder.get(), again.data()), XA_SUCCESS);
    EXPECT_NEAR(static_cast<double>(decoder->input->position) / decoder->input->range, 0.5, 0.05);
}

TEST_F(DecoderApiTest, FilesThatAreNotMpegAudioFailToOpenAndDecodeNothing) {
    std::vector<uint8_t> buffer(XA_DECODER_MAX_FRAME_BYTES);
    for (const char* name : {"missing.mp3", "text.mp3"}) {
        DecoderPointer decoder = openDecoder(s_folder->file(name));
        EXPECT_NE(decoder_input_open(decoder.get()), XA_SUCCESS) << name;
        EXPECT_EQ(decoder->input->duration, 0u) << name;
        EXPECT_NE(decoder_decode(decoder.get(), buffer.data()), XA_SUCCESS) << name;
        EXPECT_EQ(decoder->output_buffer->size, 0u) << name;
        EXPECT_EQ(decoder->output_buffer->sample_rate, 0) << name;
    }
    DecoderPointer missing = openDecoder(s_folder->file("missing.mp3"));
    EXPECT_EQ(decoder_input_open(missing.get()), XA_ERROR_OPEN_FAILED);
    DecoderPointer text = openDecoder(s_folder->file("text.mp3"));
    EXPECT_EQ(decoder_input_open(text.get()), XA_ERROR_INVALID_FORMAT);
}

TEST_F(DecoderApiTest, TruncatedFileDecodesWhatItHolds) {
    const std::string whole = test_support::readFile(s_folder->file("stereo.mp3"));
    test_support::writeFile(s_folder->file("truncated.mp3"), whole.substr(0, whole.size() / 2 + 77));
    DecoderPointer decoder = openDecoder(s_folder->file("truncated.mp3"));
    ASSERT_EQ(decoder_input_open(decoder.get()), XA_SUCCESS);
    std::vector<uint8_t> buffer(XA_DECODER_MAX_FRAME_BYTES);
    size_t totalBytes = 0;
    while (decoder_decode(decoder.get(), buffer.data()) == XA_SUCCESS)
        totalBytes += decoder->output_buffer->size;
    EXPECT_NEAR(static_cast<double>(totalBytes) / (44100 * 4), 1.5, 0.2);
}

TEST_F(DecoderApiTest, MisuseIsAnsweredWithStatusCodes) {
    EXPECT_EQ(decoder_new(nullptr), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(decoder_delete(nullptr), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(decoder_decode(nullptr, nullptr), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(file_input_module_register(nullptr), XA_ERROR_INVALID_PARAMETERS);
    XA_DecoderInfo* raw = nullptr;
    ASSERT_EQ(decoder_new(&raw), XA_SUCCESS);
    DecoderPointer decoder(raw);
    ASSERT_NE(decoder->output_buffer, nullptr);
    EXPECT_EQ(decoder->input, nullptr);
    std::vector<uint8_t> buffer(XA_DECODER_MAX_FRAME_BYTES);
    EXPECT_EQ(decoder_input_open(decoder.get()), XA_ERROR_NO_INPUT);
    EXPECT_EQ(decoder_decode(decoder.get(), buffer.data()), XA_ERROR_NO_INPUT);
    EXPECT_EQ(decoder_input_seek_to_offset(decoder.get(), 0), XA_ERROR_NO_INPUT);
    EXPECT_EQ(decoder_input_new(decoder.get(), nullptr, -1), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(decoder_input_delete(decoder.get()), XA_SUCCESS);
    EXPECT_EQ(decoder_input_close(decoder.get()), XA_SUCCESS);
    const char* major = nullptr;
    const char* minor = nullptr;
    const char* state = nullptr;
    EXPECT_NE(decoder_version(&major, &minor, &state), nullptr);
    EXPECT_STREQ(major, "3");
    EXPECT_STREQ(minor, "8");
}

TEST_F(DecoderApiTest, OpeningAnotherInputReplacesTheFirst) {
    DecoderPointer decoder = openDecoder(s_folder->file("stereo.mp3"));
    ASSERT_EQ(decoder_input_open(decoder.get()), XA_SUCCESS);
    std::vector<uint8_t> buffer(XA_DECODER_MAX_FRAME_BYTES);
    ASSERT_EQ(decoder_decode(decoder.get(), buffer.data()), XA_SUCCESS);
    ASSERT_EQ(decoder_input_delete(decoder.get()), XA_SUCCESS);
    ASSERT_EQ(decoder_input_new(decoder.get(), s_folder->file("mono22.mp3").c_str(), -1), XA_SUCCESS);
    ASSERT_EQ(decoder_input_open(decoder.get()), XA_SUCCESS);
    ASSERT_EQ(decoder_decode(decoder.get(), buffer.data()), XA_SUCCESS);
    EXPECT_EQ(decoder->output_buffer->sample_rate, 22050);
    EXPECT_EQ(decoder->output_buffer->stereo, 0);
}

} // namespace
