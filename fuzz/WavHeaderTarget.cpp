// WAV files measured directly: any header and any length end in a tempo, in
// "not measured" or in the hand-over to the engine path.
#include "FuzzTarget.h"

#include "MemoryFile.h"

#include "WavReader.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= tempo::WavHeader::kBytes) {
        const tempo::WavHeader header = tempo::WavHeader::parse(data);
        (void)header.isCanonicalPcm();
    }
    const fuzzing::MemoryFile file(data, size);
    double progress = -1;
    const tempo::Measurement result =
        tempo::measureWavFile(file.path().c_str(), 60, 200, &progress, [] { return tempo::Measurement{}; });
    if (!std::isfinite(result.bpm) || result.bpm < 0 || !(result.quality >= 0 && result.quality <= 1))
        std::abort();
    return 0;
}
