#include "AnalysisRun.h"
#include "WavReader.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

using test_support::TemporaryFolder;

namespace {

// A canonical PCM WAV header followed by the given sample bytes.
std::string wavFile(int channels, int bitsPerSample, uint32_t sampleRateHz, const std::string& samples,
                    uint32_t claimedDataBytes = UINT32_MAX, uint16_t formatCode = 1) {
    auto le = [](uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xff);
        return out;
    };
    const uint32_t dataBytes =
        claimedDataBytes == UINT32_MAX ? static_cast<uint32_t>(samples.size()) : claimedDataBytes;
    const uint32_t blockAlign = static_cast<uint32_t>(channels * bitsPerSample / 8);
    return "RIFF" + le(36 + dataBytes, 4) + "WAVEfmt " + le(16, 4) + le(formatCode, 2) +
           le(static_cast<uint32_t>(channels), 2) + le(sampleRateHz, 4) + le(sampleRateHz * blockAlign, 4) +
           le(blockAlign, 2) + le(static_cast<uint32_t>(bitsPerSample), 2) + "data" + le(dataBytes, 4) + samples;
}

// Noise bursts with a 40 ms decay on every beat (see SignalSource.h), as
// interleaved samples of the given width; 8-bit samples are unsigned.
std::string beatSamples(double bpm, double seconds, int channels, int bitsPerSample) {
    const int rate = 44100;
    const auto frames = static_cast<int64_t>(seconds * rate);
    std::string out;
    out.reserve(static_cast<size_t>(frames * channels * bitsPerSample / 8));
    const double beatFrames = 60.0 / bpm * rate;
    for (int64_t frame = 0; frame < frames; ++frame) {
        const double intoBeat = std::fmod(static_cast<double>(frame), beatFrames);
        uint32_t x = static_cast<uint32_t>(frame) * 2654435761u;
        x ^= x >> 15;
        x *= 2246822519u;
        x ^= x >> 13;
        const double noise = static_cast<double>(x) / 4294967295.0 * 2 - 1;
        const double value = intoBeat > 0.24 * rate ? 0.0 : 0.9 * noise * std::exp(-intoBeat / (0.04 * rate));
        for (int channel = 0; channel < channels; ++channel) {
            if (bitsPerSample == 8) {
                out += static_cast<char>(static_cast<uint8_t>(128 + std::lround(value * 127)));
            } else {
                const int64_t scaled = std::llround(value * (bitsPerSample == 16 ? 32767.0 : 2147483647.0));
                for (int i = 0; i < bitsPerSample / 8; ++i)
                    out += static_cast<char>((scaled >> (8 * i)) & 0xff);
            }
        }
    }
    return out;
}

struct Outcome {
    tempo::Measurement measurement;
    int handedOver = 0;
};

Outcome measureWav(const std::string& path, double* progress = nullptr) {
    Outcome outcome;
    outcome.measurement = tempo::measureWavFile(path.c_str(), 110, 150, progress, [&] {
        ++outcome.handedOver;
        return tempo::Measurement{99, 0.5};
    });
    return outcome;
}

} // namespace

TEST(HistoryBitsTest, FollowTheFloatingPointLogarithmLiterally) {
    EXPECT_EQ(tempo::historyBitsForFrames(8388608), 14);  // 2^23
    EXPECT_EQ(tempo::historyBitsForFrames(10539900), 14); // a 4-minute MP3: 239 s at 44100 Hz
    EXPECT_EQ(tempo::historyBitsForFrames(2048), 2);
    // ln(2^12) / ln 2 comes out just below 12 in 64-bit floating point.
    EXPECT_EQ(tempo::historyBitsForFrames(4096), 2);
    EXPECT_EQ(tempo::historyBitsForFrames(16777216), 14);
    EXPECT_EQ(tempo::historyBitsForFrames(0), -1);
    EXPECT_EQ(tempo::historyBitsForFrames(-44100), -1);
}

