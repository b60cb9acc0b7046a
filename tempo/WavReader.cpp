#include "WavReader.h"

#include "platform/LittleEndian.h"

#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace tempo {
namespace {

struct WavContext {
    WavReader reader;
    size_t blockBytes = 0;
    bool unsignedBytes = false;
    bool failed = false;
};

void wavReadBlock(void* destination, void* userData) {
    auto& context = *static_cast<WavContext*>(userData);
    if (context.failed || !context.reader.read(destination, context.blockBytes)) {
        context.failed = true;
        std::memset(destination, 0, context.blockBytes);
        return;
    }
    if (context.unsignedBytes) {
        auto* bytes = static_cast<unsigned char*>(destination);
        for (size_t i = 0; i < context.blockBytes; ++i)
            bytes[i] ^= 0x80;
    }
}

} // namespace

bool WavHeader::isCanonicalPcm() const {
    char tags[16];
    std::memcpy(tags, riffTag, 4);
    std::memcpy(tags + 4, waveTag, 4);
    std::memcpy(tags + 8, formatTag, 4);
    std::memcpy(tags + 12, dataTag, 4);
    return std::memcmp(tags, "RIFFWAVEfmt data", 16) == 0 && formatCode == 1;
}

bool WavReader::open(const std::string& path) {
    close();
    // A FIFO or a device would block the measuring thread or never end:
    // only regular files are read (O_NONBLOCK keeps the open itself from
    // waiting for a FIFO's writer).
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return false;
    }
    m_file.reset(::fdopen(descriptor, "rb"));
    if (!m_file) {
        ::close(descriptor);
        return false;
    }
    m_buffer = std::make_unique<char[]>(kBufferBytes);
    std::setvbuf(m_file.get(), m_buffer.get(), _IOFBF, kBufferBytes);
    return true;
}

void WavReader::close() {
    m_file.reset();
    m_buffer.reset();
}

bool WavReader::read(void* destination, size_t bytes) {
    return m_file && std::fread(destination, 1, bytes, m_file.get()) == bytes;
}

int64_t WavReader::sizeBytes() const {
    struct stat info {};
    if (!m_file || fstat(fileno(m_file.get()), &info) != 0)
        return -1;
    return info.st_size;
}

bool WavReader::readHeader(WavHeader& header) {
    unsigned char bytes[WavHeader::kBytes];
    if (!read(bytes, sizeof bytes))
        return false;
    header = WavHeader::parse(bytes);
    return true;
}

WavHeader WavHeader::parse(const unsigned char* bytes) {
    WavHeader header;
    std::memcpy(header.riffTag, bytes, 4);
    header.riffSize = platform::littleEndian(bytes + 4, 4);
    std::memcpy(header.waveTag, bytes + 8, 4);
    std::memcpy(header.formatTag, bytes + 12, 4);
    header.formatSize = platform::littleEndian(bytes + 16, 4);
    header.formatCode = static_cast<uint16_t>(platform::littleEndian(bytes + 20, 2));
    header.channels = static_cast<uint16_t>(platform::littleEndian(bytes + 22, 2));
    header.sampleRateHz = platform::littleEndian(bytes + 24, 4);
    header.byteRate = platform::littleEndian(bytes + 28, 4);
    header.blockAlign = static_cast<uint16_t>(platform::littleEndian(bytes + 32, 2));
    header.bitsPerSample = static_cast<uint16_t>(platform::littleEndian(bytes + 34, 2));
    std::memcpy(header.dataTag, bytes + 36, 4);
    header.dataBytes = platform::littleEndian(bytes + 40, 4);
    return header;
}

Measurement measureWavFile(const char* fileName, double minBpm, double maxBpm, double* progress,
                           const FileMeasurement& otherwise) {
    if (fileName == nullptr)
        return {};
    auto context = std::make_unique<WavContext>();
    if (!context->reader.open(fileName))
        return {};
    WavHeader header;
    if (!context->reader.readHeader(header))
        return {};
    const int bytesPerSample = header.bitsPerSample / 8;
    // The analyser takes 1, 2 or 4 bytes per sample of at least one channel;
    // whatever else a canonical header describes is left to the engine.
    const bool readable = header.isCanonicalPcm() && header.channels > 0 &&
                          (bytesPerSample == 1 || bytesPerSample == 2 || bytesPerSample == 4);
    if (!readable) {
        context->reader.close();
        return otherwise ? otherwise() : Measurement{};
    }
    const int64_t frames = header.dataBytes / (int64_t{bytesPerSample} * header.channels);
    TBeatAnalyserParams params{};
    if (!standardParams(frames, minBpm, maxBpm, params))
        return {};
    params.ReadBlock = wavReadBlock;
    params.UserData = context.get();
    params.SampleRate = static_cast<int32_t>(header.sampleRateHz);
    params.Channels = header.channels;
    params.BytesPerSample = bytesPerSample;
    context->blockBytes = size_t{header.channels} * static_cast<size_t>(bytesPerSample) << params.BlockBits;
    // A file that already holds fewer blocks than its header promises would
    // end the measurement at its end anyway; say so before the analyser's
    // buffers are made (a garbage header can make them large).
    const int64_t neededBytes = 44 + (static_cast<int64_t>(context->blockBytes) << params.HistoryBits);
    const int64_t fileBytes = context->reader.sizeBytes();
    if (fileBytes >= 0 && fileBytes < neededBytes)
        return {};
    context->unsignedBytes = bytesPerSample == 1;
    try {
        return runAnalysis(params, progress, &context->failed);
    } catch (const std::invalid_argument&) {
        return {};
    }
}

} // namespace tempo
