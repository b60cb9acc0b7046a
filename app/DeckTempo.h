#pragma once

#include "contracts/PlayListApi.h"

#include <QString>

#include <optional>

// The deck's pitch and tempo arithmetic. A pitch value is the playback speed
// in per mille of normal speed; the pitch slider runs from 0 to 100 and
// position p stands for minimum + p * step. Plain logic, any thread.
namespace app {

inline constexpr const char* kTempoNotMeasured = play_list_texts::kTempoNotMeasured;
inline constexpr int kNormalPitch = 1000;

struct PitchRange {
    int minimum = 920;
    double step = 1.6;
    // The range is symmetric around normal speed.
    int maximum() const { return 2 * kNormalPitch - minimum; }
};

// The range of a "Pitch Percent" value N (minimum 1000 - 10 N, step N / 5)
// for the six values 4, 8, 12, 16, 32 and 64; nothing for any other value.
std::optional<PitchRange> pitchRangeForPercent(int percent);

// Conversion toward zero. Products and quotients of the decimal pitch steps
// land a few binary units beside whole numbers (75 * 1.6 is 120.00000000000001,
// 160 / 1.6 a hair below 100); the tolerance makes them count as the whole
// numbers they stand for.
int truncateTowardZero(double value);

int pitchFromSlider(int position, const PitchRange& range);
int sliderFromPitch(int pitch, const PitchRange& range);
// One per mille faster / slower, kept inside the range.
int pitchFaster(int pitch, const PitchRange& range);
int pitchSlower(int pitch, const PitchRange& range);

// The tempo a tempo text stands for; nothing when it was not measured
// ("000.0"), is not a number, or is not above 0.
std::optional<double> measuredTempo(const QString& tempoText);

// The tempo text of a track of measured tempo `baseTempo` played at `pitch`:
// the tempo rounded to one decimal (ties to even), written in the shortest
// general form (128.0 is "128"). Nothing when the base was not measured.
std::optional<QString> currentTempoText(const QString& baseTempo, int pitch);

// The pitch that plays a track of tempo `baseTempo` at `targetTempo`, kept
// inside the range. Nothing unless both tempos are known.
std::optional<int> matchingPitch(const QString& targetTempo, const QString& baseTempo, const PitchRange& range);

// The "BPM" display of a tempo text.
QString tempoDisplayText(const QString& tempoText);

} // namespace app
