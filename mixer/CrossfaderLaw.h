#pragma once

namespace mixer {

// The crossfader value at which both decks play at their channel fader's
// level. 100 is deck A only, 0 deck B only.
inline constexpr int kCrossFaderCentre = 50;

// The attenuation the crossfader subtracts from deck A's channel fader:
// none from the centre toward A, otherwise twice the distance between the
// crossfader and half the channel fader (halves truncated toward zero).
// The result is not clamped, so the level after the cut can be negative.
int crossfaderCutA(int crossFader, int faderA);
// The mirror image for deck B, measured from the other end.
int crossfaderCutB(int crossFader, int faderB);

} // namespace mixer
