// The engine path against a fake decoder handed in through the entry-point
// table; the real engine is measured in TempikApiTest.cpp.
#include "EngineMeasurement.h"
#include "SignalSource.h"
#include "XAudSync.h"
#include "platform/ApplicationFolder.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

struct XA_DecoderPrivate {
    XA_OutputBufferInfo output{};
    XA_InputInfo input{};
    int64_t positionFrames = 0;
};

namespace {

// What the fake engine does and what it saw; one measurement at a time.
struct FakeEngine {
    uint32_t durationSeconds = 240;
    int32_t sampleRateHz = 44100;
    int32_t stereo = 1;
    bool openSucceeds = true;
    bool decoderNewFails = false;
    int64_t framesAvailable = INT64_MAX;
    int framesPerDecode = 1152;
    std::function<double(int64_t, int)> signal = tempo_test::noiseBeats(125.0);

    int decodersCreated = 0;
    int decodersDeleted = 0;
    int modulesRegistered = 0;
    int decodeCalls = 0;
    int decodeCallsAfterEnd = 0;
    int seeks = 0;
    std::string inputName;
    XA_DecoderInfo* lastDecoder = nullptr;
};

FakeEngine* fake = nullptr;

int fakeDecoderNew(XA_DecoderInfo** decoder) {
    if (fake->decoderNewFails)
        return XA_ERROR_OUT_OF_MEMORY;
    auto* info = new XA_DecoderInfo{};
    info->hidden = new XA_DecoderPrivate{};
    info->hidden->output.bytes_per_sample = 2;
    info->output_buffer = &info->hidden->output;
    *decoder = info;
    fake->lastDecoder = info;
    ++fake->decodersCreated;
    return XA_SUCCESS;
}

int fakeDecoderDelete(XA_DecoderInfo* decoder) {
    std::unique_ptr<XA_DecoderPrivate> hidden(decoder->hidden);
    std::unique_ptr<XA_DecoderInfo> info(decoder);
    ++fake->decodersDeleted;
    return XA_SUCCESS;
}

int fakeFileInputModuleRegister(XA_InputModule* module) {
    module->id = 7;
    std::strcpy(module->name, "file");
    return XA_SUCCESS;
}

int fakeDecoderInputModuleRegister(XA_DecoderInfo*, const XA_InputModule* module) {
    if (module->id == 7)
        ++fake->modulesRegistered;
    return XA_SUCCESS;
}

int fakeDecoderInputNew(XA_DecoderInfo* decoder, const char* name, int moduleId) {
    if (moduleId != -1)
        return XA_ERROR_NO_SUCH_MODULE;
    decoder->input = &decoder->hidden->input;
    decoder->input->state = XA_DECODER_INPUT_STATE_CLOSED;
    fake->inputName = name;
    return XA_SUCCESS;
}

int fakeDecoderInputOpen(XA_DecoderInfo* decoder) {
    if (!fake->openSucceeds)
        return XA_ERROR_OPEN_FAILED;
    decoder->input->state = XA_DECODER_INPUT_STATE_OPEN;
    decoder->input->duration = fake->durationSeconds;
    decoder->output_buffer->stereo = fake->stereo;
    return XA_SUCCESS;
}

int fakeDecoderInputDelete(XA_DecoderInfo* decoder) {
    decoder->input = nullptr;
    return XA_SUCCESS;
}

int fakeDecoderDecode(XA_DecoderInfo* decoder, void* buffer) {
    ++fake->decodeCalls;
    XA_DecoderPrivate& state = *decoder->hidden;
    if (decoder->input == nullptr || decoder->input->state != XA_DECODER_INPUT_STATE_OPEN ||
        state.positionFrames >= fake->framesAvailable) {
        if (state.positionFrames >= fake->framesAvailable)
            ++fake->decodeCallsAfterEnd;
        state.output.size = 0;
        return XA_ERROR_END_OF_STREAM;
    }
    const int channels = fake->stereo == 1 ? 2 : 1;
    auto* out = static_cast<int16_t*>(buffer);
    for (int frame = 0; frame < fake->framesPerDecode; ++frame, ++state.positionFrames)
        for (int channel = 0; channel < channels; ++channel)
            *out++ = static_cast<int16_t>(std::lround(fake->signal(state.positionFrames, channel) * 32767));
    state.output.size = static_cast<uint32_t>(fake->framesPerDecode * channels * 2);
    state.output.sample_rate = fake->sampleRateHz;
    return XA_SUCCESS;
}

int fakeDecoderInputSeekToOffset(XA_DecoderInfo* decoder, uint32_t offset) {
    ++fake->seeks;
    if (offset != 0)
        return XA_ERROR_SEEK_FAILED;
    decoder->hidden->positionFrames = 0;
    return XA_SUCCESS;
}

tempo::XAudioEntryPoints fakeEntryPoints() {
    tempo::XAudioEntryPoints points;
    points.decoder_new = fakeDecoderNew;
    points.file_input_module_register = fakeFileInputModuleRegister;
    points.decoder_input_new = fakeDecoderInputNew;
    points.decoder_input_open = fakeDecoderInputOpen;
    points.decoder_input_module_register = fakeDecoderInputModuleRegister;
    points.decoder_decode = fakeDecoderDecode;
    points.decoder_input_delete = fakeDecoderInputDelete;
    points.decoder_input_seek_to_offset = fakeDecoderInputSeekToOffset;
    points.decoder_delete = fakeDecoderDelete;
    return points;
}

class EngineMeasurementTest : public ::testing::Test {
protected:
    void SetUp() override { fake = &m_fake; }
    void TearDown() override { fake = nullptr; }

