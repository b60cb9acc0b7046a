#pragma once

#include "contracts/DeckSide.h"

#include "xaudio.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace mixer {

// One deck's ten band values, bands 1..10 at indexes 0..9. A value is what
// the slider shows: positive values cut (the lower half of a slider), the
// engine receives the negated value.
inline constexpr int kEqualizerBands = 10;
using EqualizerBands = std::array<int, kEqualizerBands>;

// The range of a band slider's values, and of every value this window keeps.
inline constexpr int kBandValueMin = -80;
inline constexpr int kBandValueMax = 80;

// Slider positions run 0..100 from the top; the value is
// Round((position - 50) x 1.6) and back Round(value / 1.6 + 50), both with
// halves rounded to even.
int bandValueFromPosition(int position);
int positionFromBandValue(int value);

// A value from outside (settings file, preset) brought into the slider's
// range, so what the slider shows is what the engine gets.
int clampBandValue(int value);

// Engine bands (of 32 per channel) that slider band `band` (0..9) drives:
// the six lowest one each, then 2, 4, 8 and 12 engine bands.
struct EngineBandSpan {
    int first;
    int last;
};
EngineBandSpan engineBandsOfSlider(int band);

// The frequencies slider band `band` (0..9) covers in a stream sampled at
// `sampleRateHz`: each engine band is a 1/64 of the sample rate wide.
struct BandFrequencies {
    double lowHz;
    double highHz;
};
BandFrequencies sliderFrequencies(int band, double sampleRateHz);

// The engine's table for one deck: each engine band holds its slider's
// value negated and truncated to a signed byte, the same on both channels.
XA_EqualizerInfo engineTable(const EqualizerBands& bands);

// The name of a band slider, which is also its settings key: "A1".."A10"
// for deck A, "B1".."B10" for deck B; `band` is 0..9.
std::string bandSliderName(DeckSide deck, int band);
struct BandSlider {
    DeckSide deck;
    int band;
};
std::optional<BandSlider> bandSliderFromName(std::string_view name);

// Rounds numerator / denominator (denominator > 0) to the nearest integer,
// halves to even, without going through floating point.
int roundHalfEven(int numerator, int denominator);

} // namespace mixer
