#include "TBeatAnalyser.h"
#include "SignalSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

using tempo_test::noiseBeats;
using tempo_test::SignalSource;

namespace {

SignalSource constantSource(int channels, int bytesPerSample, double value) {
    SignalSource source;
    source.channels = channels;
    source.bytesPerSample = bytesPerSample;
    source.sample = [value](int64_t, int) { return value; };
    return source;
}

// Runs the analyser over as many blocks as it holds.
double measure(SignalSource& source, int historyBits, double& quality, int sampleRateHz = 44100) {
    TBeatAnalyser analyser(source.params(historyBits, sampleRateHz));
    for (int i = 0; i < (1 << historyBits); ++i)
        analyser.GetNextSample();
    return analyser.CalcBpm(quality);
}

} // namespace

TEST(TBeatAnalyserTest, StandardParametersGiveSixteenBandsFromThirtyTwoPointBlocks) {
    SignalSource source;
    TBeatAnalyser analyser(source.params(4));
    EXPECT_EQ(analyser.BandCount(), 16);
    EXPECT_EQ(analyser.BlockTransformPoints(), 32);
    EXPECT_EQ(analyser.BandRowCount(), 16);
    EXPECT_EQ(analyser.Count(), 0);
    for (int band = 0; band < 16; ++band) {
        ASSERT_EQ(analyser.History(band).size(), 16u);
        for (int16_t value : analyser.History(band))
            EXPECT_EQ(value, 0);
    }
}

TEST(TBeatAnalyserTest, RatesBelow44100EnlargeOnlyTheBlockTransformAndTheBandRows) {
    SignalSource source;
    struct Case {
        int rateHz;
        int points;
    };
    for (Case c : {Case{22050, 64}, Case{11025, 128}, Case{8000, 256}, Case{48000, 32}, Case{1, 512}}) {
        TBeatAnalyser analyser(source.params(4, c.rateHz));
        EXPECT_EQ(analyser.BlockTransformPoints(), c.points) << c.rateHz;
        EXPECT_EQ(analyser.BandRowCount(), c.points / 2) << c.rateHz;
        EXPECT_EQ(analyser.BandCount(), 16) << c.rateHz;
        EXPECT_NEAR(analyser.BinWidthBpm(), 44100.0 / 512 / 16 * 60 / 2, 1e-12) << c.rateHz;
    }
}

TEST(TBeatAnalyserTest, BelowFortyFourKilohertzTheLargerTransformAlsoTakesUndecimatedValues) {
    // At 22050 Hz the block transform has 64 points while the decimation
    // still fills only the first 32 values (every 16th frame); values 32..63
    // are the block's own samples 32..63, as widened and left in place.
    SignalSource source;
    source.channels = 1;
    source.sample = [](int64_t frame, int) { return static_cast<double>((frame * 37) % 200 - 100) / 128.0; };
    TBeatAnalyser analyser(source.params(4, 22050));
    analyser.GetNextSample();

    std::vector<int16_t> expected(64);
    for (int i = 0; i < 64; ++i) {
        const int64_t frame = i < 32 ? i * 16 : i;
        expected[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(source.sample(frame, 0) * 32767));
    }
    TFFT(6).FFT(expected.data());
    for (int band = 0; band < 16; ++band)
        EXPECT_EQ(analyser.History(band)[0], std::abs(expected[static_cast<size_t>(band)])) << band;
    for (int band = 16; band < 32; ++band)
        EXPECT_EQ(analyser.History(band)[0], 0) << band;
}

TEST(TBeatAnalyserTest, WorkedFiguresForTwoToTheTwentyThirdFrames) {
    SignalSource source;
    TBeatAnalyser analyser(source.params(14));
    EXPECT_NEAR(analyser.BinWidthBpm(), 0.1577, 0.00005);
    int kmin = 0;
    int kmax = 0;
    ASSERT_TRUE(analyser.SearchRange(kmin, kmax));
    EXPECT_EQ(kmin, 697);
    EXPECT_EQ(kmax, 951);
}

