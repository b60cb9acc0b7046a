#pragma once

#include <cstddef>
#include <cstdint>

namespace xaudio {

// A decoder library's view of one open file: interleaved float frames in the
// file's own channel count, and exact seeking. Not thread-safe.
class PcmSource {
public:
    virtual ~PcmSource() = default;

    virtual int channels() const = 0;
    virtual int sampleRateHz() const = 0;
    virtual int64_t lengthFrames() const = 0;
    // Bits per sample of uncompressed audio; 0 for compressed formats.
    virtual int pcmBits() const = 0;

    // Read up to `frames` frames; fewer only at the end of the file. 16-bit
    // samples come straight from the library, without a float step between.
    virtual size_t read(float* interleaved, size_t frames) = 0;
    virtual size_t read(int16_t* interleaved, size_t frames) = 0;
    // The next read starts exactly at `frame`; false when that failed.
    virtual bool seek(int64_t frame) = 0;
};

} // namespace xaudio
