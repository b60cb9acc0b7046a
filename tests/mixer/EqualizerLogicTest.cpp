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

TEST(EqualizerSliderMapping, BandSliderNamesAreTheSettingsKeys) {
    EXPECT_EQ(bandSliderName(Deck::A, 0), "A1");
    EXPECT_EQ(bandSliderName(Deck::B, 9), "B10");
    const auto b9 = bandSliderFromName("B9");
    ASSERT_TRUE(b9);
    EXPECT_EQ(b9->deck, Deck::B);
    EXPECT_EQ(b9->band, 8);
    for (const char* other : {"A0", "A11", "B01", "C1", "A", "", "EnableAButton", "a1"})
        EXPECT_FALSE(bandSliderFromName(other)) << other;
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
}

TEST(EqualizerEngineTable, SliderEndsAndValuesBeyondASignedByte) {
    EqualizerBands bands{};
    bands[0] = bandValueFromPosition(0);   // top: boost
    bands[1] = bandValueFromPosition(100); // bottom: cut
    bands[2] = -128;                       // +128 wraps to -128
    bands[3] = 200;                        // -200 keeps its low byte, 56
    const XA_EqualizerInfo table = engineTable(bands);
    EXPECT_EQ(table.left[0], 80);
    EXPECT_EQ(table.left[1], -80);
    EXPECT_EQ(table.left[2], -128);
    EXPECT_EQ(table.left[3], 56);
    EXPECT_EQ(table.right[3], 56);
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
    EXPECT_EQ(presetByteFromBandValue(-80), 0);
    EXPECT_EQ(presetByteFromBandValue(-1000), 0);
    EXPECT_EQ(presetByteFromBandValue(1000), 62);
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

    // A longer library file holds more presets; the first is the one read.
    std::vector<uint8_t> library(bytes.begin(), bytes.end());
    library.resize(2 * kPresetSize, 0);
    ASSERT_TRUE(readPreset(library));
    EXPECT_EQ(*readPreset(library), bands);
    // The header is not checked; one byte short is not a preset.
    library[0] = 'X';
    EXPECT_TRUE(readPreset(std::span(library).first(kPresetSize)));
    EXPECT_FALSE(readPreset(std::span(library).first(kPresetSize - 1)));
    EXPECT_FALSE(readPreset({}));
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
    EXPECT_DOUBLE_EQ(sliderFrequencies(0, 44100).highHz, 689.0625);
    EXPECT_LT(sliderFrequencies(1, 44100).lowHz, 1000);
    EXPECT_GT(sliderFrequencies(1, 44100).highHz, 1000);
    EXPECT_DOUBLE_EQ(sliderFrequencies(9, 44100).lowHz, 13781.25);
}
