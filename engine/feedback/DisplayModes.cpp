#include "DisplayModes.h"

#include "DisplayState.h"

namespace engine {

std::atomic<uint8_t>& displayModeFlags() {
    static std::atomic<uint8_t> flags{kDisplaySpectrum};
    return flags;
}

uint8_t nextDisplayMode(uint8_t modes) {
    switch (modes) {
    case kDisplaySpectrum:
        return kDisplayOscilloscope;
    case kDisplayOscilloscope:
        return kDisplayLevelMeter;
    default:
        return kDisplaySpectrum;
    }
}

} // namespace engine
