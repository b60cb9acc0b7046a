// WAV, FLAC, Ogg Vorbis and Opus files made with each format's own encoder,
// played, sought and equalized through the real engine.
#include "PlayerHarness.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using test_support::Encoding;
using test_support::TemporaryFolder;
using xaudio_test::Capture;
using xaudio_test::PlayerHarness;
using xaudio_test::Received;

constexpr double kToneSeconds = 3.0;

struct Format {
    Encoding encoding;
    const char* name;
    int sampleRateHz;
};

const Format kFormats[] = {
    {Encoding::Wav, "wav", 44100},
    {Encoding::Flac, "flac", 44100},
    {Encoding::Vorbis, "ogg", 44100},
    // Opus always decodes at 48 kHz.
    {Encoding::Opus, "opus", 48000},
};

struct DecoderDeleter {
    void operator()(XA_DecoderInfo* decoder) const { decoder_delete(decoder); }
};
using DecoderPointer = std::unique_ptr<XA_DecoderInfo, DecoderDeleter>;

DecoderPointer openDecoder(const std::string& path, int* status) {
    XA_DecoderInfo* raw = nullptr;
    EXPECT_EQ(decoder_new(&raw), XA_SUCCESS);
    DecoderPointer decoder(raw);
    XA_InputModule module{};
    file_input_module_register(&module);
    decoder_input_module_register(decoder.get(), &module);
    decoder_input_new(decoder.get(), path.c_str(), -1);
    *status = decoder_input_open(decoder.get());
    return decoder;
}

// Every 16-bit sample the decoder gives from its position to the end.
std::vector<int16_t> decodeToEnd(XA_DecoderInfo* decoder) {
    std::vector<int16_t> samples;
    std::vector<unsigned char> buffer(XA_DECODER_MAX_FRAME_BYTES);
    while (decoder_decode(decoder, buffer.data()) == XA_SUCCESS) {
        const size_t count = decoder->output_buffer->size / sizeof(int16_t);
        const size_t old = samples.size();
        samples.resize(old + count);
        std::memcpy(samples.data() + old, buffer.data(), count * sizeof(int16_t));
    }
    return samples;
}

double rms(const std::vector<int16_t>& samples, size_t from, size_t to) {
    double sum = 0;
    for (size_t index = from; index < to; ++index)
        sum += static_cast<double>(samples[index]) * samples[index];
    return std::sqrt(sum / static_cast<double>(to - from));
}

int largestDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b, size_t offset, size_t count) {
    int largest = 0;
    for (size_t index = 0; index < count; ++index)
        largest = std::max(largest, std::abs(int{a[index]} - int{b[offset + index]}));
    return largest;
}

XA_EqualizerInfo bandCut(int band) {
    XA_EqualizerInfo table{};
    table.left[band] = -80;
    table.right[band] = -80;
    return table;
}

class FormatsTest : public ::testing::TestWithParam<Format> {
protected:
    static void SetUpTestSuite() {
        setenv("XAUDIO_NULL_OUTPUT", "wait", 1);
        s_folder = std::make_unique<TemporaryFolder>();
        for (const Format& format : kFormats)
            test_support::makeTone(tone(format), format.encoding, {.seconds = kToneSeconds});
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    static std::string tone(const Format& format) { return s_folder->file(std::string("tone.") + format.name); }
    static std::string file(const std::string& name) { return s_folder->file(name); }

    static void send(PlayerHarness& harness, int code, const XA_EqualizerInfo* table) {
        const size_t from = harness.count();
        control_message_send_P(harness.player(), code, table);
        ASSERT_EQ(harness.waitForReply(code, 5000ms, from), XA_SUCCESS);
    }
    static void capture(PlayerHarness& harness, const std::string& path) {
        const size_t from = harness.count();
        control_message_send_SS(harness.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE,
                                path.c_str());
        ASSERT_EQ(harness.waitForReply(XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, 5000ms, from), XA_SUCCESS);
    }

    static std::unique_ptr<TemporaryFolder> s_folder;
};

std::unique_ptr<TemporaryFolder> FormatsTest::s_folder;

} // namespace

