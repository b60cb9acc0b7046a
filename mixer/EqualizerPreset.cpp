#include "EqualizerPreset.h"

#include <algorithm>
#include <string_view>

namespace mixer {

namespace {
constexpr std::string_view kHeader = "Winamp EQ library file v1.1\x1A!--";
constexpr char kSavedName = 's';
constexpr int kLargestPresetByte = 63;
static_assert(kHeader.size() == kPresetHeaderSize);
} // namespace

int bandValueFromPresetByte(uint8_t byte) {
    // b x 0.625 = b x 5 / 8.
    return clampBandValue((roundHalfEven(byte * 5, 8) - 19) * 4);
}

uint8_t presetByteFromBandValue(int value) {
    // (v / 4 + 19) / 40 x 64 = (v + 76) x 2 / 5.
    const int byte = roundHalfEven((clampBandValue(value) + 76) * 2, 5);
    return static_cast<uint8_t>(std::clamp(byte, 0, kLargestPresetByte));
}

std::optional<EqualizerBands> readPreset(std::span<const uint8_t> bytes) {
    if (bytes.size() < kPresetSize)
        return std::nullopt;
    EqualizerBands bands{};
    for (size_t band = 0; band < bands.size(); ++band)
        bands[band] = bandValueFromPresetByte(bytes[kPresetBandsOffset + band]);
    return bands;
}

PresetBytes writePreset(const EqualizerBands& bands) {
    PresetBytes bytes{};
    std::copy(kHeader.begin(), kHeader.end(), bytes.begin());
    bytes[kPresetNameOffset] = static_cast<uint8_t>(kSavedName);
    for (size_t band = 0; band < bands.size(); ++band)
        bytes[kPresetBandsOffset + band] = presetByteFromBandValue(bands[band]);
    bytes[kPresetPreampOffset] = kPresetPreamp;
    return bytes;
}

} // namespace mixer
