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

template <typename Function> bool lookUp(const platform::SharedLibrary& library, const char* name, Function& target) {
    target = reinterpret_cast<Function>(library.symbol(name));
    return target != nullptr;
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
            lookUp(state.library, "fft_analyzer_new", found.analyzerNew) &
            lookUp(state.library, "fft_analyzer_delete", found.analyzerDelete) &
            lookUp(state.library, "fft_analyzer_set_samples", found.setSamples) &
            lookUp(state.library, "fft_analyzer_get_spectrum", found.getSpectrum) &
            lookUp(state.library, "fft_analyzer_interpolate_samples_signed", found.interpolateSigned) &
            lookUp(state.library, "fft_analyzer_interpolate_samples_unsigned", found.interpolateUnsigned);
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
