// A stand-in for the engine's spectrum functions, loaded by name like the
// engine. Band k of the spectrum is twice the magnitude of sample k (0 past
// the samples given); interpolation picks the nearest sample. Extra exports
// let tests count analysers, make creation fail and see what was passed.
#include "xaudio.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

struct XA_FftAnalyzer {
    uint8_t bands[XA_FFT_BANDS] = {};
};

namespace {
std::atomic<int> liveAnalyzers{0};
std::atomic<int> creations{0};
std::atomic<int> failingCreation{-1};
std::atomic<uint32_t> lastSampleCount{0};
} // namespace

extern "C" {

XA_EXPORT int fake_spectrum_live_analyzers() {
    return liveAnalyzers.load();
}
XA_EXPORT uint32_t fake_spectrum_last_sample_count() {
    return lastSampleCount.load();
}
// The creation with this number (0 = the next one) fails with -2.
XA_EXPORT void fake_spectrum_fail_creation(int number) {
    creations = 0;
    failingCreation = number;
}

XA_EXPORT int fft_analyzer_new(XA_FftAnalyzer** analyzer) {
    if (analyzer == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    if (creations++ == failingCreation.load())
        return XA_ERROR_OUT_OF_MEMORY;
    *analyzer = new XA_FftAnalyzer;
    ++liveAnalyzers;
    return XA_SUCCESS;
}

XA_EXPORT int fft_analyzer_delete(XA_FftAnalyzer* analyzer) {
    if (analyzer == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    delete analyzer;
    --liveAnalyzers;
    return XA_SUCCESS;
}

XA_EXPORT int fft_analyzer_set_samples(XA_FftAnalyzer* analyzer, const int8_t* samples, uint32_t count) {
    if (analyzer == nullptr || samples == nullptr || count > XA_FFT_MAX_SAMPLES)
        return XA_ERROR_INVALID_PARAMETERS;
    lastSampleCount = count;
    for (uint32_t band = 0; band < XA_FFT_BANDS; ++band)
        analyzer->bands[band] =
            band < count ? static_cast<uint8_t>(std::min(255, 2 * std::abs(static_cast<int>(samples[band])))) : 0;
    return XA_SUCCESS;
}

XA_EXPORT int fft_analyzer_get_spectrum(XA_FftAnalyzer* analyzer, uint8_t* spectrum) {
    if (analyzer == nullptr || spectrum == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    std::copy(analyzer->bands, analyzer->bands + XA_FFT_BANDS, spectrum);
    return XA_SUCCESS;
}

XA_EXPORT int fft_analyzer_interpolate_samples_signed(const int8_t* samples, uint32_t count, int8_t* output,
                                                      uint32_t width) {
    if (samples == nullptr || output == nullptr || count == 0)
        return XA_ERROR_INVALID_PARAMETERS;
    for (uint32_t i = 0; i < width; ++i)
        output[i] = samples[static_cast<uint64_t>(i) * count / width];
    return XA_SUCCESS;
}

#ifndef FAKE_SPECTRUM_WITHOUT_UNSIGNED
XA_EXPORT int fft_analyzer_interpolate_samples_unsigned(const uint8_t*, uint32_t, uint8_t*, uint32_t) {
    return XA_FAILURE;
}
#endif
}
