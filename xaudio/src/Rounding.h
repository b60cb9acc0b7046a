#pragma once

namespace xaudio {

// Rounds half away from zero as std::lround does, but inline: the display's
// sample conversions run thousands of times an event, and the library call
// was a tenth of the player thread. Exact for any float; for a double it
// differs from std::lround only within one unit in the last place below a
// half.
inline long roundHalfAwayFromZero(double value) {
    return static_cast<long>(value + (value < 0.0 ? -0.5 : 0.5));
}

} // namespace xaudio
