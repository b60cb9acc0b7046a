#include "Resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using xaudio::Resampler;

constexpr double kRate = 44100.0;

// A stereo sine of `hertz` on both channels (the right one a quarter turn on).
std::vector<float> sine(double hertz, long frames) {
    std::vector<float> samples(static_cast<size_t>(frames) * 2);
    for (long i = 0; i < frames; ++i) {
        const double angle = 2 * M_PI * hertz * static_cast<double>(i) / kRate;
        samples[static_cast<size_t>(2 * i)] = static_cast<float>(0.5 * std::sin(angle));
        samples[static_cast<size_t>(2 * i + 1)] = static_cast<float>(0.5 * std::cos(angle));
    }
    return samples;
}

// Runs the whole input through in calls of the feeder's size, the input
// ending with the last call.
std::vector<float> resample(const std::vector<float>& input, double ratio) {
    Resampler resampler;
    const long frames = static_cast<long>(input.size() / 2);
    std::vector<float> output(static_cast<size_t>(static_cast<double>(frames) * ratio + 1024) * 2);
    long used = 0;
    long generated = 0;
    for (;;) {
        Resampler::Block block;
        block.input = input.data() + used * 2;
        block.inputFrames = std::min(frames - used, 400L);
        block.output = output.data() + generated * 2;
        block.outputFrames = std::min(294L, static_cast<long>(output.size() / 2) - generated);
        block.ratio = ratio;
        block.endOfInput = used + block.inputFrames == frames;
        resampler.process(block);
        used += block.inputUsed;
        generated += block.outputGenerated;
        if (block.outputGenerated == 0 && block.inputUsed == 0)
            break;
    }
    output.resize(static_cast<size_t>(generated) * 2);
    return output;
}

// Signal to error of the output against the ideal sine at the new speed
// (output frame k lies at input frame k / ratio), away from both ends.
double signalToErrorDb(const std::vector<float>& output, double hertz, double ratio) {
    double signal = 0;
    double error = 0;
    const long frames = static_cast<long>(output.size() / 2);
    for (long k = 4000; k < frames - 4000; ++k) {
        const double angle = 2 * M_PI * hertz * (static_cast<double>(k) / ratio) / kRate;
        for (int channel = 0; channel < 2; ++channel) {
            const double ideal = 0.5 * (channel == 0 ? std::sin(angle) : std::cos(angle));
            const double difference = output[static_cast<size_t>(2 * k + channel)] - ideal;
            signal += ideal * ideal;
            error += difference * difference;
        }
    }
    return 10 * std::log10(signal / error);
}

double levelDb(const std::vector<float>& output) {
    double power = 0;
    const long frames = static_cast<long>(output.size() / 2);
    for (long k = 4000; k < frames - 4000; ++k)
        power += output[static_cast<size_t>(2 * k)] * output[static_cast<size_t>(2 * k)];
    return 10 * std::log10(power / static_cast<double>(frames - 8000) / 0.125);
}

TEST(ResamplerTest, TonesInTheBandComeOutAtTheNewSpeedAndNothingElse) {
    // Faster (a deck at +8 %, a 48 kHz file) and slower, low and high tones.
    for (double ratio : {1.0 / 1.08, 44100.0 / 48000.0, 1.0 / 1.5, 1.25, 2.0}) {
        for (double hertz : {1000.0, 12000.0}) {
            if (hertz / ratio > 0.8 * kRate / 2)
                continue;
            const std::vector<float> output = resample(sine(hertz, 44100), ratio);
            EXPECT_GT(signalToErrorDb(output, hertz, ratio), 80.0) << hertz << " Hz at ratio " << ratio;
            EXPECT_NEAR(static_cast<double>(output.size() / 2), 44100 * ratio, 2.0) << "ratio " << ratio;
        }
    }
}

TEST(ResamplerTest, WhatWouldFoldBackBelowTheNewNyquistIsRemoved) {
    // At +8 % a 20.5 kHz tone would play at 22.1 kHz, above what the output
    // can hold, and come back as 21.9 kHz; at four times the speed a 6 kHz
    // one would come back at 20.1 kHz.
    EXPECT_LT(levelDb(resample(sine(20500, 44100), 1.0 / 1.08)), -80.0);
    EXPECT_LT(levelDb(resample(sine(6000, 44100), 0.25)), -80.0);
}

TEST(ResamplerTest, ASpeedChangeGlidesWithoutAJump) {
    // A 440 Hz tone resampled in calls whose ratio steps from normal speed
    // to +8 % and back: no output frame may differ from its neighbour by
    // more than the tone itself can change in one frame at the faster speed.
    const std::vector<float> input = sine(440, 44100);
    Resampler resampler;
    std::vector<float> output(2 * 60000);
    long used = 0;
    long generated = 0;
    int call = 0;
    while (used < 40000) {
        Resampler::Block block;
        block.input = input.data() + used * 2;
        block.inputFrames = 200;
        block.output = output.data() + generated * 2;
        block.outputFrames = 128;
        block.ratio = (call++ / 20) % 2 == 0 ? 1.0 : 1.0 / 1.08;
        resampler.process(block);
        used += block.inputUsed;
        generated += block.outputGenerated;
    }
    const double largestStep = 0.5 * 2 * M_PI * 440 * 1.08 / kRate * 1.05;
    for (long k = 200; k < generated; ++k)
        ASSERT_LT(std::fabs(output[static_cast<size_t>(2 * k)] - output[static_cast<size_t>(2 * k - 2)]), largestStep)
            << "at frame " << k;
}

} // namespace
