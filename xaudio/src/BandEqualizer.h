#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>

namespace xaudio {

// The 32-band equalizer for decoders that have none of their own. Band k
// covers k to k + 1 times 1/64 of the sample rate, as the subbands of an
// MPEG decoder do, so a table sounds the same on every format, and a level
// gives the gain of equalizerFactor. Overlap-add filtering of 512-frame
// windows every 256 frames; the output lags the input by kLatencyFrames.
// Not real-time code, but it allocates nothing after construction.
class BandEqualizer {
public:
    static constexpr size_t kHopFrames = 256;
    static constexpr size_t kLatencyFrames = kHopFrames;
    static constexpr int kBands = 32;

    BandEqualizer();

    void setLevels(const int8_t* left, const int8_t* right);
    // Forgets the audio seen so far, as before the start of a stream.
    void reset();
    // Filters kHopFrames interleaved frames of one or two channels in place.
    // A mono stream takes the left levels.
    void process(float* frames, int channels);

private:
    static constexpr size_t kWindowFrames = 2 * kHopFrames;
    using Complex = std::complex<float>;

    void transform(bool inverse);

    std::array<float, kWindowFrames> m_window{};
    std::array<Complex, kWindowFrames / 2> m_twiddles{};
    std::array<uint16_t, kWindowFrames> m_bitReversed{};
    std::array<float, kWindowFrames / 2 + 1> m_gainLeft{};
    std::array<float, kWindowFrames / 2 + 1> m_gainRight{};
    std::array<Complex, kWindowFrames> m_spectrum{};
    // The previous hop's input, and the second half of the last window's
    // output still to be added to the next one.
    std::array<Complex, kHopFrames> m_history{};
    std::array<Complex, kHopFrames> m_overlap{};
};

// The linear gain of an equalizer level: cuts 1/4 dB, boosts 1/8 dB per unit.
double equalizerFactor(int level);

} // namespace xaudio
