#pragma once

#include "PcmSource.h"

#include <memory>
#include <string>

struct sf_private_tag;

namespace xaudio {

// WAV, FLAC and Ogg Opus through libsndfile.
class SndfileSource final : public PcmSource {
public:
    // Null when libsndfile cannot read the file or cannot seek in it.
    static std::unique_ptr<SndfileSource> open(const std::string& path);
    ~SndfileSource() override;
    SndfileSource(const SndfileSource&) = delete;
    SndfileSource& operator=(const SndfileSource&) = delete;

    int channels() const override { return m_channels; }
    int sampleRateHz() const override { return m_sampleRateHz; }
    int64_t lengthFrames() const override { return m_lengthFrames; }
    int pcmBits() const override { return m_pcmBits; }
    size_t read(float* interleaved, size_t frames) override;
    size_t read(int16_t* interleaved, size_t frames) override;
    bool seek(int64_t frame) override;

private:
    SndfileSource() = default;

    sf_private_tag* m_file = nullptr;
    int m_channels = 0;
    int m_sampleRateHz = 0;
    int64_t m_lengthFrames = 0;
    int m_pcmBits = 0;
};

} // namespace xaudio
