#include "Mp3Stream.h"

#include "xaudio.h"

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <mpg123.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace xaudio {
namespace {

// A damaged stream is played past bad frames; only a long run of errors
// without a single good frame ends it, so garbage never loops forever.
constexpr int kMaxConsecutiveErrors = 64;

// The file's size in bytes, or -1 when it cannot be opened for reading.
int64_t readableFileSize(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return -1;
    struct stat status {};
    const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    ::close(descriptor);
    return regular ? static_cast<int64_t>(status.st_size) : -1;
}

} // namespace

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

int Mp3Stream::open(const std::string& path, SampleFormat format) {
    close();
    if (path.empty())
        return XA_ERROR_INVALID_PARAMETERS;
    m_fileBytes = readableFileSize(path);
    if (m_fileBytes < 0)
        return XA_ERROR_OPEN_FAILED;
    initializeMpg123();
    int error = MPG123_OK;
    m_handle = mpg123_new(nullptr, &error);
    if (m_handle == nullptr)
        return XA_ERROR_OUT_OF_MEMORY;
    m_format = format;
    long flags = MPG123_QUIET | MPG123_GAPLESS;
    if (format == SampleFormat::FloatStereo)
        flags |= MPG123_FORCE_STEREO;
    mpg123_param(m_handle, MPG123_FLAGS, flags, 0.0);
    mpg123_format_none(m_handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        if (format == SampleFormat::FloatStereo)
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
    if (m_format == SampleFormat::FloatStereo)
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
                    if (m_format == SampleFormat::Int16Native)
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

size_t Mp3Stream::bytesPerFrame() const {
    if (m_format == SampleFormat::FloatStereo)
        return 2 * sizeof(float);
    const int channels = m_channels.load(std::memory_order_relaxed);
    return static_cast<size_t>(channels > 0 ? channels : 1) * sizeof(int16_t);
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

double equalizerFactor(int level) {
    // A cut of 1/4 dB per unit lets a full cut kill a band in a mix (-80 is
    // -20 dB); a boost of 1/8 dB per unit keeps a full boost (+10 dB) from
    // driving a loud track into clipping.
    const double decibelsPerUnit = level < 0 ? 0.25 : 0.125;
    return std::pow(10.0, level * decibelsPerUnit / 20.0);
}

uint32_t Mp3Stream::durationSeconds() const {
    const int rate = sampleRateHz();
    if (rate <= 0)
        return 0;
    return static_cast<uint32_t>(std::llround(static_cast<double>(m_lengthFrames) / rate));
}

} // namespace xaudio
