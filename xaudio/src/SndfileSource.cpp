#include "SndfileSource.h"

#include <cstdio>
#include <sndfile.h>

namespace xaudio {
namespace {

// Bits per sample of the encodings a WAV file stores uncompressed; 0 for
// the others, whose bit rate is measured from the file's size instead.
int wavPcmBits(int format) {
    if ((format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV)
        return 0;
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
        return 8;
    case SF_FORMAT_PCM_16:
        return 16;
    case SF_FORMAT_PCM_24:
        return 24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 32;
    case SF_FORMAT_DOUBLE:
        return 64;
    default:
        return 0;
    }
}

} // namespace

std::unique_ptr<SndfileSource> SndfileSource::open(const std::string& path) {
    std::unique_ptr<SndfileSource> source(new SndfileSource);
    SF_INFO info{};
    source->m_file = sf_open(path.c_str(), SFM_READ, &info);
    if (source->m_file == nullptr || info.channels <= 0 || info.samplerate <= 0 || info.frames < 0 ||
        info.seekable == 0)
        return nullptr;
    source->m_channels = info.channels;
    source->m_sampleRateHz = info.samplerate;
    source->m_lengthFrames = info.frames;
    source->m_pcmBits = wavPcmBits(info.format);
    return source;
}

SndfileSource::~SndfileSource() {
    if (m_file != nullptr)
        sf_close(m_file);
}

size_t SndfileSource::read(float* interleaved, size_t frames) {
    const sf_count_t read = sf_readf_float(m_file, interleaved, static_cast<sf_count_t>(frames));
    return read > 0 ? static_cast<size_t>(read) : 0;
}

size_t SndfileSource::read(int16_t* interleaved, size_t frames) {
    const sf_count_t read = sf_readf_short(m_file, interleaved, static_cast<sf_count_t>(frames));
    return read > 0 ? static_cast<size_t>(read) : 0;
}

bool SndfileSource::seek(int64_t frame) {
    return sf_seek(m_file, static_cast<sf_count_t>(frame), SEEK_SET) >= 0;
}

} // namespace xaudio