TEST_P(FormatsTest, PlaysAtItsFrequencyForItsLengthAndReportsItsStream) {
    const Format format = GetParam();
    PlayerHarness harness;
    ASSERT_EQ(harness.open(tone(format)), XA_SUCCESS);
    capture(harness, file(std::string("played-") + format.name + ".wav"));
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 20s), 0);

    int duration = -1;
    int parameters = 0;
    for (const Received& received : harness.received()) {
        const XA_Message& message = received.message;
        if (message.code == XA_MSG_NOTIFY_STREAM_DURATION)
            duration = static_cast<int>(message.data.duration);
        if (message.code != XA_MSG_NOTIFY_STREAM_PARAMETERS)
            continue;
        ++parameters;
        EXPECT_EQ(message.data.stream_parameters.frequency, static_cast<uint32_t>(format.sampleRateHz));
        EXPECT_EQ(message.data.stream_parameters.nb_channels, 2);
        // PCM at its own rate; compressed files at their average rate.
        const double averageKbps =
            static_cast<double>(std::filesystem::file_size(tone(format))) * 8.0 / kToneSeconds / 1000.0;
        EXPECT_NEAR(message.data.stream_parameters.bitrate, format.encoding == Encoding::Wav ? 1411 : averageKbps, 1.0);
    }
    EXPECT_EQ(parameters, 1);
    EXPECT_EQ(duration, 3);

    // The output runs at 44.1 kHz; a 48 kHz stream is resampled to it.
    const Capture played = Capture::read(file(std::string("played-") + format.name + ".wav"));
    EXPECT_EQ(played.sampleRateHz, 44100);
    EXPECT_NEAR(played.seconds(), kToneSeconds, 0.05);
    EXPECT_NEAR(played.frequencyHz(0.2, 2.8), 1000.0, 2.0);
    EXPECT_NEAR(played.typicalRms(0.2, 2.8), 0.354, 0.03);
}

TEST_P(FormatsTest, SeekingLandsOnTheSameSamplesWithAndWithoutTheEqualizer) {
    const Format format = GetParam();
    int status = XA_FAILURE;
    DecoderPointer decoder = openDecoder(tone(format), &status);
    ASSERT_EQ(status, XA_SUCCESS);
    EXPECT_EQ(decoder->input->duration, 3u);
    const std::vector<int16_t> whole = decodeToEnd(decoder.get());
    const auto frames = static_cast<size_t>(kToneSeconds * format.sampleRateHz);
    ASSERT_EQ(whole.size(), frames * 2);
    EXPECT_EQ(decoder->output_buffer->sample_rate, static_cast<uint32_t>(format.sampleRateHz));
    EXPECT_EQ(decoder->output_buffer->stereo, 1u);

    const auto seekAndCompare = [&](uint32_t offset) {
        ASSERT_EQ(decoder_input_seek_to_offset(decoder.get(), offset), XA_SUCCESS);
        const std::vector<int16_t> rest = decodeToEnd(decoder.get());
        const size_t first = frames * offset / 100 * 2;
        ASSERT_EQ(rest.size(), whole.size() - first) << offset;
        // The equalizer's float path may round one step differently.
        EXPECT_LE(largestDifference(rest, whole, first, rest.size()), 1) << offset;
    };
    seekAndCompare(37);

    // A flat table runs every sample through the equalizer and must give
    // the same audio at the same place, from the start and after a seek.
    XA_EqualizerInfo flat{};
    ASSERT_EQ(decoder_codec_set_equalizer(decoder.get(), &flat), XA_SUCCESS);
    seekAndCompare(0);
    seekAndCompare(37);
    seekAndCompare(99);

    // The level change in the steady middle of the tone with one band cut
    // to -80 (-20 dB).
    const auto changeWithBandCut = [&](int band) {
        const XA_EqualizerInfo table = bandCut(band);
        EXPECT_EQ(decoder_codec_set_equalizer(decoder.get(), &table), XA_SUCCESS);
        EXPECT_EQ(decoder_input_seek_to_offset(decoder.get(), 0), XA_SUCCESS);
        const std::vector<int16_t> equalized = decodeToEnd(decoder.get());
        EXPECT_EQ(equalized.size(), whole.size());
        const size_t from = frames / 5 * 2;
        const size_t to = std::min(frames * 4 / 5 * 2, equalized.size());
        return xaudio_test::decibels(rms(equalized, from, to) / rms(whole, from, to));
    };
    // 1 kHz lies in band 1 at 44.1 and 48 kHz.
    EXPECT_NEAR(changeWithBandCut(1), -20.0, 1.0);
    EXPECT_NEAR(changeWithBandCut(20), 0.0, 0.2);
}

