#include "Mp3Stream.h"

#include "BandEqualizer.h"
#include "FileProbe.h"
#include "xaudio.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <mpg123.h>
#include <mutex>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace xaudio {
namespace {

// A damaged stream is played past bad frames; only a long run of errors
// without a single good frame ends it, so garbage never loops forever.
constexpr int kMaxConsecutiveErrors = 64;

// How far into the file (after any ID3v2 tags) the first frame may start,
// and how many frames in a row must follow each other exactly there. The
// decoder alone resynchronises on anything that looks like a frame header,
// so a text file or a picture would otherwise play as noise; a random byte
// pattern passes one header check in a few thousand tries, three chained
// frames practically never.
constexpr size_t kSyncWindowBytes = 64 * 1024;
constexpr int kChainedFrames = 3;
constexpr size_t kId3v1Bytes = 128;

struct FrameHeader {
    int version; // 3: MPEG 1, 2: MPEG 2, 0: MPEG 2.5
    int layer;   // 3: layer I, 2: layer II, 1: layer III
    int rateIndex;
    size_t bytes;
};

std::optional<FrameHeader> parseFrameHeader(const unsigned char* at) {
    if (at[0] != 0xFF || (at[1] & 0xE0) != 0xE0)
        return std::nullopt;
    FrameHeader header{};
    header.version = (at[1] >> 3) & 3;
    header.layer = (at[1] >> 1) & 3;
    const int bitRateIndex = at[2] >> 4;
    header.rateIndex = (at[2] >> 2) & 3;
    const int padding = (at[2] >> 1) & 1;
    if (header.version == 1 || header.layer == 0 || bitRateIndex == 0 || bitRateIndex == 15 || header.rateIndex == 3)
        return std::nullopt;
    static constexpr int kBitRates[5][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // MPEG 1, layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // MPEG 1, layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // MPEG 1, layer III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // MPEG 2 and 2.5, layer I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // MPEG 2 and 2.5, layers II and III
    };
    static constexpr int kRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    const bool mpeg1 = header.version == 3;
    const int table = mpeg1 ? 3 - header.layer : (header.layer == 3 ? 3 : 4);
    const long bitRate = kBitRates[table][bitRateIndex] * 1000L;
    const long rate = kRates[header.version][header.rateIndex];
    if (header.layer == 3)
        header.bytes = static_cast<size_t>((12 * bitRate / rate + padding) * 4);
    else if (header.layer == 1 && !mpeg1)
        header.bytes = static_cast<size_t>(72 * bitRate / rate + padding);
    else
        header.bytes = static_cast<size_t>(144 * bitRate / rate + padding);
    return header;
}

bool fileStartsWithMpegAudio(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const off_t offset = skipId3v2Tags(descriptor);
    const std::string window = readAt(descriptor, offset, kSyncWindowBytes);
    ::close(descriptor);
    return startsWithMpegAudio(window);
}

} // namespace

bool startsWithMpegAudio(std::string_view data) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    for (size_t start = 0; start + 4 <= data.size(); ++start) {
        const auto first = parseFrameHeader(bytes + start);
        if (!first)
            continue;
        FrameHeader header = *first;
        size_t at = start;
        int found = 1;
        bool reachedEnd = false;
        while (found < kChainedFrames) {
            at += header.bytes;
            if (at + 4 > data.size() || (data.size() - at == kId3v1Bytes && data.compare(at, 3, "TAG") == 0)) {
                reachedEnd = true;
                break;
            }
            const auto next = parseFrameHeader(bytes + at);
            if (!next || next->version != first->version || next->layer != first->layer ||
                next->rateIndex != first->rateIndex)
                break;
            header = *next;
            ++found;
        }
        if (found >= kChainedFrames)
            return true;
        // A file of two frames passes when they run to its end.
        if (reachedEnd && found >= 2 && data.size() < kSyncWindowBytes)
            return true;
    }
    return false;
}

void initializeMpg123() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

Mp3Stream::~Mp3Stream() {
    close();
}

void Mp3Stream::close() {
    if (m_handle == nullptr)
        return;
    mpg123_close(m_handle);
    mpg123_delete(m_handle);
    m_handle = nullptr;
    m_sampleRateHz = 0;
    m_channels = 0;
    m_bitRateKbps = 0;
    m_lengthFrames = 0;
}

