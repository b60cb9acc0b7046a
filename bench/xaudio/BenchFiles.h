#pragma once

#include <string>

// Makes a music-like MP3 (a chord over pink noise) with sox and lame in the
// system's temporary folder; returns its path. Exits the program on failure.
std::string makeBenchMp3(const std::string& name, int seconds, int bitRateKbps);
// Makes the same music-like audio as a 16-bit WAV ("wav"), or encoded with
// the format's own encoder: "flac" (flac), "ogg" (oggenc -q 5) or "opus"
// (opusenc, 128 kbit/s). Exits the program on failure.
std::string makeBenchFile(const std::string& name, int seconds, const std::string& extension);
