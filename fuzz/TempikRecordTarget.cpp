// The tempo library's analyser record through its C exports: any record is
// refused or analysed within the memory cap; the rest of the input is the
// audio.
#include "FuzzTarget.h"

#include "tempik.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

struct Audio {
    const uint8_t* data;
    size_t size;
    size_t at;
    size_t blockBytes;
};

void readBlock(void* destination, void* userData) {
    auto& audio = *static_cast<Audio*>(userData);
    auto* target = static_cast<uint8_t*>(destination);
    for (size_t i = 0; i < audio.blockBytes; ++i)
        target[i] = audio.size == 0 ? 0 : audio.data[audio.at++ % audio.size];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TBeatAnalyserParams params{};
    if (size < sizeof params)
        return 0;
    std::memcpy(&params, data, sizeof params);
    Audio audio{data + sizeof params, size - sizeof params, 0, 0};
    params.ReadBlock = readBlock;
    params.UserData = &audio;
    TBeatAnalyser* analyser = BeatAnalyserObjectCreate(params);
    if (analyser == nullptr)
        return 0;
    // The record was accepted, so its sizes are sane: the block the analyser
    // reads is frames x channels x bytes per sample.
    audio.blockBytes = (size_t{1} << params.BlockBits) * static_cast<size_t>(params.Channels) *
                       static_cast<size_t>(params.BytesPerSample);
    // A record may ask for blocks of many megabytes (thousands of channels).
    // A step costs time in proportion to what the caller asked for (seconds
    // under the sanitizers for the largest), so the steps are bounded by the
    // bytes they read: up to 64 steps within 4 MiB, at least one below that,
    // and records with larger blocks are only created and freed.
    constexpr size_t kStepBytes = size_t{4} << 20;
    const size_t blockBytes = audio.blockBytes;
    const int steps =
        blockBytes > kStepBytes ? 0 : static_cast<int>(std::clamp<size_t>(kStepBytes / blockBytes, 1, 64));
    for (int i = 0; i < steps; ++i)
        BeatAnalyserObjectGetNextSample(analyser);
    // The estimate transforms the whole history; large ones only cost time.
    if (params.HistoryBits - params.EnvelopeBits <= 14) {
        double quality = -1;
        const double bpm = BeatAnalyserObjectCalcBpm(analyser, &quality);
        if (!std::isfinite(bpm) || !(quality >= 0 && quality <= 1))
            std::abort();
    }
    BeatAnalyserObjectFree(analyser);
    return 0;
}
