#pragma once

#include <string>

namespace tempo_test {

// Writes a drum loop made with sox: a kick (a sine falling from 150 to 45 Hz
// over 120 ms) on every beat and a closed hi-hat (high-passed noise, 40 ms)
// on every off-beat, 44100 Hz stereo. ".mp3" paths are encoded with lame at
// 192 kbit/s, anything else is written as 16-bit WAV. Throws
// std::runtime_error when the tools fail.
void makeDrumLoop(const std::string& path, double bpm, double seconds);

} // namespace tempo_test