    tempo::Measurement measure(double* progress = nullptr) {
        return tempo::measureWithEngine(m_points, "/music/track.mp3", 110, 150, progress);
    }

    FakeEngine m_fake;
    tempo::XAudioEntryPoints m_points = fakeEntryPoints();
};

} // namespace

TEST_F(EngineMeasurementTest, FourMinuteStreamIsAnalysedOverItsOpening16384Blocks) {
    double progress = -1;
    const tempo::Measurement result = measure(&progress);
    EXPECT_NEAR(result.bpm, 125.0, 0.5);
    EXPECT_GT(result.quality, 0.5);
    EXPECT_EQ(progress, 1.0);
    EXPECT_EQ(m_fake.inputName, "/music/track.mp3");
    EXPECT_EQ(m_fake.modulesRegistered, 1);
    // One frame to learn the output format, a rewind, then 16384 blocks of
    // 512 frames in frames of 1152: 8388608 / 1152 = 7281.8.
    EXPECT_EQ(m_fake.seeks, 1);
    EXPECT_EQ(m_fake.decodeCalls, 1 + 7282);
    EXPECT_EQ(m_fake.decodersCreated, 1);
    EXPECT_EQ(m_fake.decodersDeleted, 1);
}

TEST_F(EngineMeasurementTest, MonoStreamsAndOddFrameSizesAreReadUnitByUnit) {
    m_fake.stereo = 0;
    m_fake.framesPerDecode = 576;
    m_fake.durationSeconds = 60; // 59 s: 2^21 frames, 4096 blocks
    const tempo::Measurement result = measure();
    EXPECT_NEAR(result.bpm, 125.0, 0.5);
    EXPECT_EQ(m_fake.decodeCalls, 1 + 4096 * 512 / 576 + 1);
}

TEST_F(EngineMeasurementTest, StreamsOfUnderTwoSecondsMeasureNothingAndLeaveProgressAlone) {
    for (uint32_t seconds : {0u, 1u}) {
        m_fake = FakeEngine{};
        m_fake.durationSeconds = seconds;
        double progress = -1;
        const tempo::Measurement result = measure(&progress);
        EXPECT_EQ(result.bpm, 0) << seconds;
        EXPECT_EQ(result.quality, 0) << seconds;
        EXPECT_EQ(progress, -1) << seconds;
        EXPECT_EQ(m_fake.decodersDeleted, 1) << seconds;
    }
}

TEST_F(EngineMeasurementTest, FilesTheEngineCannotOpenMeasureNothing) {
    m_fake.openSucceeds = false;
    const tempo::Measurement result = measure();
    EXPECT_EQ(result.bpm, 0);
    EXPECT_EQ(result.quality, 0);
    EXPECT_EQ(m_fake.decodersDeleted, 1);

    m_fake = FakeEngine{};
    m_fake.decoderNewFails = true;
    EXPECT_EQ(measure().quality, 0);
    EXPECT_EQ(tempo::measureWithEngine(m_points, nullptr, 110, 150, nullptr).quality, 0);
}