TEST(TBeatAnalyserTest, BlockStepStoresBandMagnitudesOfTheFirstChannelEverySixteenthFrame) {
    // Frames on the decimation grid carry -0.25 in the first channel; every
    // other sample (and the whole second channel) carries something else
    // that must not reach the bands.
    SignalSource source;
    source.sample = [](int64_t frame, int channel) { return channel == 0 && frame % 16 == 0 ? -0.25 : 0.9; };
    TBeatAnalyser analyser(source.params(4));
    analyser.GetNextSample();
    EXPECT_EQ(analyser.Count(), 1);
    EXPECT_EQ(source.blocksRead, 1);
    EXPECT_EQ(analyser.History(0)[0], 8192); // |round(-0.25 * 32767)| = 8192, a constant shows in bin 0 only
    for (int band = 1; band < 16; ++band)
        EXPECT_EQ(analyser.History(band)[0], 0) << band;
    EXPECT_EQ(analyser.History(0)[1], 0);
}

TEST(TBeatAnalyserTest, TransformValuesAreScaledAndTruncatedPerBand) {
    // A cosine at 4 cycles per 32 decimated values lands in bands 4 (and 28).
    SignalSource source;
    source.channels = 1;
    source.sample = [](int64_t frame, int) { return 0.5 * std::cos(2 * M_PI * 4 * (frame / 16) / 32.0); };
    TBeatAnalyser analyser(source.params(4));
    analyser.GetNextSample();
    // 16384 * 32 / 2 / 32 = 8191.75 after scaling by 1/N, truncated.
    const int amplitude = static_cast<int>(std::lround(0.5 * 32767));
    EXPECT_NEAR(analyser.History(4)[0], amplitude / 2, 1);
    for (int band : {0, 1, 2, 3, 5, 8, 15})
        EXPECT_LE(analyser.History(band)[0], 1) << band;
}

TEST(TBeatAnalyserTest, EveryByteSampleOfAMultichannelBlockIsWidened) {
    // With two channels the decimation reads up to sample 992 of 1024, far
    // beyond the first 512 samples; all must be widened before.
    for (int channels : {1, 2, 3}) {
        SignalSource source = constantSource(channels, 1, 0.25);
        source.sample = [](int64_t, int channel) { return channel == 0 ? 0.25 : -1.0; };
        TBeatAnalyser analyser(source.params(4));
        analyser.GetNextSample();
        EXPECT_EQ(analyser.History(0)[0], 32 * 256) << channels; // round(0.25 * 127) = 32, shifted left by 8
        for (int band = 1; band < 16; ++band)
            EXPECT_EQ(analyser.History(band)[0], 0) << channels << " band " << band;
    }
}

TEST(TBeatAnalyserTest, FourByteSamplesKeepTheirUpperHalfWithoutOverwritingUnreadSamples) {
    for (int channels : {1, 2}) {
        SignalSource source;
        source.channels = channels;
        source.bytesPerSample = 4;
        source.sample = [](int64_t, int channel) { return channel == 0 ? -0.5 : 0.75; };
        TBeatAnalyser analyser(source.params(4));
        analyser.GetNextSample();
        // round(-0.5 * 2147483647) = -1073741824 -> upper 16 bits -16384.
        EXPECT_EQ(analyser.History(0)[0], 16384) << channels;
        for (int band = 1; band < 16; ++band)
            EXPECT_EQ(analyser.History(band)[0], 0) << channels << " band " << band;
    }
}

TEST(TBeatAnalyserTest, DisabledAnalyserNeitherReadsNorCounts) {
    SignalSource source = constantSource(2, 2, 0.5);
    TBeatAnalyserParams params = source.params(4);
    params.Enabled = 0;
    TBeatAnalyser analyser(params);
    for (int i = 0; i < 8; ++i)
        analyser.GetNextSample();
    EXPECT_EQ(analyser.Count(), 0);
    EXPECT_EQ(source.blocksRead, 0);
}

