#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace xaudio {

// Writes 16-bit stereo PCM to a WAV file. The header is brought up to date
// after every append, so the file is valid even if the process dies.
class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool open(const std::string& path, int sampleRateHz);
    void close();
    bool isOpen() const { return m_file != nullptr; }
    int sampleRateHz() const { return m_sampleRateHz; }
    const std::string& path() const { return m_path; }

    // Appends frames x 2 interleaved float samples (clipped to -1..1).
    void append(const float* frames, size_t count);

private:
    void writeHeader();

    std::FILE* m_file = nullptr;
    std::string m_path;
    int m_sampleRateHz = 0;
    uint32_t m_dataBytes = 0;
};

} // namespace xaudio
