#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace xaudio {

// The PCM layout a stream decodes to.
enum class SampleFormat {
    // 32-bit float, always two channels (mono streams are duplicated).
    FloatStereo,
    // 16-bit signed, the stream's own channel count (at most two).
    Int16Native,
};

// One open audio file, whatever its format. Not thread-safe: one thread at
// a time (the owner serialises access), except for the getters marked
// otherwise. Every operation returns an XA_ status.
class AudioStream {
public:
    static constexpr int kEqualizerBands = 32;

    virtual ~AudioStream() = default;

    // Decodes the next block. On XA_SUCCESS *pcm points at frames x channels
    // samples owned by the stream, valid until the next call; never more than
    // kMaxBlockFrames frames, and possibly 0. XA_ERROR_END_OF_STREAM at the
    // end.
    virtual int decodeFrame(const void** pcm, size_t* frames) = 0;
    // Moves to a sample frame; the next decodeFrame starts there.
    virtual int seekToFrame(int64_t frame) = 0;
    // The sample frame the next decodeFrame starts at.
    virtual int64_t positionFrames() const = 0;

    // 32 levels per channel (see XA_EqualizerInfo); nullptr switches the
    // equalizer off. Heard from the next decoded block on.
    virtual void setEqualizer(const int8_t* left, const int8_t* right) = 0;

    // The rate and channel count may be read by another thread than the
    // decoding one.
    virtual int sampleRateHz() const = 0;
    virtual int channels() const = 0;
    virtual int bitRateKbps() const = 0;
    virtual int64_t lengthFrames() const = 0;

    // Rounded to whole seconds.
    uint32_t durationSeconds() const;
    size_t bytesPerFrame() const;

    static constexpr size_t kMaxBlockFrames = 1152;

protected:
    explicit AudioStream(SampleFormat format) : m_format(format) {}
    SampleFormat format() const { return m_format; }

private:
    SampleFormat m_format;
};

// The levels an equalizer table holds, or none while it is off.
struct EqualizerLevels {
    const int8_t* left = nullptr;
    const int8_t* right = nullptr;
};

} // namespace xaudio
