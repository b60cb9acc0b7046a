#include "AudioStream.h"

#include <cmath>

namespace xaudio {
uint32_t AudioStream::durationSeconds() const {
    const int rate = sampleRateHz();
    if (rate <= 0)
        return 0;
    return static_cast<uint32_t>(std::llround(static_cast<double>(lengthFrames()) / rate));
}

size_t AudioStream::bytesPerFrame() const {
    if (m_format == SampleFormat::FloatStereo)
        return 2 * sizeof(float);
    const int count = channels();
    return static_cast<size_t>(count > 0 ? count : 1) * sizeof(int16_t);
}

} // namespace xaudio
