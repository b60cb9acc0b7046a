#pragma once

#include "tempik.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace tempo_test {

// Feeds an analyser from a function of (frame, channel) -> sample in
// [-1, 1], encoded as the analyser expects: signed bytes, 16- or 32-bit
// little-endian integers.
struct SignalSource {
    std::function<double(int64_t frame, int channel)> sample;
    int channels = 2;
    int bytesPerSample = 2;
    int blockFrames = 512;
    int64_t nextFrame = 0;
    int blocksRead = 0;

    static void ReadBlock(void* destination, void* userData) {
        auto& source = *static_cast<SignalSource*>(userData);
        auto* out = static_cast<unsigned char*>(destination);
        for (int frame = 0; frame < source.blockFrames; ++frame, ++source.nextFrame) {
            for (int channel = 0; channel < source.channels; ++channel) {
                const double value = source.sample(source.nextFrame, channel);
                if (source.bytesPerSample == 1) {
                    *out++ = static_cast<unsigned char>(static_cast<int8_t>(std::lround(value * 127)));
                } else if (source.bytesPerSample == 2) {
                    const auto encoded = static_cast<int16_t>(std::lround(value * 32767));
                    std::memcpy(out, &encoded, 2);
                    out += 2;
                } else {
                    const auto encoded = static_cast<int32_t>(std::lround(value * 2147483647.0));
                    std::memcpy(out, &encoded, 4);
                    out += 4;
                }
            }
        }
        ++source.blocksRead;
    }

    TBeatAnalyserParams params(int historyBits, int sampleRateHz = 44100) {
        TBeatAnalyserParams result{};
        result.ReadBlock = &SignalSource::ReadBlock;
        result.UserData = this;
        result.SampleRate = sampleRateHz;
        result.Channels = channels;
        result.BytesPerSample = bytesPerSample;
        result.BlockBits = 9;
        result.DecimationBits = 4;
        result.HistoryBits = historyBits;
        result.EnvelopeBits = 2;
        result.Enabled = 1;
        result.SmoothThreshold = 0.015;
        result.MaxSmoothPasses = 30;
        result.ConsensusTolerance = 0.2;
        result.MinBpm = 110;
        result.MaxBpm = 150;
        return result;
    }
};

// A drum-like pattern at a given tempo: a burst of white noise on every beat
// that decays exponentially, over silence. Broadband, so every band of the
// analyser sees the beat. The analyser keeps every fourth value of its
// 86 Hz band envelopes without filtering them first, so the sharp edges of
// very short bursts (below about 20 ms) alias into the tempo range at some
// tempos; 40 ms behaves like a real drum hit.
inline std::function<double(int64_t, int)> noiseBeats(double bpm, int sampleRateHz = 44100,
                                                      double decaySeconds = 0.04) {
    // The decay is tabulated once per frame of a beat's audible part.
    auto envelope = std::make_shared<std::vector<double>>(static_cast<size_t>(6 * decaySeconds * sampleRateHz));
    for (size_t i = 0; i < envelope->size(); ++i)
        (*envelope)[i] = 0.9 * std::exp(-static_cast<double>(i) / (decaySeconds * sampleRateHz));
    const double beatFrames = 60.0 / bpm * sampleRateHz;
    return [envelope, beatFrames](int64_t frame, int) {
        const auto intoBeat = static_cast<size_t>(std::fmod(static_cast<double>(frame), beatFrames));
        if (intoBeat >= envelope->size())
            return 0.0;
        // A cheap deterministic noise: a hash of the frame number.
        uint32_t x = static_cast<uint32_t>(frame) * 2654435761u;
        x ^= x >> 15;
        x *= 2246822519u;
        x ^= x >> 13;
        const double noise = static_cast<double>(x) / 4294967295.0 * 2 - 1;
        return noise * (*envelope)[intoBeat];
    };
}

} // namespace tempo_test
