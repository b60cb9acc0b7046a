#pragma once

#include "PcmSource.h"

#include <memory>
#include <string>

struct OggVorbis_File;

namespace xaudio {

// Ogg Vorbis through libvorbisfile, whose seeking is sample-exact (the
// Vorbis seek of libsndfile 1.2.0 lands thousands of frames off).
class VorbisSource final : public PcmSource {
public:
    // Null when the file is no seekable Ogg Vorbis stream.
    static std::unique_ptr<VorbisSource> open(const std::string& path);
    ~VorbisSource() override;
    VorbisSource(const VorbisSource&) = delete;
    VorbisSource& operator=(const VorbisSource&) = delete;

    int channels() const override { return m_channels; }
    int sampleRateHz() const override { return m_sampleRateHz; }
    int64_t lengthFrames() const override { return m_lengthFrames; }
    int pcmBits() const override { return 0; }
    size_t read(float* interleaved, size_t frames) override;
    size_t read(int16_t* interleaved, size_t frames) override;
    bool seek(int64_t frame) override;

private:
    VorbisSource();

    std::unique_ptr<OggVorbis_File> m_file;
    bool m_open = false;
    int m_channels = 0;
    int m_sampleRateHz = 0;
    int64_t m_lengthFrames = 0;
};

} // namespace xaudio