TEST_P(FormatsTest, ThePlayersEqualizerCutsItsBandAndSeekingReportsTheNewPlace) {
    const Format format = GetParam();
    PlayerHarness harness;
    ASSERT_EQ(harness.open(tone(format)), XA_SUCCESS);
    const XA_EqualizerInfo cut = bandCut(1);
    send(harness, XA_MSG_SET_CODEC_EQUALIZER, &cut);
    capture(harness, file(std::string("cut-") + format.name + ".wav"));
    const size_t from = harness.count();
    control_message_send_II(harness.player(), XA_MSG_COMMAND_INPUT_SEEK, 50, 100);
    ASSERT_EQ(harness.waitForReply(XA_MSG_COMMAND_INPUT_SEEK, 5000ms, from), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 20s, from), 0);

    std::vector<double> codes;
    const std::vector<Received> log = harness.received();
    for (size_t index = from; index < log.size(); ++index) {
        const XA_Message& message = log[index].message;
        if (message.code == XA_MSG_NOTIFY_INPUT_TIMECODE)
            codes.push_back(xaudio_test::timecodeSeconds(message));
    }
    ASSERT_FALSE(codes.empty());
    EXPECT_NEAR(codes.front(), kToneSeconds / 2, 0.01);
    EXPECT_GE(*std::min_element(codes.begin(), codes.end()), kToneSeconds / 2 - 0.01);
    EXPECT_NEAR(codes.back(), kToneSeconds, 0.05);
    const Capture played = Capture::read(file(std::string("cut-") + format.name + ".wav"));
    EXPECT_NEAR(played.seconds(), kToneSeconds / 2, 0.05);
    EXPECT_NEAR(xaudio_test::decibels(played.typicalRms(0.2, 1.3) / 0.354), -20.0, 1.5);
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, FormatsTest, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format>& info) { return std::string(info.param.name); });

TEST(MonoFormats, AMono22kHzFlacDecodesAsMonoAndPlaysResampledToTheOutput) {
    setenv("XAUDIO_NULL_OUTPUT", "wait", 1);
    TemporaryFolder folder;
    const std::string path = folder.file("mono.flac");
    test_support::makeTone(path, Encoding::Flac, {.seconds = 2.0, .sampleRateHz = 22050, .channels = 1});

    int status = XA_FAILURE;
    DecoderPointer decoder = openDecoder(path, &status);
    ASSERT_EQ(status, XA_SUCCESS);
    EXPECT_EQ(decodeToEnd(decoder.get()).size(), 44100u);
    EXPECT_EQ(decoder->output_buffer->stereo, 0u);
    EXPECT_EQ(decoder->output_buffer->sample_rate, 22050u);

    PlayerHarness harness;
    ASSERT_EQ(harness.open(path), XA_SUCCESS);
    const size_t from = harness.count();
    control_message_send_SS(harness.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE,
                            folder.file("mono.wav").c_str());
    ASSERT_EQ(harness.waitForReply(XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, 5000ms, from), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s), 0);
    const Capture played = Capture::read(folder.file("mono.wav"));
    EXPECT_NEAR(played.seconds(), 2.0, 0.05);
    EXPECT_NEAR(played.frequencyHz(0.2, 1.8), 1000.0, 2.0);
    // Both channels carry the one channel.
    EXPECT_NEAR(played.typicalRms(0.2, 1.8), 0.354, 0.03);
    EXPECT_LT(std::abs(played.left[30000] - played.right[30000]), 1e-3);
}
