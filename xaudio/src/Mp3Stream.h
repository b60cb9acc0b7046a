#pragma once

#include "AudioStream.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct mpg123_handle_struct;

namespace xaudio {

// One MPEG audio file opened with libmpg123, with libmpg123's own 32-band
// equalizer. Not thread-safe: one thread at a time (the owner serialises
// access).
class Mp3Stream final : public AudioStream {
public:
    explicit Mp3Stream(SampleFormat format) : AudioStream(format) {}
    ~Mp3Stream() override;
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;

    // Opens the file and checks that it holds MPEG audio; scans it so the
    // length is exact also for VBR files without an index.
    int open(const std::string& path);
    void close();

    // Damaged frames are skipped; a frame that gapless trimming removed
    // entirely comes out as 0 frames.
    int decodeFrame(const void** pcm, size_t* frames) override;
    int seekToFrame(int64_t frame) override;
    int64_t positionFrames() const override;
    // The table is kept and applies to every file opened later.
    void setEqualizer(const int8_t* left, const int8_t* right) override;

    // The rate and channel count may change between frames (a stream that
    // switches format).
    int sampleRateHz() const override { return m_sampleRateHz.load(std::memory_order_relaxed); }
    int channels() const override { return m_channels.load(std::memory_order_relaxed); }
    int bitRateKbps() const override { return m_bitRateKbps; }
    int64_t lengthFrames() const override { return m_lengthFrames; }

private:
    int readFormat();
    void applyEqualizer();

    mpg123_handle_struct* m_handle = nullptr;
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

// libmpg123's one-time library set-up, safe to call from any thread.
void initializeMpg123();

} // namespace xaudio
