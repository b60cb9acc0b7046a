#pragma once

#include "EqualizerBands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mixer {

// The first preset of an ".eqf" equalizer library file: a 31-byte header,
// a 257-byte NUL-padded name, ten band bytes (0..63, 31 is flat) and a
// preamplifier byte.
inline constexpr size_t kPresetSize = 299;
inline constexpr size_t kPresetHeaderSize = 31;
inline constexpr size_t kPresetNameOffset = 31;
inline constexpr size_t kPresetBandsOffset = 288;
inline constexpr size_t kPresetPreampOffset = 298;
inline constexpr uint8_t kPresetPreamp = 31;
using PresetBytes = std::array<uint8_t, kPresetSize>;

// The band bytes of a preset and the slider values they stand for:
// v = (Round(b x 0.625) - 19) x 4 and b = Round((v / 4 + 19) / 40 x 64).
// Bytes above 63 give values beyond the sliders and are clamped to them;
// values below -76 would give negative bytes and are written as 0.
int bandValueFromPresetByte(uint8_t byte);
uint8_t presetByteFromBandValue(int value);

// The bands of the first preset in a file's bytes, or nothing when the
// bytes are too few to hold it. The header and name are not checked, and
// the preamplifier is ignored. Safe for any input.
std::optional<EqualizerBands> readPreset(std::span<const uint8_t> bytes);

// A preset named "s" holding `bands`, preamplifier 31.
PresetBytes writePreset(const EqualizerBands& bands);

} // namespace mixer
