#include "DisplayModes.h"

#include "DisplayState.h"

namespace engine {

std::atomic<uint8_t>& displayModeFlags() {
    static std::atomic<uint8_t> flags{kDisplaySpectrum};
    return flags;
}

} // namespace engine
