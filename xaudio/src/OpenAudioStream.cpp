#include "OpenAudioStream.h"

#include "FileProbe.h"
#include "Mp3Stream.h"
#include "PcmStream.h"
#include "SndfileSource.h"
#include "VorbisSource.h"
#include "xaudio.h"

namespace xaudio {
namespace {

std::unique_ptr<AudioStream> openMp3(const std::string& path, SampleFormat format, EqualizerLevels equalizer,
                                     int* status) {
    auto stream = std::make_unique<Mp3Stream>(format);
    stream->setEqualizer(equalizer.left, equalizer.right);
    *status = stream->open(path);
    if (*status != XA_SUCCESS)
        return nullptr;
    return stream;
}

std::unique_ptr<AudioStream> openPcm(std::unique_ptr<PcmSource> source, int64_t fileBytes, SampleFormat format,
                                     EqualizerLevels equalizer, int* status) {
    if (!source) {
        *status = XA_ERROR_INVALID_FORMAT;
        return nullptr;
    }
    auto stream = std::make_unique<PcmStream>(std::move(source), fileBytes, format);
    stream->setEqualizer(equalizer.left, equalizer.right);
    *status = XA_SUCCESS;
    return stream;
}

} // namespace

std::unique_ptr<AudioStream> openAudioStream(const std::string& path, SampleFormat format, EqualizerLevels equalizer,
                                             int* status) {
    if (path.empty()) {
        *status = XA_ERROR_INVALID_PARAMETERS;
        return nullptr;
    }
    const int64_t fileBytes = readableFileSize(path);
    if (fileBytes < 0) {
        *status = XA_ERROR_OPEN_FAILED;
        return nullptr;
    }
    // The content decides, whatever the name says: a FLAC file named .mp3
    // plays, and a text file named .flac is refused like any other.
    switch (detectContainer(path)) {
    case Container::Wave:
    case Container::Flac:
    case Container::OggOpus:
        return openPcm(SndfileSource::open(path), fileBytes, format, equalizer, status);
    case Container::OggVorbis:
        return openPcm(VorbisSource::open(path), fileBytes, format, equalizer, status);
    case Container::Other:
        break;
    }
    return openMp3(path, format, equalizer, status);
}

} // namespace xaudio
