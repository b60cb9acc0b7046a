#include "xaudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::vector<int8_t> sine(double cyclesPerBlock, double amplitude, size_t count = XA_FFT_MAX_SAMPLES) {
    std::vector<int8_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] =
            static_cast<int8_t>(std::lround(amplitude * 127 * std::sin(2 * M_PI * cyclesPerBlock * i / 128.0)));
    return samples;
}

std::vector<uint8_t> spectrumOf(const std::vector<int8_t>& samples) {
    XA_FftAnalyzer* analyzer = nullptr;
    EXPECT_EQ(fft_analyzer_new(&analyzer), XA_SUCCESS);
    EXPECT_EQ(fft_analyzer_set_samples(analyzer, samples.data(), static_cast<uint32_t>(samples.size())), XA_SUCCESS);
    std::vector<uint8_t> spectrum(XA_FFT_BANDS);
    EXPECT_EQ(fft_analyzer_get_spectrum(analyzer, spectrum.data()), XA_SUCCESS);
    EXPECT_EQ(fft_analyzer_delete(analyzer), XA_SUCCESS);
    return spectrum;
}

size_t peakBand(const std::vector<uint8_t>& spectrum) {
    return static_cast<size_t>(std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin());
}

TEST(FftAnalyzerTest, SinePeaksInItsBand) {
    for (int band : {3, 10, 25, 50}) {
        const std::vector<uint8_t> spectrum = spectrumOf(sine(band, 0.9));
        EXPECT_EQ(peakBand(spectrum), static_cast<size_t>(band));
        EXPECT_GT(spectrum[band], 230);
        // Far-away bands stay near the floor.
        EXPECT_LT(spectrum[(band + 20) % 64], 80) << band;
    }
}

TEST(FftAnalyzerTest, QuieterSineGivesALowerLevelAndSilenceGivesZero) {
    const std::vector<uint8_t> loud = spectrumOf(sine(12, 0.9));
    const std::vector<uint8_t> quiet = spectrumOf(sine(12, 0.1));
    // 0.9 to 0.1 is 19 dB, about 81 level steps.
    EXPECT_NEAR(loud[12] - quiet[12], 81, 8);
    const std::vector<uint8_t> silence = spectrumOf(std::vector<int8_t>(128, 0));
    EXPECT_EQ(*std::max_element(silence.begin(), silence.end()), 0);
}

TEST(FftAnalyzerTest, FewerSamplesStillFindThePeak) {
    const std::vector<uint8_t> spectrum = spectrumOf(sine(16, 0.8, 64));
    EXPECT_EQ(peakBand(spectrum), 16u);
}

TEST(FftAnalyzerTest, MoreThan128SamplesAreCutAndMisuseIsRefused) {
    XA_FftAnalyzer* analyzer = nullptr;
    ASSERT_EQ(fft_analyzer_new(&analyzer), XA_SUCCESS);
    std::vector<int8_t> samples = sine(8, 0.8, 1000);
    EXPECT_EQ(fft_analyzer_set_samples(analyzer, samples.data(), 1000), XA_SUCCESS);
    std::vector<uint8_t> spectrum(XA_FFT_BANDS);
    EXPECT_EQ(fft_analyzer_get_spectrum(analyzer, spectrum.data()), XA_SUCCESS);
    EXPECT_EQ(peakBand(spectrum), 8u);
    EXPECT_EQ(fft_analyzer_set_samples(analyzer, nullptr, 5), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(fft_analyzer_get_spectrum(analyzer, nullptr), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(fft_analyzer_delete(analyzer), XA_SUCCESS);
    EXPECT_EQ(fft_analyzer_new(nullptr), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(fft_analyzer_delete(nullptr), XA_ERROR_INVALID_PARAMETERS);
}

TEST(FftAnalyzerTest, InterpolationStretchesAndShrinksLinearly) {
    const int8_t ramp[] = {0, 100};
    int8_t stretched[5] = {};
    ASSERT_EQ(fft_analyzer_interpolate_samples_signed(ramp, 2, stretched, 5), XA_SUCCESS);
    EXPECT_EQ(std::vector<int8_t>(stretched, stretched + 5), (std::vector<int8_t>{0, 25, 50, 75, 100}));

    const int8_t wave[] = {-100, 0, 100, 0, -100};
    int8_t shrunk[3] = {};
    ASSERT_EQ(fft_analyzer_interpolate_samples_signed(wave, 5, shrunk, 3), XA_SUCCESS);
    EXPECT_EQ(std::vector<int8_t>(shrunk, shrunk + 3), (std::vector<int8_t>{-100, 100, -100}));

    const uint8_t levels[] = {10, 20};
    uint8_t wide[3] = {};
    ASSERT_EQ(fft_analyzer_interpolate_samples_unsigned(levels, 2, wide, 3), XA_SUCCESS);
    EXPECT_EQ(std::vector<uint8_t>(wide, wide + 3), (std::vector<uint8_t>{10, 15, 20}));

    std::vector<int8_t> many(251, 7);
    const int8_t single[] = {7};
    ASSERT_EQ(fft_analyzer_interpolate_samples_signed(single, 1, many.data(), 251), XA_SUCCESS);
    EXPECT_EQ(many.back(), 7);
    EXPECT_EQ(fft_analyzer_interpolate_samples_signed(nullptr, 3, many.data(), 3), XA_ERROR_INVALID_PARAMETERS);
}

} // namespace
