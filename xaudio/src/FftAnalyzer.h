#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>

namespace xaudio {

// Spectrum of a short block of signed 8-bit samples: a Hann-windowed
// 128-point FFT whose bins 0..63 become 64 band levels. Band k holds the
// frequency k x sample rate / 128. Levels are logarithmic: 255 is a
// full-scale sine, each level step is 1/4.25 dB, and 0 is 60 dB below full
// scale or quieter. No allocation after construction.
class FftAnalyzer {
public:
    static constexpr size_t kSize = 128;
    static constexpr size_t kBands = 64;

    FftAnalyzer();

    // Takes at most kSize samples; fewer are zero-padded.
    void setSamples(const int8_t* samples, size_t count);
    void spectrum(uint8_t* levels) const;

private:
    std::array<float, kSize> m_window{};
    std::array<std::complex<float>, kSize / 2> m_twiddles{};
    std::array<uint8_t, kBands> m_levels{};
};

// Stretches or shrinks count samples to width samples by linear interpolation.
template <typename Sample> void interpolateSamples(const Sample* samples, size_t count, Sample* output, size_t width);

} // namespace xaudio
