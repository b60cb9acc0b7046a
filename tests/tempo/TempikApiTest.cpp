// The library as the application sees it: libtempik.so through its C
// interface, with the real engine library beside it.
#include "DrumLoop.h"
#include "platform/ApplicationFolder.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "tempik.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

using test_support::TemporaryFolder;

namespace {

struct FileResult {
    double bpm = -1;
    double quality = -1;
    double progress = -1;
};

FileResult viaEngine(const std::string& path) {
    FileResult r;
    r.bpm = BeatGetBpmFromFileXAudio(path.c_str(), 110, 150, &r.progress, &r.quality);
    return r;
}

FileResult viaFile(const std::string& path) {
    FileResult r;
    r.bpm = BeatGetBpmFromFile(path.c_str(), 110, 150, &r.progress, &r.quality);
    return r;
}

void silentBlock(void* destination, void*) {
    std::memset(destination, 0, 512 * 2 * 2);
}

TBeatAnalyserParams silentParams() {
    TBeatAnalyserParams params{};
    params.ReadBlock = silentBlock;
    params.SampleRate = 44100;
    params.Channels = 2;
    params.BytesPerSample = 2;
    params.BlockBits = 9;
    params.DecimationBits = 4;
    params.HistoryBits = 14;
    params.EnvelopeBits = 2;
    params.Enabled = 1;
    params.SmoothThreshold = 0.015;
    params.MaxSmoothPasses = 30;
    params.ConsensusTolerance = 0.2;
    params.MinBpm = 110;
    params.MaxBpm = 150;
    return params;
}

} // namespace

TEST(TempikApiTest, ExportsExactlyTheTenFunctions) {
    const std::string library = platform::applicationFolder() + "libtempik.so";
    std::FILE* pipe = popen(("nm -D --defined-only '" + library + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char address[64];
        char type[8];
        char name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3)
            names.insert(name);
    }
    EXPECT_EQ(pclose(pipe), 0);
    const std::set<std::string> expected{"BeatGetBpmFromFileXAudio",
                                         "BeatGetBpmFromFile",
                                         "IsXAudioAvailable",
                                         "FFTObjectCreate",
                                         "FFTObjectFFT",
                                         "FFTObjectFree",
                                         "BeatAnalyserObjectCreate",
                                         "BeatAnalyserObjectGetNextSample",
                                         "BeatAnalyserObjectCalcBpm",
                                         "BeatAnalyserObjectFree"};
    EXPECT_EQ(names, expected);
}

TEST(TempikApiTest, TransformObjectsWorkAndRefuseBadSizes) {
    TFFT* fft = FFTObjectCreate(3);
    ASSERT_NE(fft, nullptr);
    int16_t values[8] = {-1001, -1001, -1001, -1001, -1001, -1001, -1001, -1001};
    FFTObjectFFT(fft, values);
    EXPECT_EQ(values[0], -1001);
    for (int k = 1; k < 8; ++k)
        EXPECT_EQ(values[k], 0) << k;
    FFTObjectFFT(fft, nullptr);
    FFTObjectFFT(nullptr, values);
    FFTObjectFree(fft);
    FFTObjectFree(nullptr);
    EXPECT_EQ(FFTObjectCreate(-1), nullptr);
    EXPECT_EQ(FFTObjectCreate(25), nullptr);
}

TEST(TempikApiTest, AnalyserObjectTakesItsRecordByValue) {
    TBeatAnalyserParams params = silentParams();
    TBeatAnalyser* analyser = BeatAnalyserObjectCreate(params);
    ASSERT_NE(analyser, nullptr);
    for (int i = 0; i < 1 << 14; ++i)
        BeatAnalyserObjectGetNextSample(analyser);
    double quality = -1;
    // Silence has no tempo (it used to measure as 824 bins with full quality).
    EXPECT_EQ(BeatAnalyserObjectCalcBpm(analyser, &quality), 0);
    EXPECT_EQ(quality, 0);
    EXPECT_EQ(BeatAnalyserObjectCalcBpm(analyser, nullptr), 0);
    BeatAnalyserObjectFree(analyser);

    params = silentParams();
    params.MaxBpm = 1000; // past the transformed row
    analyser = BeatAnalyserObjectCreate(params);
    quality = -1;
    EXPECT_EQ(BeatAnalyserObjectCalcBpm(analyser, &quality), 0);
    EXPECT_EQ(quality, 0);
    BeatAnalyserObjectFree(analyser);
}

TEST(TempikApiTest, AnalyserMisuseIsHarmless) {
    TBeatAnalyserParams params = silentParams();
    params.BytesPerSample = 3;
    EXPECT_EQ(BeatAnalyserObjectCreate(params), nullptr);
    params = silentParams();
    params.HistoryBits = 40;
    EXPECT_EQ(BeatAnalyserObjectCreate(params), nullptr);
    params = silentParams();
    params.ReadBlock = nullptr;
    TBeatAnalyser* analyser = BeatAnalyserObjectCreate(params);
    ASSERT_NE(analyser, nullptr);
    BeatAnalyserObjectGetNextSample(analyser);
    BeatAnalyserObjectFree(analyser);

    BeatAnalyserObjectGetNextSample(nullptr);
    double quality = -1;
    EXPECT_EQ(BeatAnalyserObjectCalcBpm(nullptr, &quality), 0);
    EXPECT_EQ(quality, 0);
    EXPECT_EQ(BeatAnalyserObjectCalcBpm(nullptr, nullptr), 0);
    BeatAnalyserObjectFree(nullptr);
}

