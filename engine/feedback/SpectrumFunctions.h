#pragma once

#include "xaudio.h"

#include <string>

namespace engine {

// The engine's six spectrum functions the feedback display uses.
struct SpectrumFunctions {
    decltype(&fft_analyzer_new) analyzerNew = nullptr;
    decltype(&fft_analyzer_delete) analyzerDelete = nullptr;
    decltype(&fft_analyzer_set_samples) setSamples = nullptr;
    decltype(&fft_analyzer_get_spectrum) getSpectrum = nullptr;
    decltype(&fft_analyzer_interpolate_samples_signed) interpolateSigned = nullptr;
    // Has to be present; never called.
    decltype(&fft_analyzer_interpolate_samples_unsigned) interpolateUnsigned = nullptr;
};

inline constexpr const char* kSpectrumLibraryName = "XAUDIO.DLL";

// Loads the spectrum library and binds the six functions, once per process:
// later calls return the same binding. A failed attempt is retried by the
// next call. Returns false when the library or any function is missing.
// Any thread; blocks on the loader.
bool bindSpectrumFunctions(SpectrumFunctions& functions);

// Binds from another library from now on and forgets the current binding
// (unloading its library). For tests: no display instance may be alive.
void setSpectrumLibraryName(const std::string& name);

} // namespace engine
