#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct mpg123_handle_struct;

namespace xaudio {

// The PCM layout an Mp3Stream decodes to.
enum class SampleFormat {
    // 32-bit float, always two channels (mono streams are duplicated).
    FloatStereo,
    // 16-bit signed, the stream's own channel count.
    Int16Native,
};

// One MPEG audio file opened with libmpg123. Not thread-safe: one thread at a
// time (the owner serialises access). Every operation returns an XA_ status.
class Mp3Stream {
public:
    Mp3Stream() = default;
    ~Mp3Stream();
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;

    // Opens the file and checks that it holds MPEG audio; scans it so the
    // length is exact also for VBR files without an index.
    int open(const std::string& path, SampleFormat format);
    void close();
    bool isOpen() const { return m_handle != nullptr; }

    // Decodes the next frame. On XA_SUCCESS *pcm points at frames x channels
    // samples owned by the stream, valid until the next call; frames may be 0
    // for a frame that gapless trimming removed entirely. Damaged frames are
    // skipped. XA_ERROR_END_OF_STREAM at the end.
    int decodeFrame(const void** pcm, size_t* frames);
    // Moves to a sample frame; the next decodeFrame starts there.
    int seekToFrame(int64_t frame);
    // The sample frame the next decodeFrame starts at.
    int64_t positionFrames() const;

    // 32 levels per channel (see XA_EqualizerInfo); nullptr switches the equalizer off.
    // The table is kept and applies to every file opened later.
    void setEqualizer(const int8_t* left, const int8_t* right);

    // The rate and channel count may change between frames (a stream that
    // switches format); they may be read by another thread than the decoding
    // one.
    int sampleRateHz() const { return m_sampleRateHz.load(std::memory_order_relaxed); }
    int channels() const { return m_channels.load(std::memory_order_relaxed); }
    int bitRateKbps() const { return m_bitRateKbps; }
    int64_t lengthFrames() const { return m_lengthFrames; }
    // Rounded to whole seconds.
    uint32_t durationSeconds() const;
    size_t bytesPerFrame() const;

    static constexpr int kEqualizerBands = 32;

private:
    int readFormat();
    void applyEqualizer();

    mpg123_handle_struct* m_handle = nullptr;
    SampleFormat m_format = SampleFormat::FloatStereo;
    std::atomic<int> m_sampleRateHz{0};
    std::atomic<int> m_channels{0};
    int m_bitRateKbps = 0;
    int64_t m_lengthFrames = 0;
    int64_t m_fileBytes = 0;
    int m_consecutiveErrors = 0;
    bool m_equalizerOn = false;
    std::array<int8_t, kEqualizerBands> m_equalizerLeft{};
    std::array<int8_t, kEqualizerBands> m_equalizerRight{};
};

// Whether the bytes (the start of a file, after its ID3v2 tags) hold MPEG
// audio: a frame header followed by further frames exactly where the
// previous one ends. Any thread; does not allocate.
bool startsWithMpegAudio(std::string_view data);

// The linear gain of an equalizer level: cuts 1/4 dB, boosts 1/8 dB per unit.
double equalizerFactor(int level);

// libmpg123's one-time library set-up, safe to call from any thread.
void initializeMpg123();

} // namespace xaudio
