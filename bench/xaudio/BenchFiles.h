#pragma once

#include <string>

// Makes a music-like MP3 (a chord over pink noise) with sox and lame in the
// system's temporary folder; returns its path. Exits the program on failure.
std::string makeBenchMp3(const std::string& name, int seconds, int bitRateKbps);
