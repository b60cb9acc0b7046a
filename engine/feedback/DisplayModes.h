#pragma once

#include <atomic>
#include <cstdint>

namespace engine {

// The module-wide display mode flags (bits of engine::DisplayMode). The
// engine thread sets them through a command; the windows read them when they
// paint.
std::atomic<uint8_t>& displayModeFlags();

// The mode a click on a display steps to: spectrum, oscilloscope, level
// meter, then spectrum again. Flags of several modes, or none, step to the
// spectrum.
uint8_t nextDisplayMode(uint8_t modes);

} // namespace engine