int Mp3Stream::open(const std::string& path) {
    close();
    if (path.empty())
        return XA_ERROR_INVALID_PARAMETERS;
    m_fileBytes = readableFileSize(path);
    if (m_fileBytes < 0)
        return XA_ERROR_OPEN_FAILED;
    if (!fileStartsWithMpegAudio(path))
        return XA_ERROR_INVALID_FORMAT;
    initializeMpg123();
    int error = MPG123_OK;
    m_handle = mpg123_new(nullptr, &error);
    if (m_handle == nullptr)
        return XA_ERROR_OUT_OF_MEMORY;
    const bool floatStereo = format() == SampleFormat::FloatStereo;
    long flags = MPG123_QUIET | MPG123_GAPLESS;
    if (floatStereo)
        flags |= MPG123_FORCE_STEREO;
    mpg123_param(m_handle, MPG123_FLAGS, flags, 0.0);
    mpg123_format_none(m_handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        if (floatStereo)
            mpg123_format(m_handle, rates[i], MPG123_STEREO, MPG123_ENC_FLOAT_32);
        else
            mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    if (mpg123_open(m_handle, path.c_str()) != MPG123_OK) {
        close();
        return XA_ERROR_OPEN_FAILED;
    }
    const int status = readFormat();
    if (status != XA_SUCCESS) {
        close();
        return status;
    }
    applyEqualizer();
    return XA_SUCCESS;
}

int Mp3Stream::readFormat() {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(m_handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0)
        return XA_ERROR_INVALID_FORMAT;
    mpg123_frameinfo2 info{};
    if (mpg123_info(m_handle, &info) != MPG123_OK)
        return XA_ERROR_INVALID_FORMAT;
    m_sampleRateHz = static_cast<int>(rate);
    m_channels = channels;
    // The decoded channel count of the stream itself, for the notifications.
    if (format() == SampleFormat::FloatStereo)
        m_channels = info.mode == MPG123_M_MONO ? 1 : 2;
    mpg123_scan(m_handle);
    const off_t length = mpg123_length(m_handle);
    m_lengthFrames = length > 0 ? static_cast<int64_t>(length) : 0;
    m_bitRateKbps = info.bitrate;
    if (info.vbr != MPG123_CBR && m_lengthFrames > 0 && m_fileBytes > 0) {
        // The average over the whole file says more than one frame's rate.
        const double seconds = static_cast<double>(m_lengthFrames) / sampleRateHz();
        m_bitRateKbps = static_cast<int>(std::lround(m_fileBytes * 8.0 / seconds / 1000.0));
    }
    m_consecutiveErrors = 0;
    return XA_SUCCESS;
}

int Mp3Stream::decodeFrame(const void** pcm, size_t* frames) {
    *pcm = nullptr;
    *frames = 0;
    if (m_handle == nullptr)
        return XA_ERROR_NO_INPUT;
    for (;;) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(m_handle, &frameNumber, &audio, &bytes);
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0;
                int encoding = 0;
                if (mpg123_getformat(m_handle, &rate, &channels, &encoding) == MPG123_OK && rate > 0) {
                    m_sampleRateHz = static_cast<int>(rate);
                    if (format() == SampleFormat::Int16Native)
                        m_channels = channels;
                }
                if (bytes == 0)
                    continue;
            }
            m_consecutiveErrors = 0;
            *pcm = audio;
            *frames = bytes / bytesPerFrame();
            return XA_SUCCESS;
        }
        if (result == MPG123_DONE)
            return XA_ERROR_END_OF_STREAM;
        if (result == MPG123_NEED_MORE)
            return XA_ERROR_END_OF_STREAM;
        if (++m_consecutiveErrors > kMaxConsecutiveErrors)
            return XA_ERROR_END_OF_STREAM;
    }
}

int Mp3Stream::seekToFrame(int64_t frame) {
    if (m_handle == nullptr)
        return XA_ERROR_NO_INPUT;
    if (frame < 0)
        frame = 0;
    if (m_lengthFrames > 0 && frame > m_lengthFrames)
        frame = m_lengthFrames;
    if (mpg123_seek(m_handle, static_cast<off_t>(frame), SEEK_SET) < 0)
        return XA_ERROR_SEEK_FAILED;
    m_consecutiveErrors = 0;
    return XA_SUCCESS;
}

int64_t Mp3Stream::positionFrames() const {
    if (m_handle == nullptr)
        return 0;
    const off_t position = mpg123_tell(m_handle);
    return position > 0 ? static_cast<int64_t>(position) : 0;
}

void Mp3Stream::setEqualizer(const int8_t* left, const int8_t* right) {
    m_equalizerOn = left != nullptr && right != nullptr;
    if (m_equalizerOn) {
        std::copy(left, left + kEqualizerBands, m_equalizerLeft.begin());
        std::copy(right, right + kEqualizerBands, m_equalizerRight.begin());
    }
    applyEqualizer();
}

void Mp3Stream::applyEqualizer() {
    if (m_handle == nullptr)
        return;
    mpg123_reset_eq(m_handle);
    if (!m_equalizerOn)
        return;
    for (int band = 0; band < kEqualizerBands; ++band) {
        mpg123_eq(m_handle, MPG123_LEFT, band, equalizerFactor(m_equalizerLeft[band]));
        mpg123_eq(m_handle, MPG123_RIGHT, band, equalizerFactor(m_equalizerRight[band]));
    }
}

} // namespace xaudio
