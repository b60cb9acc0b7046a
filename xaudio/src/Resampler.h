#pragma once

#include <cstddef>
#include <vector>

namespace xaudio {

// Band-limited change of speed for two interleaved float channels: a
// polyphase windowed-sinc filter, 64 taps at normal speed and as many more
// as a faster speed needs to keep its anti-aliasing, 128 phases blended
// linearly. Used like libsamplerate's converters: each call takes what it
// needs of the input and fills what it can of the output; output frame k
// lies at input frame k / ratio, and a change of ratio glides linearly
// across the frames one call asks for. It allocates only when made.
class Resampler {
public:
    struct Block {
        const float* input = nullptr;
        long inputFrames = 0;
        float* output = nullptr;
        long outputFrames = 0;
        // Output rate over input rate, between kMinimumRatio and kMaximumRatio.
        double ratio = 1.0;
        // No input follows: the filter's tail is given out as well.
        bool endOfInput = false;
        // Set by process().
        long inputUsed = 0;
        long outputGenerated = 0;
    };

    static constexpr double kMinimumRatio = 0.25;
    static constexpr double kMaximumRatio = 16.0;

    Resampler();

    // Forgets the input taken so far, as if it had been silence.
    void reset();
    // The ratio the next call starts from, so that it does not glide.
    void setRatio(double ratio) { m_ratio = ratio; }
    // Right after reset(): the input that came before the next call's, so
    // that the filter looks back into it instead of silence. Takes at most
    // kMostHalfTaps frames, the last ones.
    void prime(const float* frames, long count);
    void process(Block& block);

    static constexpr int kMostHalfTaps = 128; // at kMinimumRatio

private:
    static constexpr int kHalfTapsAtNormalSpeed = 32;
    static constexpr int kPhases = 128;
    static constexpr int kMostTaps = 2 * kMostHalfTaps;
    // Input frames the history holds at once besides the filter's reach.
    static constexpr long kHistoryFrames = 4096;

    // Makes the filter bank for this share of the input band (1 at normal
    // speed and below, the ratio above it), in steps of 1/64.
    void useBand(double ratio);
    // Moves the frames the filter still needs to the front of the history.
    void compact();
    void produce(long first, double phase, float* frame) const;

    std::vector<float> m_shape;
    std::vector<float> m_bank;
    int m_band = 0;
    int m_halfTaps = 0;
    int m_taps = 0;
    std::vector<float> m_left;
    std::vector<float> m_right;
    long m_count = 0;
    // Where the next output frame lies, in history frames.
    double m_time = 0;
    // History frames past the end of the input, once it has ended.
    long m_end = -1;
    double m_ratio = 0;
};

} // namespace xaudio
