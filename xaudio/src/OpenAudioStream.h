#pragma once

#include "AudioStream.h"

#include <memory>
#include <string>

namespace xaudio {

// Opens a file by what it holds, not by its name: WAV, FLAC, Ogg Vorbis and
// Ogg Opus through libsndfile (Vorbis through libvorbisfile), anything else as MPEG audio, which is refused
// with XA_ERROR_INVALID_FORMAT unless it really is. Null on failure, with
// the status in *status.
std::unique_ptr<AudioStream> openAudioStream(const std::string& path, SampleFormat format, EqualizerLevels equalizer,
                                             int* status);

} // namespace xaudio
