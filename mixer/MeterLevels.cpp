#include "MeterLevels.h"

#include <algorithm>
#include <cstdlib>

namespace mixer {

namespace {
// This is real-time code: it runs on the engine's audio thread.
int peakOf(const int8_t* samples, uint32_t count) {
    int peak = 0;
    for (uint32_t i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    // -128 has no positive twin; it reads as full scale like 127.
    return std::min(kMeterFullScale, (peak * kMeterFullScale + 126) / 127);
}
} // namespace

void MeterLevels::setDeckLevels(Deck deck, int left, int right) {
    // This is real-time code: relaxed stores are enough, each meter is one value.
    if (deck == Deck::A) {
        LevelLeftA.store(left, std::memory_order_relaxed);
        LevelRightA.store(right, std::memory_order_relaxed);
    } else {
        LevelLeftB.store(left, std::memory_order_relaxed);
        LevelRightB.store(right, std::memory_order_relaxed);
    }
}

ChannelPeaks peakLevels(const int8_t* samples, uint32_t channels, uint32_t samplesPerChannel) {
    // This is real-time code: it never allocates, locks or blocks.
    if (samples == nullptr || channels == 0 || samplesPerChannel == 0)
        return {};
    ChannelPeaks peaks;
    peaks.left = peakOf(samples, samplesPerChannel);
    peaks.right = channels >= 2 ? peakOf(samples + samplesPerChannel, samplesPerChannel) : peaks.left;
    return peaks;
}

} // namespace mixer
