#include "mixer/EqualizerBands.h"
#include "mixer/EqualizerPreset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mixer;

TEST(EqualizerSliderMapping, EndsCentreAndHalvesToEvenAndEveryPositionComesBack) {
    EXPECT_EQ(bandValueFromPosition(0), -80);
    EXPECT_EQ(bandValueFromPosition(50), 0);
    EXPECT_EQ(bandValueFromPosition(100), 80);
    EXPECT_EQ(bandValueFromPosition(49), -2); // -1.6
    EXPECT_EQ(bandValueFromPosition(53), 5);  // 4.8
    // value / 1.6 + 50 is 52.5, 57.5 and 47.5 here.
    EXPECT_EQ(positionFromBandValue(4), 52);
    EXPECT_EQ(positionFromBandValue(12), 58);
    EXPECT_EQ(positionFromBandValue(-4), 48);
    for (int position = 0; position <= 100; ++position)
        EXPECT_EQ(positionFromBandValue(bandValueFromPosition(position)), position) << position;
}

TEST(EqualizerEngineTable, EachEngineBandHoldsItsSlidersNegatedValueOnBothChannels) {
    EqualizerBands bands{};
    for (int band = 0; band < kEqualizerBands; ++band)
        bands[static_cast<size_t>(band)] = (band + 1) * 7;
    const XA_EqualizerInfo table = engineTable(bands);
    const std::vector<int> sliderOfEngineBand = {1, 2, 3, 4, 5,  6,  7,  7,  8,  8,  8,  8,  9,  9,  9,  9,
                                                 9, 9, 9, 9, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10};
    for (int engineBand = 0; engineBand < 32; ++engineBand) {
        EXPECT_EQ(table.left[engineBand], -sliderOfEngineBand[static_cast<size_t>(engineBand)] * 7) << engineBand;
        EXPECT_EQ(table.right[engineBand], table.left[engineBand]) << engineBand;
    }
    // The slider's top boosts; values beyond a signed byte keep their low
    // byte (+128 wraps to -128, -200 gives 56).
    bands = {bandValueFromPosition(0), bandValueFromPosition(100), -128, 200};
    const XA_EqualizerInfo ends = engineTable(bands);
    EXPECT_EQ(std::vector<int>(ends.left, ends.left + 4), (std::vector<int>{80, -80, -128, 56}));
}

TEST(EqualizerPresetBytes, ConvertBothWaysAndStayInsideTheirRanges) {
    EXPECT_EQ(bandValueFromPresetByte(0), -76);
    EXPECT_EQ(bandValueFromPresetByte(31), 0);
    EXPECT_EQ(bandValueFromPresetByte(32), 4);
    EXPECT_EQ(bandValueFromPresetByte(63), 80);
    EXPECT_EQ(presetByteFromBandValue(0), 30);
    EXPECT_EQ(presetByteFromBandValue(80), 62);
    // Below -76 the formula goes negative, beyond 63 the values leave the
    // sliders: both are held at the edge.
    EXPECT_EQ(presetByteFromBandValue(-78), 0);
    EXPECT_EQ(presetByteFromBandValue(-1000), 0);
    EXPECT_EQ(bandValueFromPresetByte(255), 80);
    // Every value a preset can hold survives a save and a load.
    for (int value = -76; value <= 80; value += 4)
        EXPECT_EQ(bandValueFromPresetByte(presetByteFromBandValue(value)), value) << value;
}

TEST(EqualizerPresetFile, WrittenLayoutReadsBackAndShortInputIsRefused) {
    const EqualizerBands bands = {-76, -40, -8, 0, 4, 8, 16, 40, 76, 80};
    const PresetBytes bytes = writePreset(bands);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 31), std::string("Winamp EQ library file v1.1\x1A!--"));
    EXPECT_EQ(text.substr(31, 257), "s" + std::string(256, '\0'));
    EXPECT_EQ(bytes.back(), 31);
    const auto back = readPreset(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, bands);

    // A library file holds more presets: the first is read, its header is
    // not checked, and one byte short is not a preset.
    std::vector<uint8_t> library(bytes.begin(), bytes.end());
    library.resize(2 * kPresetSize, 0);
    library[0] = 'X';
    EXPECT_EQ(readPreset(library), bands);
    EXPECT_FALSE(readPreset(std::span(library).first(kPresetSize - 1)));
}

TEST(EqualizerSliderMapping, SlidersCoverTheSpectrumFromBassToTrebleWithoutGaps) {
    for (double rate : {44100.0, 48000.0}) {
        double previousHigh = 0;
        for (int band = 0; band < kEqualizerBands; ++band) {
            const BandFrequencies span = sliderFrequencies(band, rate);
            EXPECT_DOUBLE_EQ(span.lowHz, previousHigh) << band;
            EXPECT_GT(span.highHz, span.lowHz) << band;
            previousHigh = span.highHz;
        }
        EXPECT_DOUBLE_EQ(previousHigh, rate / 2);
    }
    // The bass slider is the engine's lowest band; 1 kHz is the second's.
    EXPECT_DOUBLE_EQ(sliderFrequencies(1, 44100).lowHz, 689.0625);
    EXPECT_DOUBLE_EQ(sliderFrequencies(9, 44100).lowHz, 13781.25);
}