TEST(TBeatAnalyserTest, BlockStepsBeyondTheHistoryAreIgnored) {
    SignalSource source = constantSource(2, 2, 0.5);
    TBeatAnalyser analyser(source.params(2));
    for (int i = 0; i < 10; ++i)
        analyser.GetNextSample();
    EXPECT_EQ(analyser.Count(), 4);
    EXPECT_EQ(source.blocksRead, 4);
}

TEST(TBeatAnalyserTest, RecordsOutsideWhatTheAnalyserHandlesAreRejected) {
    SignalSource source;
    auto rejects = [&](auto change) {
        TBeatAnalyserParams params = source.params(4);
        change(params);
        EXPECT_THROW(TBeatAnalyser{params}, std::invalid_argument);
    };
    rejects([](TBeatAnalyserParams& p) { p.BytesPerSample = 3; });
    rejects([](TBeatAnalyserParams& p) { p.Channels = 0; });
    rejects([](TBeatAnalyserParams& p) { p.BlockBits = 0; });
    rejects([](TBeatAnalyserParams& p) { p.DecimationBits = 9; });
    rejects([](TBeatAnalyserParams& p) { p.DecimationBits = -1; });
    rejects([](TBeatAnalyserParams& p) { p.HistoryBits = -1; });
    rejects([](TBeatAnalyserParams& p) { p.HistoryBits = 25; });
    rejects([](TBeatAnalyserParams& p) { p.EnvelopeBits = -2; });
    rejects([](TBeatAnalyserParams& p) {
        p.HistoryBits = 24;
        p.EnvelopeBits = 8;
    });
    rejects([](TBeatAnalyserParams& p) {
        p.BlockBits = 16;
        p.DecimationBits = 15;
        p.SampleRate = 1; // a 65536-point block transform: 32768 band rows
        p.HistoryBits = 20;
    });
}

// Silence used to give the middle bin of the range with full quality: a
// confident tempo for a track without a beat.
TEST(TBeatAnalyserTest, SilenceAndLevelsBelowTheThresholdAreNotMeasured) {
    SignalSource source;
    for (int level : {0, TBeatAnalyser::kSilenceLevel - 1}) {
        TBeatAnalyserParams params = source.params(14);
        static int s_level;
        s_level = level;
        params.ReadBlock = [](void* destination, void*) {
            auto* samples = static_cast<int16_t*>(destination);
            for (int i = 0; i < 512 * 2; ++i)
                samples[i] = static_cast<int16_t>(i % 64 < 2 ? s_level : 0);
        };
        TBeatAnalyser analyser(params);
        for (int i = 0; i < 1 << 14; ++i)
            analyser.GetNextSample();
        double quality = -1;
        EXPECT_EQ(analyser.CalcBpm(quality), 0) << level;
        EXPECT_EQ(quality, 0) << level;
        EXPECT_EQ(analyser.PeakLevel(), level);
    }
}

TEST(TBeatAnalyserTest, SearchRangeOutsideTheEnvelopeSpectrumMeasuresNothing) {
    // A steady level, not silence: silence measures nothing whatever the range.
    SignalSource source = constantSource(2, 2, 0.5);
    auto bpmFor = [&](int historyBits, double minBpm, double maxBpm, double& quality) {
        TBeatAnalyserParams params = source.params(historyBits);
        params.MinBpm = minBpm;
        params.MaxBpm = maxBpm;
        TBeatAnalyser analyser(params);
        for (int i = 0; i < 4; ++i)
            analyser.GetNextSample();
        return analyser.CalcBpm(quality);
    };
    double quality = -1;
    EXPECT_EQ(bpmFor(4, 110, 150, quality), 0); // M/2 = 2 bins only
    EXPECT_EQ(quality, 0);
    quality = -1;
    EXPECT_EQ(bpmFor(14, 0.01, 150, quality), 0); // kmin 0 has no lower neighbour
    EXPECT_EQ(quality, 0);
    quality = -1;
    EXPECT_EQ(bpmFor(14, 110, 1000, quality), 0); // kmax + 1 past M/2
    EXPECT_EQ(quality, 0);
    EXPECT_EQ(bpmFor(14, NAN, 150, quality), 0);
    EXPECT_EQ(bpmFor(1, 110, 150, quality), 0);
    EXPECT_EQ(quality, 0);
    EXPECT_GT(bpmFor(14, 110, 150, quality), 0);
}

