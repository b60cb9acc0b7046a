// The spectrum analyser's C entry points.
#include "FftAnalyzer.h"
#include "xaudio.h"

#include <memory>
#include <new>

struct XA_FftAnalyzer {
    xaudio::FftAnalyzer analyzer;
};

extern "C" XA_EXPORT int fft_analyzer_new(XA_FftAnalyzer** analyzer) {
    if (analyzer == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    *analyzer = new (std::nothrow) XA_FftAnalyzer();
    return *analyzer != nullptr ? XA_SUCCESS : XA_ERROR_OUT_OF_MEMORY;
}

extern "C" XA_EXPORT int fft_analyzer_delete(XA_FftAnalyzer* analyzer) {
    if (analyzer == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    std::unique_ptr<XA_FftAnalyzer> owner(analyzer);
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int fft_analyzer_set_samples(XA_FftAnalyzer* analyzer, const int8_t* samples, uint32_t count) {
    if (analyzer == nullptr || (samples == nullptr && count > 0))
        return XA_ERROR_INVALID_PARAMETERS;
    analyzer->analyzer.setSamples(samples, count);
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int fft_analyzer_get_spectrum(XA_FftAnalyzer* analyzer, uint8_t* spectrum) {
    if (analyzer == nullptr || spectrum == nullptr)
        return XA_ERROR_INVALID_PARAMETERS;
    analyzer->analyzer.spectrum(spectrum);
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int fft_analyzer_interpolate_samples_signed(const int8_t* samples, uint32_t count, int8_t* output,
                                                                 uint32_t width) {
    if ((samples == nullptr && count > 0) || (output == nullptr && width > 0))
        return XA_ERROR_INVALID_PARAMETERS;
    xaudio::interpolateSamples(samples, count, output, width);
    return XA_SUCCESS;
}

extern "C" XA_EXPORT int fft_analyzer_interpolate_samples_unsigned(const uint8_t* samples, uint32_t count,
                                                                   uint8_t* output, uint32_t width) {
    if ((samples == nullptr && count > 0) || (output == nullptr && width > 0))
        return XA_ERROR_INVALID_PARAMETERS;
    xaudio::interpolateSamples(samples, count, output, width);
    return XA_SUCCESS;
}
