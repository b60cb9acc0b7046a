#include "VorbisSource.h"

#include <algorithm>
#include <bit>
#include <vector>

// Only ov_fopen is used; the header's static callback tables would be unused.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace xaudio {
namespace {

// A damaged stream reports holes; a long run of them without audio ends it.
constexpr int kMaxConsecutiveHoles = 64;

} // namespace

VorbisSource::VorbisSource() : m_file(std::make_unique<OggVorbis_File>()) {}

std::unique_ptr<VorbisSource> VorbisSource::open(const std::string& path) {
    std::unique_ptr<VorbisSource> source(new VorbisSource);
    if (ov_fopen(path.c_str(), source->m_file.get()) != 0)
        return nullptr;
    source->m_open = true;
    const vorbis_info* info = ov_info(source->m_file.get(), -1);
    const ogg_int64_t total = ov_pcm_total(source->m_file.get(), -1);
    if (info == nullptr || info->channels <= 0 || info->rate <= 0 || ov_seekable(source->m_file.get()) == 0 ||
        total < 0)
        return nullptr;
    source->m_channels = info->channels;
    source->m_sampleRateHz = static_cast<int>(info->rate);
    source->m_lengthFrames = total;
    return source;
}

VorbisSource::~VorbisSource() {
    if (m_open)
        ov_clear(m_file.get());
}

size_t VorbisSource::read(float* interleaved, size_t frames) {
    size_t done = 0;
    int holes = 0;
    while (done < frames) {
        float** channels = nullptr;
        int section = 0;
        const long read = ov_read_float(m_file.get(), &channels, static_cast<int>(frames - done), &section);
        if (read == OV_HOLE && ++holes <= kMaxConsecutiveHoles)
            continue;
        if (read <= 0)
            break;
        holes = 0;
        // A chained file may switch channel counts between its parts; the
        // first part's count stays, missing channels are silent.
        const vorbis_info* info = ov_info(m_file.get(), section);
        const int available = info != nullptr ? std::min(info->channels, m_channels) : 0;
        for (long frame = 0; frame < read; ++frame) {
            float* out = interleaved + (done + static_cast<size_t>(frame)) * static_cast<size_t>(m_channels);
            for (int channel = 0; channel < m_channels; ++channel)
                out[channel] = channel < available ? channels[channel][frame] : 0.0f;
        }
        done += static_cast<size_t>(read);
    }
    return done;
}

size_t VorbisSource::read(int16_t* interleaved, size_t frames) {
    // libvorbisfile gives 16-bit audio in the channel count of the part being
    // read; a chained file that changes it is read through the float path.
    if (const vorbis_info* info = ov_info(m_file.get(), -1); info == nullptr || info->channels != m_channels) {
        std::vector<float> samples(frames * static_cast<size_t>(m_channels));
        const size_t read = this->read(samples.data(), frames);
        for (size_t index = 0; index < read * static_cast<size_t>(m_channels); ++index)
            interleaved[index] = static_cast<int16_t>(std::clamp(samples[index] * 32768.0f, -32768.0f, 32767.0f));
        return read;
    }
    const auto frameBytes = static_cast<size_t>(m_channels) * sizeof(int16_t);
    auto* bytes = reinterpret_cast<char*>(interleaved);
    size_t done = 0;
    int holes = 0;
    while (done < frames * frameBytes) {
        int section = 0;
        const long read = ov_read(m_file.get(), bytes + done, static_cast<int>(frames * frameBytes - done),
                                  std::endian::native == std::endian::big ? 1 : 0, sizeof(int16_t), 1, &section);
        if (read == OV_HOLE && ++holes <= kMaxConsecutiveHoles)
            continue;
        if (read <= 0)
            break;
        holes = 0;
        done += static_cast<size_t>(read);
    }
    return done / frameBytes;
}

bool VorbisSource::seek(int64_t frame) {
    return ov_pcm_seek(m_file.get(), static_cast<ogg_int64_t>(frame)) == 0;
}

} // namespace xaudio
