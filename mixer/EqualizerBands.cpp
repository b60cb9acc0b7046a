#include "EqualizerBands.h"

#include <algorithm>
#include <cstdint>

namespace mixer {

namespace {
// The first engine band of each slider band; the last slider band runs to
// the top engine band.
constexpr std::array<int, kEqualizerBands + 1> kFirstEngineBand = {0, 1, 2, 3, 4, 5, 6, 8, 12, 20, 32};
constexpr int kEngineBands = 32;

int8_t truncatedToSignedByte(int value) {
    return static_cast<int8_t>(static_cast<uint8_t>(static_cast<unsigned>(value) & 0xFFu));
}
} // namespace

int roundHalfEven(int numerator, int denominator) {
    int quotient = numerator / denominator;
    int remainder = numerator % denominator;
    if (remainder < 0) {
        remainder += denominator;
        --quotient;
    }
    const int twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

std::string bandSliderName(DeckSide deck, int band) {
    return (deck == DeckSide::A ? "A" : "B") + std::to_string(band + 1);
}

std::optional<BandSlider> bandSliderFromName(std::string_view name) {
    if (name.size() < 2 || name.size() > 3 || (name[0] != 'A' && name[0] != 'B'))
        return std::nullopt;
    const DeckSide deck = name[0] == 'A' ? DeckSide::A : DeckSide::B;
    for (int band = 0; band < kEqualizerBands; ++band)
        if (name == bandSliderName(deck, band))
            return BandSlider{deck, band};
    return std::nullopt;
}

int bandValueFromPosition(int position) {
    // (position - 50) x 1.6 = (position - 50) x 8 / 5.
    return roundHalfEven((position - 50) * 8, 5);
}

int positionFromBandValue(int value) {
    // value / 1.6 = value x 5 / 8.
    return 50 + roundHalfEven(value * 5, 8);
}

int clampBandValue(int value) {
    return std::clamp(value, kBandValueMin, kBandValueMax);
}

EngineBandSpan engineBandsOfSlider(int band) {
    return {kFirstEngineBand[static_cast<size_t>(band)], kFirstEngineBand[static_cast<size_t>(band) + 1] - 1};
}

BandFrequencies sliderFrequencies(int band, double sampleRateHz) {
    const EngineBandSpan span = engineBandsOfSlider(band);
    const double bandWidthHz = sampleRateHz / (2 * kEngineBands);
    return {span.first * bandWidthHz, (span.last + 1) * bandWidthHz};
}

XA_EqualizerInfo engineTable(const EqualizerBands& bands) {
    static_assert(kFirstEngineBand.back() == kEngineBands);
    XA_EqualizerInfo table{};
    for (int band = 0; band < kEqualizerBands; ++band) {
        const EngineBandSpan span = engineBandsOfSlider(band);
        const int8_t level = truncatedToSignedByte(-bands[static_cast<size_t>(band)]);
        for (int engineBand = span.first; engineBand <= span.last; ++engineBand) {
            table.left[engineBand] = level;
            table.right[engineBand] = level;
        }
    }
    return table;
}

} // namespace mixer
