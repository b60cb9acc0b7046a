#pragma once

namespace xaudio {

// The output volume law. A level 1..100 is an attenuation of 0.5 dB per step
// below 100: 100 is unity gain (0 dB), 80 is -10 dB, 50 is -25 dB, 1 is
// -49.5 dB. Level 0 and anything below it is silence; levels above 100 act as
// 100. The master and PCM levels multiply.
float levelToGain(int level);

// The left and right factors of a balance 0..100 (50 centred): moving away
// from the centre lowers the opposite side linearly down to silence at 0
// (left only) or 100 (right only).
void balanceToGains(int balance, float* left, float* right);

} // namespace xaudio
