#include "MeterLevels.h"

#include <algorithm>
#include <cstdlib>

namespace mixer {

int peakLevel(const int8_t* samples, std::size_t count) {
    // This is real-time code: it may run on an engine thread.
    if (samples == nullptr)
        return 0;
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    // Rounded up, so any sound at all moves the meter; -128 has no positive
    // twin and reads as full scale like 127.
    return std::min(kMeterFullScale, (peak * kMeterFullScale + 126) / 127);
}

ChannelPeaks peakLevels(const int8_t* samples, uint32_t channels, uint32_t samplesPerChannel) {
    // This is real-time code: it may run on an engine thread.
    if (samples == nullptr || channels == 0 || samplesPerChannel == 0)
        return {};
    ChannelPeaks peaks;
    peaks.left = peakLevel(samples, samplesPerChannel);
    peaks.right = channels >= 2 ? peakLevel(samples + samplesPerChannel, samplesPerChannel) : peaks.left;
    return peaks;
}

} // namespace mixer
