#include "AnalysisRun.h"

#include "TBeatAnalyser.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace tempo {

int historyBitsForFrames(int64_t frames) {
    if (frames <= 0)
        return -1;
    const double log2Frames = std::log(static_cast<double>(frames)) * 1.4426950408889634073;
    return static_cast<int>(log2Frames) - 9;
}

bool standardParams(int64_t frames, double minBpm, double maxBpm, TBeatAnalyserParams& params) {
    const int historyBits = historyBitsForFrames(frames);
    if (historyBits < 2 || historyBits > TBeatAnalyser::kMaxHistoryBits)
        return false;
    params.BlockBits = 9;
    params.DecimationBits = 4;
    params.HistoryBits = historyBits;
    params.EnvelopeBits = 2;
    params.Enabled = 1;
    params.SmoothThreshold = 0.015;
    params.MaxSmoothPasses = 30;
    params.ConsensusTolerance = 0.2;
    params.MinBpm = minBpm;
    params.MaxBpm = maxBpm;
    return true;
}

void storeProgress(double* progress, double value) {
    if (progress == nullptr)
        return;
    if (reinterpret_cast<uintptr_t>(progress) % std::atomic_ref<double>::required_alignment == 0)
        std::atomic_ref<double>(*progress).store(value, std::memory_order_relaxed);
    else
        std::memcpy(progress, &value, sizeof value);
}

double analyserTimeScale(int32_t sampleRate, int32_t decimationBits) {
    // Time is counted as if the working rate were 44100 Hz: right for 44100
    // and 22050, but 48000 would read 9 % slow and 32000 31 %.
    constexpr double kAnalyserRateHz = 44100.0;
    if (sampleRate <= 0)
        return 1.0;
    return kAnalyserRateHz / static_cast<double>(TBeatAnalyser::workingRate(sampleRate, decimationBits).rateHz);
}

Measurement runAnalysis(TBeatAnalyserParams params, double* progress, const bool* failed) {
    // The tempo range is searched on the analyser's time scale and the
    // result turned back, so a tempo reads the same at every sample rate.
    const double timeScale = analyserTimeScale(params.SampleRate, params.DecimationBits);
    params.MinBpm *= timeScale;
    params.MaxBpm *= timeScale;
    TBeatAnalyser analyser(params);
    const int64_t blocks = int64_t{1} << params.HistoryBits;
    for (int64_t i = 0; i < blocks; ++i) {
        analyser.GetNextSample();
        if (failed != nullptr && *failed)
            return {};
        storeProgress(progress, static_cast<double>(i) / static_cast<double>(blocks - 1));
    }
    Measurement result;
    result.bpm = analyser.CalcBpm(result.quality) / timeScale;
    return result;
}

} // namespace tempo
