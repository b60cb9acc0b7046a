#pragma once

#include "tempik.h"

#include <cstdint>

namespace tempo {

// What one file measurement found; quality 0 means nothing was measured.
struct Measurement {
    double bpm = 0;
    double quality = 0;
};

// floor(log2(frames)) - 9, computed the way the measurement has always done
// it: the integer part of ln(frames) / ln 2 in 64-bit floating point. May be
// one less than the exact integer logarithm at exact powers of two.
int historyBitsForFrames(int64_t frames);

// The parameters both file functions use; ReadBlock, UserData, SampleRate,
// Channels and BytesPerSample are left for the caller, HistoryBits follows
// from the frame count. False when the stream is too short (fewer than two
// history bits, or no frames at all) or too long for the analyser.
bool standardParams(int64_t frames, double minBpm, double maxBpm, TBeatAnalyserParams& params);

// Writes one progress value as a relaxed atomic store, so another thread may
// read it while the measurement runs. Does nothing for a null pointer.
void storeProgress(double* progress, double value);

// How much faster than real time the analyser counts a source of this rate.
double analyserTimeScale(int32_t sampleRate, int32_t decimationBits);

// Creates the analyser, takes 2^HistoryBits blocks with a progress value after
// each, and estimates the tempo in real beats per minute. Stops with nothing measured as soon as *failed turns
// true (the read procedure sets it when its source breaks off).
Measurement runAnalysis(TBeatAnalyserParams params, double* progress, const bool* failed);

} // namespace tempo