TEST_F(EngineMeasurementTest, StreamEndingBeforeItsDurationIsPaddedWithSilenceInsteadOfHanging) {
    m_fake.durationSeconds = 30;
    m_fake.framesAvailable = 44100 * 12; // the duration says 30 s
    double progress = 0;
    const tempo::Measurement result = measure(&progress);
    EXPECT_EQ(progress, 1.0);
    EXPECT_GT(result.bpm, 0);
    EXPECT_EQ(m_fake.decodeCallsAfterEnd, 1);
}

TEST_F(EngineMeasurementTest, EngineWithoutDecoderDeleteStillMeasures) {
    m_points.decoder_delete = nullptr;
    m_fake.durationSeconds = 10;
    const tempo::Measurement result = measure();
    EXPECT_GT(result.quality, 0);
    EXPECT_EQ(m_fake.decodersDeleted, 0);
    EXPECT_EQ(m_fake.decodersCreated, 1);
    fakeDecoderDelete(m_fake.lastDecoder);
}

TEST(XAudioBindingTest, MissingLibraryIsNotBoundAndIsTriedAgain) {
    tempo::XAudioBinding binding("no-such-engine.dll");
    EXPECT_FALSE(binding.bind());
    EXPECT_FALSE(binding.isBound());
    EXPECT_FALSE(binding.bind());
}

TEST(XAudioBindingTest, LibraryWithoutTheDecoderNamesIsUnloadedAgain) {
    tempo::XAudioBinding binding("libm.so.6");
    EXPECT_FALSE(binding.bind());
    EXPECT_FALSE(binding.isBound());
}

TEST(XAudioBindingTest, FailedBindingIsRetriedAndSucceedsOnceTheLibraryIsThere) {
    test_support::TemporaryFolder folder;
    const std::string target = folder.file("libxaudio.so");
    tempo::XAudioBinding binding(folder.file("xaudio.dll"));
    EXPECT_FALSE(binding.bind());
    std::filesystem::copy_file(platform::applicationFolder() + "libxaudio.so", target);
    EXPECT_TRUE(binding.bind());
    EXPECT_TRUE(binding.isBound());
    EXPECT_TRUE(binding.bind());
    const tempo::XAudioEntryPoints& points = binding.entryPoints();
    EXPECT_NE(points.decoder_new, nullptr);
    EXPECT_NE(points.decoder_decode, nullptr);
    EXPECT_NE(points.decoder_input_seek_to_offset, nullptr);
    EXPECT_NE(points.decoder_delete, nullptr);
}

namespace {

// The real engine's decoder_decode, counting what it hands out.
int (*realDecode)(XA_DecoderInfo*, void*) = nullptr;
int64_t decodedBytes = 0;
int decodeCalls = 0;
int32_t decodedRateHz = 0;

int countingDecode(XA_DecoderInfo* decoder, void* buffer) {
    const int status = realDecode(decoder, buffer);
    ++decodeCalls;
    decodedBytes += decoder->output_buffer->size;
    decodedRateHz = decoder->output_buffer->sample_rate;
    return status;
}

} // namespace

TEST(RealEngineMeasurementTest, FourMinuteMp3IsAnalysedOverItsFirst190Seconds) {
    tempo::XAudioBinding binding;
    ASSERT_TRUE(binding.bind());
    tempo::XAudioEntryPoints points = binding.entryPoints();
    realDecode = points.decoder_decode;
    points.decoder_decode = countingDecode;
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("four-minutes.mp3");
    test_support::makeToneMp3(path, {.seconds = 240, .frequencyHz = 440, .channels = 1});

    double progress = -1;
    const tempo::Measurement result = tempo::measureWithEngine(points, path.c_str(), 110, 150, &progress);
    EXPECT_EQ(progress, 1.0);
    EXPECT_GT(result.quality, 0);
    EXPECT_EQ(decodedRateHz, 44100);
    // 239 s x 44100 Hz = 10539900 frames: 2^14 blocks of 512 frames, 190.2 s.
    // After the probe frame the stream is read again from the start, in
    // whole frames of at most 1152 samples, until 2^23 mono frames are in.
    const int64_t analysedBytes = int64_t{8388608} * 2;
    EXPECT_GE(decodedBytes, analysedBytes);
    EXPECT_LT(decodedBytes, analysedBytes + 2 * XA_DECODER_MAX_FRAME_BYTES);
    EXPECT_NEAR(decodeCalls, 1 + 8388608 / 1152, 3);
}
