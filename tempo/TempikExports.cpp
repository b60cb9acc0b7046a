// The library's C interface: thin wrappers that never let an exception out.
#include "EngineMeasurement.h"
#include "TBeatAnalyser.h"
#include "TFFT.h"
#include "WavReader.h"
#include "XAudSync.h"
#include "tempik.h"

#include <memory>

namespace {

// The engine is bound once when the library is loaded; IsXAudioAvailable
// retries a binding that failed.
const bool kEngineBoundAtLoad = [] {
    try {
        return tempo::engineBinding().bind();
    } catch (...) {
        return false;
    }
}();

void report(double* quality, double value) {
    if (quality != nullptr)
        *quality = value;
}

double finish(const tempo::Measurement& measurement, double* quality) {
    report(quality, measurement.quality);
    return measurement.bpm;
}

tempo::Measurement measureWithEngine(const char* fileName, double minBpm, double maxBpm, double* progress) {
    tempo::XAudioBinding& binding = tempo::engineBinding();
    if (!binding.isBound())
        return {};
    return tempo::measureWithEngine(binding.entryPoints(), fileName, minBpm, maxBpm, progress);
}

} // namespace

extern "C" {

TEMPIK_EXPORT TFFT* FFTObjectCreate(int32_t Bits) {
    try {
        return std::make_unique<TFFT>(Bits).release();
    } catch (...) {
        return nullptr;
    }
}

TEMPIK_EXPORT void FFTObjectFFT(TFFT* object, int16_t* values) {
    if (object != nullptr && values != nullptr)
        object->FFT(values);
}

TEMPIK_EXPORT void FFTObjectFree(TFFT* object) {
    std::unique_ptr<TFFT> owned(object);
}

TEMPIK_EXPORT TBeatAnalyser* BeatAnalyserObjectCreate(TBeatAnalyserParams params) {
    try {
        return std::make_unique<TBeatAnalyser>(params).release();
    } catch (...) {
        return nullptr;
    }
}

TEMPIK_EXPORT void BeatAnalyserObjectGetNextSample(TBeatAnalyser* object) {
    if (object == nullptr)
        return;
    try {
        object->GetNextSample();
    } catch (...) {
        // The caller's read procedure threw: the exception must not unwind
        // through its C caller, and a half-read block is no measurement.
        object->Abandon();
    }
}

TEMPIK_EXPORT double BeatAnalyserObjectCalcBpm(TBeatAnalyser* object, double* quality) {
    double value = 0;
    double bpm = 0;
    if (object != nullptr) {
        try {
            bpm = object->CalcBpm(value);
        } catch (...) {
            bpm = 0;
            value = 0;
        }
    }
    report(quality, value);
    return bpm;
}

TEMPIK_EXPORT void BeatAnalyserObjectFree(TBeatAnalyser* object) {
    std::unique_ptr<TBeatAnalyser> owned(object);
}

TEMPIK_EXPORT double BeatGetBpmFromFileXAudio(const char* fileName, double MinBpm, double MaxBpm, double* progress,
                                              double* quality) {
    try {
        return finish(measureWithEngine(fileName, MinBpm, MaxBpm, progress), quality);
    } catch (...) {
        return finish({}, quality);
    }
}

TEMPIK_EXPORT double BeatGetBpmFromFile(const char* fileName, double MinBpm, double MaxBpm, double* progress,
                                        double* quality) {
    try {
        auto otherwise = [&] { return measureWithEngine(fileName, MinBpm, MaxBpm, progress); };
        return finish(tempo::measureWavFile(fileName, MinBpm, MaxBpm, progress, otherwise), quality);
    } catch (...) {
        return finish({}, quality);
    }
}

TEMPIK_EXPORT bool IsXAudioAvailable(void) {
    try {
        return tempo::engineBinding().bind();
    } catch (...) {
        return false;
    }
}

} // extern "C"
