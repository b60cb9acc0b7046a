#pragma once

#include "AnalysisRun.h"
#include "XAudSync.h"

namespace tempo {

// Measures a file the engine decodes: the opening 2^floor(log2(frames))
// frames, where frames = (duration in seconds - 1) x output rate. Nothing is
// measured when the engine cannot open or decode the file or the stream is
// too short. A stream that ends before the span is analysed as if silence
// followed. Throws only std::bad_alloc.
Measurement measureWithEngine(const XAudioEntryPoints& engine, const char* fileName, double minBpm, double maxBpm,
                              double* progress);

} // namespace tempo
