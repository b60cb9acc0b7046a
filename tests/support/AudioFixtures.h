#pragma once

#include <string>

namespace test_support {

// Audio fixtures made at test time with sox and lame. Each function writes
// the file and throws std::runtime_error when the tools fail.
struct ToneOptions {
    double seconds = 10.0;
    double frequencyHz = 1000.0;
    int sampleRateHz = 44100;
    int channels = 2;
    int bitRateKbps = 192; // 0 makes a VBR file
    double amplitude = 0.5;
};
void makeToneMp3(const std::string& path, const ToneOptions& options = {});

// A click track: a short burst on every beat, over silence.
struct ClickOptions {
    double bpm = 120.0;
    double seconds = 60.0;
    int sampleRateHz = 44100;
    int channels = 2;
    int bitsPerSample = 16;
};
void makeClickTrackWav(const std::string& path, const ClickOptions& options = {});
void makeClickTrackMp3(const std::string& path, const ClickOptions& options = {}, int bitRateKbps = 192);

// The encodings a 16-bit WAV file can be turned into with each format's own
// command-line encoder (lame, flac, oggenc, opusenc; Wav copies it).
enum class Encoding { Mp3, Wav, Flac, Vorbis, Opus };
struct TagTexts {
    std::string artist;
    std::string title;
};
// Tags are written where the format has them: an ID3v2 tag only for MP3s,
// Vorbis comments for FLAC, Vorbis and Opus, none for WAV.
void encodeWav(const std::string& wav, const std::string& path, Encoding encoding, const TagTexts& tags = {});
void makeTone(const std::string& path, Encoding encoding, const ToneOptions& options = {});

// Converts any file sox reads to a 16-bit PCM WAV file.
void convertToWav(const std::string& input, const std::string& output);

} // namespace test_support