namespace {
void throwingBlock(void* destination, void* userData) {
    int& calls = *static_cast<int*>(userData);
    std::memset(destination, calls % 7 == 0 ? 100 : 0, 512 * 2 * 2);
    if (++calls == 100)
        throw std::runtime_error("the caller's source failed");
}
} // namespace

TEST(TempikApiTest, AnExceptionFromTheReadProcedureStaysInsideAndAbandonsTheMeasurement) {
    int calls = 0;
    TBeatAnalyserParams params = silentParams();
    params.ReadBlock = throwingBlock;
    params.UserData = &calls;
    TBeatAnalyser* analyser = BeatAnalyserObjectCreate(params);
    ASSERT_NE(analyser, nullptr);
    for (int i = 0; i < 1 << 14; ++i)
        BeatAnalyserObjectGetNextSample(analyser);
    EXPECT_EQ(calls, 100) << "no block is read after the failure";
    double quality = -1;
    EXPECT_EQ(BeatAnalyserObjectCalcBpm(analyser, &quality), 0);
    EXPECT_EQ(quality, 0);
    BeatAnalyserObjectFree(analyser);
}

TEST(TempikApiTest, ARecordAskingForMoreThan256MiBIsRefused) {
    TBeatAnalyserParams params = silentParams();
    params.HistoryBits = 23; // 16 band rows of 8 Mi blocks alone take 256 MiB
    EXPECT_EQ(BeatAnalyserObjectCreate(params), nullptr);
    params.HistoryBits = 18; // about 15 MiB in all
    TBeatAnalyser* analyser = BeatAnalyserObjectCreate(params);
    EXPECT_NE(analyser, nullptr);
    BeatAnalyserObjectFree(analyser);
}

// A silent track (or one that decodes to nothing) is not measured, neither
// read directly nor through the engine.
TEST(TempikApiTest, SilentFilesMeasureAsNotMeasured) {
    ASSERT_TRUE(IsXAudioAvailable());
    TemporaryFolder folder;
    const std::string wav = folder.file("silent.wav");
    const std::string mp3 = folder.file("silent.mp3");
    ASSERT_EQ(test_support::runCommand("sox -n -r 44100 -c 2 -b 16 '" + wav + "' trim 0 30"), 0);
    ASSERT_EQ(test_support::runCommand("lame --quiet -b 128 '" + wav + "' '" + mp3 + "'"), 0);
    for (const FileResult& result : {viaFile(wav), viaEngine(mp3), viaFile(mp3)}) {
        EXPECT_EQ(result.bpm, 0);
        EXPECT_EQ(result.quality, 0);
    }
}

TEST(TempikApiTest, FilesThatCannotBeMeasuredGiveZeroWithQualityZero) {
    TemporaryFolder folder;
    std::string mp3 = folder.file("tone.mp3");
    test_support::makeToneMp3(mp3, {.seconds = 6});
    const std::string whole = test_support::readFile(mp3);
    test_support::writeFile(folder.file("empty.mp3"), "");
    test_support::writeFile(folder.file("cut.mp3"), whole.substr(0, 900));
    test_support::writeFile(folder.file("garbage.mp3"), std::string(100000, '\x17'));
    test_support::writeFile(folder.file("garbage.wav"), "RIFF\x10\0\0\0WAVEfmt " + std::string(3000, '\xff'));
    test_support::writeFile(folder.file("short.wav"), "RIFF");
    for (const std::string name :
         {"missing.mp3", "empty.mp3", "cut.mp3", "garbage.mp3", "garbage.wav", "short.wav", ""}) {
        const std::string path = name.empty() ? folder.path() : folder.file(name);
        const FileResult engine = viaEngine(path);
        EXPECT_EQ(engine.bpm, 0) << name;
        EXPECT_EQ(engine.quality, 0) << name;
        EXPECT_EQ(engine.progress, -1) << name;
        const FileResult file = viaFile(path);
        EXPECT_EQ(file.bpm, 0) << name;
        EXPECT_EQ(file.quality, 0) << name;
    }
    double quality = -1;
    EXPECT_EQ(BeatGetBpmFromFileXAudio(nullptr, 110, 150, nullptr, &quality), 0);
    EXPECT_EQ(quality, 0);
    quality = -1;
    EXPECT_EQ(BeatGetBpmFromFile(nullptr, 110, 150, nullptr, &quality), 0);
    EXPECT_EQ(quality, 0);
    EXPECT_EQ(BeatGetBpmFromFile(folder.file("missing.wav").c_str(), 110, 150, nullptr, nullptr), 0);
}

TEST(TempikApiTest, EngineIsBoundWhenTheLibraryLoads) {
    EXPECT_TRUE(IsXAudioAvailable());
}

