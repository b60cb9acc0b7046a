#pragma once

#include <atomic>
#include <cstdint>

namespace engine {

// The module-wide display mode flags (bits of engine::DisplayMode). The
// engine thread sets them through a command; the windows read them when they
// paint.
std::atomic<uint8_t>& displayModeFlags();

} // namespace engine
