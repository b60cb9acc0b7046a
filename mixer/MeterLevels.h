#pragma once

#include <cstddef>
#include <cstdint>

namespace mixer {

// The values of the four deck level meters, in the order they are shown.
struct DeckMeterValues {
    int LevelLeftA = 0;
    int LevelRightA = 0;
    int LevelLeftB = 0;
    int LevelRightB = 0;

    bool operator==(const DeckMeterValues&) const = default;
};

// The top of the meter scale that the peak functions produce; the deck
// meters of a skin keep the gauge range 0..100 they start with.
inline constexpr int kMeterFullScale = 100;

// The peak of `count` signed 8-bit samples of one channel, scaled to
// 0..kMeterFullScale (127 and -128 are full scale). No samples read as
// silence. Any thread; real-time safe (no allocation, no lock).
int peakLevel(const int8_t* samples, std::size_t count);

struct ChannelPeaks {
    int left = 0;
    int right = 0;
};

// The peaks of one block of output audio laid out as the engine's audio
// events are: `channels` runs of `samplesPerChannel` samples, one channel
// after the other. A mono block shows on both sides; channels after the
// second are ignored. Any thread; real-time safe.
ChannelPeaks peakLevels(const int8_t* samples, uint32_t channels, uint32_t samplesPerChannel);

} // namespace mixer
