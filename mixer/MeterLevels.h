#pragma once

#include "Deck.h"

#include <atomic>
#include <cstdint>

namespace mixer {

// The values of the four deck level meters. The decks zero their pair when
// their player stops; the audio each deck outputs sets them while it plays.
// Every member may be read and written from any thread: they are plain
// atomics, so writing them never blocks, locks or allocates (safe on an
// engine or audio thread). The meter refresh on the GUI thread reads them.
class MeterLevels {
public:
    std::atomic<int> LevelLeftA{0};
    std::atomic<int> LevelRightA{0};
    std::atomic<int> LevelLeftB{0};
    std::atomic<int> LevelRightB{0};

    // Any thread; real-time safe.
    void setDeckLevels(Deck deck, int left, int right);
};

// The top of the meter scale that peakLevels produces; the deck meters of a
// skin keep the gauge range 0..100 they start with.
inline constexpr int kMeterFullScale = 100;

struct ChannelPeaks {
    int left = 0;
    int right = 0;
};

// The peak of one block of output audio per channel, scaled to
// 0..kMeterFullScale. The block holds `channels` runs of
// `samplesPerChannel` signed 8-bit samples, one channel after the other (the
// layout of the engine's audio events). A mono block shows on both sides;
// channels after the second are ignored; an empty block reads as silence.
// Any thread; real-time safe.
ChannelPeaks peakLevels(const int8_t* samples, uint32_t channels, uint32_t samplesPerChannel);

} // namespace mixer
