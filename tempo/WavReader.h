#pragma once

#include "AnalysisRun.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace tempo {

// The canonical 44-byte header of a PCM WAV file, field by field.
struct WavHeader {
    static constexpr size_t kBytes = 44;
    // Splits kBytes bytes into the fields; every byte pattern gives a header.
    static WavHeader parse(const unsigned char* bytes);

    char riffTag[4] = {};
    uint32_t riffSize = 0;
    char waveTag[4] = {};
    char formatTag[4] = {};
    uint32_t formatSize = 0;
    uint16_t formatCode = 0;
    uint16_t channels = 0;
    uint32_t sampleRateHz = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    char dataTag[4] = {};
    uint32_t dataBytes = 0;

    // The four tags read as one text are "RIFFWAVEfmt data" and the format is
    // integer PCM.
    bool isCanonicalPcm() const;
};

// Reads a WAV file front to back through a 4096-byte buffer. The file is
// opened read-only and without locks, so other programs may read and write
// it meanwhile.
class WavReader {
public:
    static constexpr size_t kBufferBytes = 4096;

    // False when the file cannot be opened.
    bool open(const std::string& path);
    void close();
    // Reads the 44 header bytes; false when the file ends first.
    bool readHeader(WavHeader& header);
    // Reads exactly `bytes` bytes; false when the file ends first.
    bool read(void* destination, size_t bytes);
    // The file's current size in bytes, -1 when unknown.
    int64_t sizeBytes() const;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<char[]> m_buffer;
    std::unique_ptr<std::FILE, FileCloser> m_file;
};

using FileMeasurement = std::function<Measurement()>;

// Measures a canonical PCM WAV file (1, 2 or 4 bytes per sample) from the
// samples after its 44-byte header; any other file is handed to
// `otherwise`. Nothing is measured when the file cannot be opened, is too
// short, or ends before the blocks its header promises. 8-bit samples are
// unsigned in WAV files; they are turned into the analyser's signed bytes.
Measurement measureWavFile(const char* fileName, double minBpm, double maxBpm, double* progress,
                           const FileMeasurement& otherwise);

} // namespace tempo
