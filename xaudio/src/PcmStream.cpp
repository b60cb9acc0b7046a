#include "PcmStream.h"

#include "xaudio.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace xaudio {
namespace {

// Rounds half away from zero; plain arithmetic the compiler can vectorise,
// where std::lrint is a library call per sample.
int16_t toInt16(float sample) {
    const float scaled = std::clamp(sample * 32768.0f, -32768.0f, 32767.0f);
    return static_cast<int16_t>(scaled + (scaled < 0.0f ? -0.5f : 0.5f));
}

} // namespace

PcmStream::PcmStream(std::unique_ptr<PcmSource> source, int64_t fileBytes, SampleFormat format)
    : AudioStream(format), m_source(std::move(source)) {
    m_fileChannels = m_source->channels();
    m_channels = std::min(m_fileChannels, 2);
    m_sampleRateHz = m_source->sampleRateHz();
    m_lengthFrames = m_source->lengthFrames();
    m_fileSamples.assign(kBlockFrames * static_cast<size_t>(m_fileChannels), 0.0f);
    m_fileSamples16.assign(kBlockFrames * static_cast<size_t>(m_fileChannels), 0);
    if (const int bits = m_source->pcmBits(); bits > 0) {
        m_bitRateKbps =
            static_cast<int>(std::lround(static_cast<double>(m_sampleRateHz) * m_fileChannels * bits / 1000.0));
    } else if (m_lengthFrames > 0 && m_sampleRateHz > 0) {
        const double seconds = static_cast<double>(m_lengthFrames) / m_sampleRateHz;
        m_bitRateKbps = static_cast<int>(std::lround(static_cast<double>(fileBytes) * 8.0 / seconds / 1000.0));
    }
}

template <typename Sample>
size_t PcmStream::readChannels(Sample* destination, std::vector<Sample>& fileSamples, size_t frames) {
    frames = std::min(frames, kBlockFrames);
    if (m_fileChannels == m_channels)
        return m_source->read(destination, frames);
    const size_t read = m_source->read(fileSamples.data(), frames);
    const auto fileChannels = static_cast<size_t>(m_fileChannels);
    const auto channels = static_cast<size_t>(m_channels);
    for (size_t frame = 0; frame < read; ++frame) {
        for (size_t channel = 0; channel < channels; ++channel)
            destination[frame * channels + channel] = fileSamples[frame * fileChannels + channel];
    }
    return read;
}

size_t PcmStream::readFrames(float* destination, size_t frames) {
    return readChannels(destination, m_fileSamples, frames);
}

size_t PcmStream::readInt16Frames(size_t frames) {
    return readChannels(m_pcm16.data(), m_fileSamples16, frames);
}

size_t PcmStream::equalizedBlock() {
    constexpr auto kHop = static_cast<int64_t>(BandEqualizer::kHopFrames);
    const auto channels = static_cast<size_t>(m_channels);
    size_t produced = 0;
    while (produced + BandEqualizer::kHopFrames <= kBlockFrames) {
        // The hop read now completes the equalizer's output for the hop
        // before it.
        const int64_t hopStart = m_readFrame;
        const int64_t outputStart = hopStart - kHop;
        if (outputStart >= m_endFrame)
            break;
        size_t read = 0;
        if (m_endFrame == kUnknownEnd) {
            read = readFrames(m_hop.data(), BandEqualizer::kHopFrames);
            if (read < BandEqualizer::kHopFrames)
                m_endFrame = hopStart + static_cast<int64_t>(read);
        }
        std::fill(m_hop.begin() + static_cast<std::ptrdiff_t>(read * channels), m_hop.end(), 0.0f);
        m_equalizer.process(m_hop.data(), m_channels);
        m_readFrame += kHop;
        // Frames before the position are the run-up after a seek; frames
        // past the end are the equalizer's ringing into the padding.
        const int64_t first = std::max(outputStart, m_positionFrames);
        const int64_t last = std::min(hopStart, m_endFrame);
        if (last <= first)
            continue;
        const auto count = static_cast<size_t>(last - first);
        std::memcpy(m_work.data() + produced * channels,
                    m_hop.data() + static_cast<size_t>(first - outputStart) * channels,
                    count * channels * sizeof(float));
        produced += count;
        m_positionFrames += static_cast<int64_t>(count);
    }
    return produced;
}

int PcmStream::decodeFrame(const void** pcm, size_t* frames) {
    *pcm = nullptr;
    *frames = 0;
    if (!m_equalizerOn && format() == SampleFormat::Int16Native) {
        // The analysis path: 16-bit samples as the library decodes them.
        const size_t ready = readInt16Frames(kBlockFrames);
        m_positionFrames += static_cast<int64_t>(ready);
        if (ready == 0)
            return XA_ERROR_END_OF_STREAM;
        *pcm = m_pcm16.data();
        *frames = ready;
        return XA_SUCCESS;
    }
    size_t ready = 0;
    if (m_equalizerOn) {
        ready = equalizedBlock();
    } else {
        ready = readFrames(m_work.data(), kBlockFrames);
        m_positionFrames += static_cast<int64_t>(ready);
    }
    if (ready == 0)
        return XA_ERROR_END_OF_STREAM;
    publish(ready, pcm);
    *frames = ready;
    return XA_SUCCESS;
}

void PcmStream::publish(size_t frames, const void** pcm) {
    if (format() == SampleFormat::Int16Native) {
        const size_t samples = frames * static_cast<size_t>(m_channels);
        for (size_t index = 0; index < samples; ++index)
            m_pcm16[index] = toInt16(m_work[index]);
        *pcm = m_pcm16.data();
        return;
    }
    if (m_channels == 1) {
        // Backwards, so that every sample is read before it is overwritten.
        for (size_t frame = frames; frame-- > 0;) {
            const float sample = m_work[frame];
            m_work[frame * 2] = sample;
            m_work[frame * 2 + 1] = sample;
        }
    }
    *pcm = m_work.data();
}

int PcmStream::seekToFrame(int64_t frame) {
    frame = std::clamp<int64_t>(frame, 0, m_lengthFrames);
    // The equalizer's first window needs the audio from one latency before
    // the position; before the start of the file it hears silence.
    const int64_t readFrom =
        m_equalizerOn ? std::max<int64_t>(frame - static_cast<int64_t>(BandEqualizer::kLatencyFrames), 0) : frame;
    if (!m_source->seek(readFrom))
        return XA_ERROR_SEEK_FAILED;
    m_positionFrames = frame;
    m_readFrame = readFrom;
    m_endFrame = kUnknownEnd;
    m_equalizer.reset();
    return XA_SUCCESS;
}

void PcmStream::setEqualizer(const int8_t* left, const int8_t* right) {
    const bool on = left != nullptr && right != nullptr;
    m_equalizer.setLevels(left, right);
    if (on == m_equalizerOn)
        return;
    m_equalizerOn = on;
    // Switching changes how far ahead the file is read; the stream goes on
    // from the same frame either way.
    seekToFrame(m_positionFrames);
}

} // namespace xaudio
