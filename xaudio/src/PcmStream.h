#pragma once

#include "AudioStream.h"
#include "BandEqualizer.h"
#include "PcmSource.h"

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace xaudio {

// A file decoded by a library that gives plain PCM (WAV, FLAC, Ogg Vorbis,
// Ogg Opus), with the shared band equalizer in place of a decoder's own.
// Files of more than two channels play their first two. Not thread-safe:
// one thread at a time (the owner serialises access); the getters may be
// read from any thread, as nothing they report changes after construction.
class PcmStream final : public AudioStream {
public:
    // fileBytes gives compressed files their average bit rate.
    PcmStream(std::unique_ptr<PcmSource> source, int64_t fileBytes, SampleFormat format);

    int decodeFrame(const void** pcm, size_t* frames) override;
    int seekToFrame(int64_t frame) override;
    int64_t positionFrames() const override { return m_positionFrames; }
    void setEqualizer(const int8_t* left, const int8_t* right) override;

    int sampleRateHz() const override { return m_sampleRateHz; }
    int channels() const override { return m_channels; }
    int bitRateKbps() const override { return m_bitRateKbps; }
    int64_t lengthFrames() const override { return m_lengthFrames; }

private:
    static constexpr size_t kBlockFrames = 1024;
    static constexpr int64_t kUnknownEnd = std::numeric_limits<int64_t>::max();

    // Reads up to `frames` frames from the file as this stream's channels;
    // returns how many were read.
    size_t readFrames(float* destination, size_t frames);
    // The same for 16-bit output without the equalizer, into m_pcm16.
    size_t readInt16Frames(size_t frames);
    template <typename Sample>
    size_t readChannels(Sample* destination, std::vector<Sample>& fileSamples, size_t frames);
    // Runs the file through the equalizer into m_work until a block is full
    // or the stream has ended; returns the frames ready.
    size_t equalizedBlock();
    void publish(size_t frames, const void** pcm);

    std::unique_ptr<PcmSource> m_source;
    int m_fileChannels = 0;
    int m_sampleRateHz = 0;
    int m_channels = 0;
    int m_bitRateKbps = 0;
    int64_t m_lengthFrames = 0;
    int64_t m_positionFrames = 0;

    bool m_equalizerOn = false;
    BandEqualizer m_equalizer;
    // With the equalizer on, the file is read ahead of what is handed out
    // by the equalizer's latency: the file frame the next hop starts at, and
    // the file's end once it was reached.
    int64_t m_readFrame = 0;
    int64_t m_endFrame = kUnknownEnd;

    std::vector<float> m_fileSamples;
    std::vector<int16_t> m_fileSamples16;
    std::array<float, BandEqualizer::kHopFrames * 2> m_hop{};
    std::array<float, kBlockFrames * 2> m_work{};
    std::array<int16_t, kBlockFrames * 2> m_pcm16{};
};

} // namespace xaudio
