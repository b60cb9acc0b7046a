// Equalizer preset files: any bytes give ten bands within the sliders'
// range or nothing, and bands written as a preset read back unchanged.
#include "FuzzTarget.h"

#include "mixer/EqualizerPreset.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bands = mixer::readPreset(std::span<const uint8_t>(data, size));
    if (!bands)
        return 0;
    for (int value : *bands)
        if (value != mixer::clampBandValue(value))
            std::abort();
    const auto written = mixer::writePreset(*bands);
    const auto again = mixer::readPreset(written);
    if (!again || mixer::readPreset(mixer::writePreset(*again)) != again)
        std::abort();
    return 0;
}
