#include "mixer/MeterLevels.h"

#include <gtest/gtest.h>

#include <array>

using namespace mixer;

TEST(MeterLevels, PeaksOfAStereoBlockAreMeasuredPerChannel) {
    std::array<int8_t, 8> samples = {0, 10, -64, 3, /* right */ 0, 127, -5, 1};
    const ChannelPeaks peaks = peakLevels(samples.data(), 2, 4);
    EXPECT_EQ(peaks.left, 51);
    EXPECT_EQ(peaks.right, 100);
}

TEST(MeterLevels, TheMostNegativeSampleReadsAsFullScale) {
    std::array<int8_t, 2> samples = {-128, 0};
    EXPECT_EQ(peakLevels(samples.data(), 2, 1).left, kMeterFullScale);
}

TEST(MeterLevels, AMonoBlockShowsOnBothSidesAndExtraChannelsAreIgnored) {
    std::array<int8_t, 3> mono = {0, -127, 0};
    EXPECT_EQ(peakLevels(mono.data(), 1, 3).right, 100);
    std::array<int8_t, 3> three = {1, 2, 127};
    const ChannelPeaks peaks = peakLevels(three.data(), 3, 1);
    EXPECT_EQ(peaks.left, 1);
    EXPECT_EQ(peaks.right, 2);
}

TEST(MeterLevels, EmptyOrMissingBlocksReadAsSilence) {
    std::array<int8_t, 2> samples = {100, 100};
    EXPECT_EQ(peakLevels(nullptr, 2, 1).left, 0);
    EXPECT_EQ(peakLevels(samples.data(), 0, 1).left, 0);
    EXPECT_EQ(peakLevels(samples.data(), 2, 0).right, 0);
}

TEST(MeterLevels, SingleChannelPeakRoundsUpSoAnySoundShows) {
    std::array<int8_t, 4> quiet = {0, 1, -1, 0};
    EXPECT_EQ(peakLevel(quiet.data(), quiet.size()), 1);
    std::array<int8_t, 4> silent = {};
    EXPECT_EQ(peakLevel(silent.data(), silent.size()), 0);
    EXPECT_EQ(peakLevel(nullptr, 4), 0);
}