TEST(HistoryBitsTest, StandardParametersRejectStreamsTooShortOrTooLong) {
    TBeatAnalyserParams params{};
    EXPECT_FALSE(tempo::standardParams(2047, 110, 150, params));
    EXPECT_FALSE(tempo::standardParams(-1, 110, 150, params));
    EXPECT_FALSE(tempo::standardParams(int64_t{1} << 40, 110, 150, params));
    ASSERT_TRUE(tempo::standardParams(10539900, 110, 150, params));
    // Unary plus copies each packed field before gtest takes a reference.
    EXPECT_EQ(+params.HistoryBits, 14);
    EXPECT_EQ(+params.BlockBits, 9);
    EXPECT_EQ(+params.DecimationBits, 4);
    EXPECT_EQ(+params.EnvelopeBits, 2);
    EXPECT_EQ(+params.Enabled, 1);
    EXPECT_EQ(+params.SmoothThreshold, 0.015);
    EXPECT_EQ(+params.MaxSmoothPasses, 30);
    EXPECT_EQ(+params.ConsensusTolerance, 0.2);
    EXPECT_EQ(+params.MinBpm, 110);
    EXPECT_EQ(+params.MaxBpm, 150);
}

TEST(WavMeasurementTest, BeatsAreMeasuredWithinHalfABpmAtEverySampleWidth) {
    TemporaryFolder folder;
    for (int bits : {8, 16, 32}) {
        const std::string path = folder.file("beats" + std::to_string(bits) + ".wav");
        test_support::writeFile(path, wavFile(2, bits, 44100, beatSamples(125, 50, 2, bits)));
        double progress = -1;
        const Outcome outcome = measureWav(path, &progress);
        EXPECT_EQ(outcome.handedOver, 0);
        EXPECT_NEAR(outcome.measurement.bpm, 125, 0.5) << bits;
        EXPECT_GT(outcome.measurement.quality, 0.5) << bits;
        EXPECT_EQ(progress, 1.0) << bits;
    }
}

TEST(WavMeasurementTest, UnsignedEightBitSilenceIsSilence) {
    // 0x80 is the zero line of 8-bit WAV samples; read as signed bytes it
    // would be a full-scale negative level.
    TemporaryFolder folder;
    const std::string path = folder.file("silence8.wav");
    test_support::writeFile(path, wavFile(1, 8, 44100, std::string(1 << 16, '\x80')));
    const std::string zeros = folder.file("silence16.wav");
    test_support::writeFile(zeros, wavFile(1, 16, 44100, std::string(1 << 17, '\0')));
    const Outcome eightBit = measureWav(path);
    const Outcome sixteenBit = measureWav(zeros);
    // Read as full-scale levels it would be measured; silence is not.
    EXPECT_EQ(eightBit.measurement.bpm, 0);
    EXPECT_EQ(eightBit.measurement.quality, 0);
    EXPECT_EQ(sixteenBit.measurement.bpm, 0);
    EXPECT_EQ(sixteenBit.measurement.quality, 0);
}

TEST(WavMeasurementTest, NonCanonicalFilesGoToTheEngine) {
    TemporaryFolder folder;
    const std::string samples(1 << 16, '\0');
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string badTag = wavFile(2, 16, 44100, samples);
    badTag.replace(36, 4, "LIST"); // another chunk before the data
    std::string lowerCase = wavFile(2, 16, 44100, samples);
    lowerCase.replace(0, 4, "riff");
    const Case cases[] = {
        {"float.wav", wavFile(2, 32, 44100, samples, UINT32_MAX, 3)},
        {"extensible.wav", wavFile(2, 16, 44100, samples, UINT32_MAX, 0xfffe)},
        {"list.wav", badTag},
        {"lower.wav", lowerCase},
        {"24bit.wav", wavFile(2, 24, 44100, samples)},
        {"nochannels.wav", wavFile(0, 16, 44100, samples)},
        {"garbage.mp3", std::string(4096, '\x5a')},
    };
    for (const Case& c : cases) {
        const std::string path = folder.file(c.name);
        test_support::writeFile(path, c.bytes);
        const Outcome outcome = measureWav(path);
        EXPECT_EQ(outcome.handedOver, 1) << c.name;
        EXPECT_EQ(outcome.measurement.bpm, 99) << c.name;
    }
}

