#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace xaudio {
namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2;

void putLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xff));
}

} // namespace

WavWriter::~WavWriter() {
    close();
}

bool WavWriter::open(const std::string& path, int sampleRateHz) {
    close();
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr)
        return false;
    m_path = path;
    m_sampleRateHz = sampleRateHz;
    m_dataBytes = 0;
    writeHeader();
    return true;
}

void WavWriter::close() {
    if (m_file == nullptr)
        return;
    std::fclose(m_file);
    m_file = nullptr;
    m_path.clear();
}

void WavWriter::writeHeader() {
    std::vector<uint8_t> header;
    header.reserve(44);
    const auto tag = [&](const char* text) { header.insert(header.end(), text, text + 4); };
    tag("RIFF");
    putLittleEndian(header, 36 + m_dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    putLittleEndian(header, 16, 4);
    putLittleEndian(header, 1, 2);
    putLittleEndian(header, kChannels, 2);
    putLittleEndian(header, static_cast<uint32_t>(m_sampleRateHz), 4);
    putLittleEndian(header, static_cast<uint32_t>(m_sampleRateHz * kChannels * kBytesPerSample), 4);
    putLittleEndian(header, kChannels * kBytesPerSample, 2);
    putLittleEndian(header, 8 * kBytesPerSample, 2);
    tag("data");
    putLittleEndian(header, m_dataBytes, 4);
    std::fseek(m_file, 0, SEEK_SET);
    std::fwrite(header.data(), 1, header.size(), m_file);
    std::fseek(m_file, 0, SEEK_END);
}

void WavWriter::append(const float* frames, size_t count) {
    if (m_file == nullptr || count == 0)
        return;
    // A WAV file cannot describe more than 4 GiB; the capture stops there.
    const uint64_t bytes = static_cast<uint64_t>(count) * kChannels * kBytesPerSample;
    if (m_dataBytes + bytes > std::numeric_limits<uint32_t>::max() - 64)
        return;
    std::vector<int16_t> samples(count * kChannels);
    for (size_t i = 0; i < samples.size(); ++i) {
        const float clipped = std::clamp(frames[i], -1.0f, 1.0f);
        samples[i] = static_cast<int16_t>(std::lround(clipped * 32767.0f));
    }
    std::fwrite(samples.data(), sizeof(int16_t), samples.size(), m_file);
    m_dataBytes += static_cast<uint32_t>(bytes);
    writeHeader();
    std::fflush(m_file);
}

} // namespace xaudio