TEST(TBeatAnalyserTest, ConsensusOfAgreeingBandsIsTheirPlainMean) {
    std::vector<double> estimates;
    double sum = 0;
    for (int i = 0; i < 16; ++i) {
        estimates.push_back(120.0 + 0.01 * i);
        sum += estimates.back();
    }
    int remaining = 0;
    EXPECT_DOUBLE_EQ(TBeatAnalyser::Consensus(estimates, 0.2, remaining), sum / 16);
    EXPECT_EQ(remaining, 16);
}

TEST(TBeatAnalyserTest, ConsensusRemovesTheOneBandThatIsFarOff) {
    std::vector<double> estimates(16, 128.0);
    estimates[5] = 140.0;
    int remaining = 0;
    EXPECT_DOUBLE_EQ(TBeatAnalyser::Consensus(estimates, 0.2, remaining), 128.0);
    EXPECT_EQ(remaining, 15);
}

TEST(TBeatAnalyserTest, ConsensusThatNeverAgreesKeepsOneBandRemovingTiesAtTheLowestPosition) {
    // An even spread is symmetric around its mean at every step, so each
    // removal is a tie between both ends that the lowest position loses.
    std::vector<double> estimates;
    for (int i = 0; i < 16; ++i)
        estimates.push_back(100.0 + 10 * i);
    int remaining = 0;
    EXPECT_DOUBLE_EQ(TBeatAnalyser::Consensus(estimates, 0.2, remaining), 250.0);
    EXPECT_EQ(remaining, 1);
}

TEST(TBeatAnalyserTest, ConsensusStopsAtTheToleranceAndRemovesInOrderOfDistance) {
    // Mean 131.25: 150 is farthest and goes first, then 110 (mean now 125).
    std::vector<double> estimates{125.0, 150.0, 125.1, 110.0, 124.9, 125.0};
    int remaining = 0;
    const double bpm = TBeatAnalyser::Consensus(estimates, 0.2, remaining);
    EXPECT_EQ(remaining, 4);
    EXPECT_DOUBLE_EQ(bpm, (125.0 + 125.1 + 124.9 + 125.0) / 4);
}

TEST(TBeatAnalyserTest, EstimateLeavesTheHistoriesUnchangedSoItMayBeRepeated) {
    SignalSource source;
    source.sample = noiseBeats(128.0);
    TBeatAnalyser analyser(source.params(12));
    for (int i = 0; i < 4096; ++i)
        analyser.GetNextSample();
    const std::vector<int16_t> history = analyser.History(3);
    double first = 0;
    double second = 0;
    const double bpm = analyser.CalcBpm(first);
    EXPECT_EQ(analyser.History(3), history);
    EXPECT_NEAR(analyser.CalcBpm(second), bpm, 0.01);
    EXPECT_EQ(second, first);
}

TEST(TBeatAnalyserTest, BroadbandBeatsAreMeasuredWithinHalfABpm) {
    for (double bpm : {112.0, 128.0, 137.5, 146.0}) {
        SignalSource source;
        source.channels = 1;
        source.sample = noiseBeats(bpm);
        double quality = 0;
        EXPECT_NEAR(measure(source, 14, quality), bpm, 0.5) << bpm;
        EXPECT_GE(quality, 0.5) << bpm;
    }
}