// Files of 100 s give 2^22 analysed frames and envelope bins of 0.32 BPM;
// with 40 s files (bins of 1.26 BPM) sharp beats alias into the search range
// at some tempos, so the tempos here are no special picks.
TEST(TempikApiTest, ClickTrackMp3IsMeasuredThroughTheEngineWithinHalfABpm) {
    ASSERT_TRUE(IsXAudioAvailable());
    TemporaryFolder folder;
    for (double bpm : {113.0, 128.0, 146.0}) {
        const std::string path = folder.file("click.mp3");
        test_support::makeClickTrackMp3(path, {.bpm = bpm, .seconds = 100});
        const FileResult engine = viaEngine(path);
        EXPECT_NEAR(engine.bpm, bpm, 0.5);
        EXPECT_GT(engine.quality, 0.5);
        EXPECT_EQ(engine.progress, 1.0);
        if (bpm == 113.0) {
            // Not a WAV file: handed to the engine path, with the same result.
            const FileResult file = viaFile(path);
            EXPECT_EQ(file.bpm, engine.bpm);
            EXPECT_EQ(file.quality, engine.quality);
        }
    }
}

TEST(TempikApiTest, DrumLoopMp3IsMeasuredThroughTheEngineWithinHalfABpm) {
    ASSERT_TRUE(IsXAudioAvailable());
    TemporaryFolder folder;
    for (double bpm : {119.0, 143.0}) {
        const std::string path = folder.file("loop.mp3");
        tempo_test::makeDrumLoop(path, bpm, 100);
        const FileResult engine = viaEngine(path);
        EXPECT_NEAR(engine.bpm, bpm, 0.5);
        EXPECT_GT(engine.quality, 0.5);
        EXPECT_EQ(engine.progress, 1.0);
    }
}

TEST(TempikApiTest, DrumLoopInEveryFormatTheEngineDecodesIsMeasuredWithinHalfABpm) {
    ASSERT_TRUE(IsXAudioAvailable());
    TemporaryFolder folder;
    constexpr double kBpm = 127.0;
    const std::string wav = folder.file("loop.wav");
    tempo_test::makeDrumLoop(wav, kBpm, 100);
    using test_support::Encoding;
    for (const auto& [encoding, name] :
         {std::pair{Encoding::Wav, "loop-copy.wav"}, std::pair{Encoding::Flac, "loop.flac"},
          std::pair{Encoding::Vorbis, "loop.ogg"}, std::pair{Encoding::Opus, "loop.opus"}}) {
        const std::string path = folder.file(name);
        test_support::encodeWav(wav, path, encoding);
        const FileResult engine = viaEngine(path);
        EXPECT_NEAR(engine.bpm, kBpm, 0.5) << name;
        EXPECT_GT(engine.quality, 0.5) << name;
        EXPECT_EQ(engine.progress, 1.0) << name;
    }
}

TEST(TempikApiTest, ATempoReadsTheSameAtEverySampleRate) {
    ASSERT_TRUE(IsXAudioAvailable());
    TemporaryFolder folder;
    constexpr double kBpm = 127.0;
    const std::string wav = folder.file("loop.wav");
    tempo_test::makeDrumLoop(wav, kBpm, 100);
    for (const int rate : {22050, 32000, 48000}) {
        const std::string resampled = folder.file("loop" + std::to_string(rate) + ".wav");
        ASSERT_EQ(test_support::runCommand("sox " + wav + " -r " + std::to_string(rate) + " " + resampled), 0);
        EXPECT_NEAR(viaFile(resampled).bpm, kBpm, 0.5) << rate << " Hz, read directly";
        EXPECT_NEAR(viaEngine(resampled).bpm, kBpm, 0.5) << rate << " Hz, through the engine";
    }
}

TEST(TempikApiTest, DrumLoopWavIsReadDirectly) {
    TemporaryFolder folder;
    const std::string path = folder.file("loop.wav");
    tempo_test::makeDrumLoop(path, 131, 100);
    const FileResult file = viaFile(path);
    EXPECT_NEAR(file.bpm, 131, 0.5);
    EXPECT_GT(file.quality, 0.5);
    EXPECT_EQ(file.progress, 1.0);
}

TEST(TempikApiTest, ProgressCanBeWatchedFromAnotherThread) {
    ASSERT_TRUE(IsXAudioAvailable());
    TemporaryFolder folder;
    const std::string path = folder.file("loop.mp3");
    tempo_test::makeDrumLoop(path, 124, 30);
    double progress = 0;
    std::atomic<bool> done{false};
    double highest = 0;
    bool monotonic = true;
    std::thread watcher([&] {
        while (!done.load()) {
            const double now = std::atomic_ref<double>(progress).load(std::memory_order_relaxed);
            monotonic = monotonic && now >= highest && now <= 1.0;
            highest = std::max(highest, now);
            std::this_thread::yield();
        }
    });
    double quality = 0;
    const double bpm = BeatGetBpmFromFileXAudio(path.c_str(), 110, 150, &progress, &quality);
    done = true;
    watcher.join();
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(progress, 1.0);
    EXPECT_NEAR(bpm, 124, 0.5);
}
