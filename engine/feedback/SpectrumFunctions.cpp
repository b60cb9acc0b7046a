#include "SpectrumFunctions.h"

#include "platform/SharedLibrary.h"

#include <mutex>

namespace engine {
namespace {

struct Binding {
    std::mutex mutex;
    std::string libraryName = kSpectrumLibraryName;
    platform::SharedLibrary library;
    SpectrumFunctions functions;
    bool bound = false;
};

Binding& binding() {
    static Binding instance;
    return instance;
}

} // namespace

bool bindSpectrumFunctions(SpectrumFunctions& functions) {
    Binding& state = binding();
    std::lock_guard lock(state.mutex);
    if (!state.bound) {
        if (!state.library.load(state.libraryName))
            return false;
        SpectrumFunctions found;
        const bool complete =
            state.library.bind("fft_analyzer_new", found.analyzerNew) &
            state.library.bind("fft_analyzer_delete", found.analyzerDelete) &
            state.library.bind("fft_analyzer_set_samples", found.setSamples) &
            state.library.bind("fft_analyzer_get_spectrum", found.getSpectrum) &
            state.library.bind("fft_analyzer_interpolate_samples_signed", found.interpolateSigned) &
            state.library.bind("fft_analyzer_interpolate_samples_unsigned", found.interpolateUnsigned);
        if (!complete) {
            state.library.unload();
            return false;
        }
        state.functions = found;
        state.bound = true;
    }
    functions = state.functions;
    return true;
}

void setSpectrumLibraryName(const std::string& name) {
    Binding& state = binding();
    std::lock_guard lock(state.mutex);
    state.libraryName = name;
    state.functions = {};
    state.bound = false;
    state.library.unload();
}

} // namespace engine