TEST(WavMeasurementTest, FilesThatCannotBeReadMeasureNothingAndStayHere) {
    TemporaryFolder folder;
    const std::string fullData = beatSamples(120, 3, 2, 16);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty.wav", ""},
        {"header-cut.wav", wavFile(2, 16, 44100, "").substr(0, 30)},
        // The header promises three seconds, the file holds one.
        {"data-cut.wav", wavFile(2, 16, 44100, fullData.substr(0, fullData.size() / 3), uint32_t(fullData.size()))},
        {"too-short.wav", wavFile(2, 16, 44100, std::string(2047 * 4, '\0'))},
    };
    for (const Case& c : cases) {
        const std::string path = folder.file(c.name);
        test_support::writeFile(path, c.bytes);
        double progress = -1;
        const Outcome outcome = measureWav(path, &progress);
        EXPECT_EQ(outcome.handedOver, 0) << c.name;
        EXPECT_EQ(outcome.measurement.bpm, 0) << c.name;
        EXPECT_EQ(outcome.measurement.quality, 0) << c.name;
    }
    const Outcome missing = measureWav(folder.file("missing.wav"));
    EXPECT_EQ(missing.handedOver, 0);
    EXPECT_EQ(missing.measurement.quality, 0);
    EXPECT_EQ(tempo::measureWavFile(nullptr, 110, 150, nullptr, nullptr).quality, 0);
}

TEST(WavMeasurementTest, ReadsOnlyTheOpeningPowerOfTwoFramesAfterTheHeader) {
    // 132300 frames promised: 2^17 = 131072 of them are analysed (256 blocks),
    // so replacing every later frame with garbage changes nothing.
    TemporaryFolder folder;
    const std::string beats = beatSamples(120, 3, 1, 16);
    ASSERT_EQ(beats.size(), 132300u * 2);
    std::string garbled = beats;
    for (size_t i = 131072 * 2; i < garbled.size(); ++i)
        garbled[i] = static_cast<char>(i * 7919 % 251);
    const std::string clean = folder.file("clean.wav");
    const std::string dirty = folder.file("dirty.wav");
    test_support::writeFile(clean, wavFile(1, 16, 44100, beats));
    test_support::writeFile(dirty, wavFile(1, 16, 44100, garbled));
    const Outcome a = measureWav(clean);
    const Outcome b = measureWav(dirty);
    ASSERT_GT(a.measurement.quality, 0);
    EXPECT_EQ(a.measurement.bpm, b.measurement.bpm);
    EXPECT_EQ(a.measurement.quality, b.measurement.quality);

    // One garbled frame inside the span does change the result.
    garbled = beats;
    for (size_t i = 131071 * 2 - 4000; i < 131071 * 2; ++i)
        garbled[i] = static_cast<char>(i * 7919 % 251);
    test_support::writeFile(dirty, wavFile(1, 16, 44100, garbled));
    const Outcome c = measureWav(dirty);
    EXPECT_TRUE(c.measurement.bpm != a.measurement.bpm || c.measurement.quality != a.measurement.quality);
}

TEST(WavMeasurementTest, GarbageInCanonicalHeadersNeverCrashes) {
    // Canonical tags with random field values over a little data: every
    // outcome is either nothing measured or a hand-over, never a crash.
    TemporaryFolder folder;
    const std::string path = folder.file("random.wav");
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state;
    };
    const uint16_t widths[] = {0, 1, 8, 16, 24, 32, 64, 65535};
    for (int round = 0; round < 200; ++round) {
        const uint32_t fields = next();
        const int channels = static_cast<int>(fields % 4 == 0 ? next() % 65536 : fields % 8);
        const uint16_t bits = widths[next() % 8];
        const uint32_t rate = fields % 3 == 0 ? 0 : next();
        const uint32_t dataBytes = next() % 2 == 0 ? next() : next() % 300000;
        std::string samples(next() % 200000, '\0');
        for (char& c : samples)
            c = static_cast<char>(next() >> 24);
        std::string bytes = wavFile(1, 16, 44100, samples, dataBytes);
        bytes[22] = static_cast<char>(channels & 0xff);
        bytes[23] = static_cast<char>(channels >> 8);
        bytes[34] = static_cast<char>(bits & 0xff);
        bytes[35] = static_cast<char>(bits >> 8);
        for (int i = 0; i < 4; ++i)
            bytes[static_cast<size_t>(24 + i)] = static_cast<char>(rate >> (8 * i));
        test_support::writeFile(path, bytes);
        const Outcome outcome = measureWav(path);
        if (outcome.handedOver == 0 && outcome.measurement.quality > 0) {
            EXPECT_GT(outcome.measurement.bpm, 0);
            EXPECT_LE(outcome.measurement.quality, 1.0);
        }
    }
}
