#include "AudioFixtures.h"

#include "TemporaryFolder.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace test_support {
namespace {

void run(const std::string& command) {
    if (runCommand(command + " >/dev/null 2>&1") != 0)
        throw std::runtime_error("fixture command failed: " + command);
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

void writeLittleEndian(std::ofstream& stream, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        stream.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

} // namespace

void makeToneWav(const std::string& path, const ToneOptions& options) {
    run("sox -n -r " + std::to_string(options.sampleRateHz) + " -c " + std::to_string(options.channels) + " -b 16 " +
        quoted(path) + " synth " + std::to_string(options.seconds) + " sine " + std::to_string(options.frequencyHz) +
        " vol " + std::to_string(options.amplitude));
}

void makeToneMp3(const std::string& path, const ToneOptions& options) {
    const std::string wav = path + ".source.wav";
    makeToneWav(wav, options);
    const std::string rate = options.bitRateKbps > 0 ? "--cbr -b " + std::to_string(options.bitRateKbps) : "-V 2";
    run("lame --quiet " + rate + " " + quoted(wav) + " " + quoted(path));
    std::remove(wav.c_str());
}

void encodeWav(const std::string& wav, const std::string& path, Encoding encoding, const TagTexts& tags) {
    const std::string from = quoted(wav);
    const std::string to = quoted(path);
    const auto option = [](const std::string& name, const std::string& value) {
        return value.empty() ? std::string() : " " + name + quoted(value);
    };
    switch (encoding) {
    case Encoding::Mp3:
        run("lame --quiet --id3v2-only" + option("--ta ", tags.artist) + option("--tt ", tags.title) + " " + from +
            " " + to);
        break;
    case Encoding::Wav:
        run("cp " + from + " " + to);
        break;
    case Encoding::Flac:
        run("flac --silent --force --no-utf8-convert" + option("--tag=ARTIST=", tags.artist) +
            option("--tag=TITLE=", tags.title) + " -o " + to + " " + from);
        break;
    case Encoding::Vorbis:
        run("oggenc --quiet" + option("--artist ", tags.artist) + option("--title ", tags.title) + " -o " + to + " " +
            from);
        break;
    case Encoding::Opus:
        run("opusenc --quiet" + option("--artist ", tags.artist) + option("--title ", tags.title) + " " + from + " " +
            to);
        break;
    }
}

void makeTone(const std::string& path, Encoding encoding, const ToneOptions& options) {
    if (encoding == Encoding::Mp3) {
        makeToneMp3(path, options);
        return;
    }
    const std::string wav = path + ".source.wav";
    makeToneWav(wav, options);
    encodeWav(wav, path, encoding);
    std::remove(wav.c_str());
}

void makeClickTrackWav(const std::string& path, const ClickOptions& options) {
    const int frames = static_cast<int>(options.seconds * options.sampleRateHz);
    const double beatFrames = 60.0 / options.bpm * options.sampleRateHz;
    const int clickFrames = options.sampleRateHz / 100; // a 10 ms burst
    const int bytesPerSample = options.bitsPerSample / 8;
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    const uint32_t dataBytes = static_cast<uint32_t>(frames * options.channels * bytesPerSample);
    stream.write("RIFF", 4);
    writeLittleEndian(stream, 36 + dataBytes, 4);
    stream.write("WAVEfmt ", 8);
    writeLittleEndian(stream, 16, 4);
    writeLittleEndian(stream, 1, 2);
    writeLittleEndian(stream, static_cast<uint32_t>(options.channels), 2);
    writeLittleEndian(stream, static_cast<uint32_t>(options.sampleRateHz), 4);
    writeLittleEndian(stream, static_cast<uint32_t>(options.sampleRateHz * options.channels * bytesPerSample), 4);
    writeLittleEndian(stream, static_cast<uint32_t>(options.channels * bytesPerSample), 2);
    writeLittleEndian(stream, static_cast<uint32_t>(options.bitsPerSample), 2);
    stream.write("data", 4);
    writeLittleEndian(stream, dataBytes, 4);
    for (int frame = 0; frame < frames; ++frame) {
        const double beatPosition = std::fmod(frame, beatFrames);
        double value = 0;
        if (beatPosition < clickFrames)
            value =
                0.8 * std::sin(2 * M_PI * 1000.0 * frame / options.sampleRateHz) * (1.0 - beatPosition / clickFrames);
        for (int channel = 0; channel < options.channels; ++channel) {
            if (bytesPerSample == 1) {
                stream.put(static_cast<char>(static_cast<uint8_t>(128 + std::lround(value * 127))));
            } else if (bytesPerSample == 2) {
                writeLittleEndian(stream, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767))), 2);
            } else {
                writeLittleEndian(stream,
                                  static_cast<uint32_t>(static_cast<int32_t>(std::lround(value * 2147483647.0))), 4);
            }
        }
    }
    if (!stream)
        throw std::runtime_error("cannot write " + path);
}

void makeClickTrackMp3(const std::string& path, const ClickOptions& options, int bitRateKbps) {
    const std::string wav = path + ".source.wav";
    ClickOptions pcm = options;
    pcm.bitsPerSample = 16;
    makeClickTrackWav(wav, pcm);
    run("lame --quiet --cbr -b " + std::to_string(bitRateKbps) + " " + quoted(wav) + " " + quoted(path));
    std::remove(wav.c_str());
}

void convertToWav(const std::string& input, const std::string& output) {
    run("sox " + quoted(input) + " -b 16 " + quoted(output));
}

} // namespace test_support
