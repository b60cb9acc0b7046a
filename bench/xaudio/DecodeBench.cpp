// Decodes the same 3-minute piece of music with the engine's decoder API and
// with each format's own command-line decoder, and prints both CPU times and
// their ratio, best of three runs each: a 4-minute 192 kbit/s MP3 against
// `mpg123 -t` (decode without output), then WAV against `sox` (to its null
// output), FLAC against `flac -d`, Ogg Vorbis against `oggdec` and Opus
// against `opusdec` (each writing to /dev/null).
#include "BenchFiles.h"
#include "xaudio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace {

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double decodeWithEngine(const std::string& path, size_t* bytes) {
    XA_DecoderInfo* decoder = nullptr;
    decoder_new(&decoder);
    XA_InputModule module{};
    file_input_module_register(&module);
    decoder_input_module_register(decoder, &module);
    decoder_input_new(decoder, path.c_str(), -1);
    if (decoder_input_open(decoder) != XA_SUCCESS) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::exit(1);
    }
    std::vector<uint8_t> buffer(XA_DECODER_MAX_FRAME_BYTES);
    *bytes = 0;
    const double start = cpuSeconds(RUSAGE_SELF);
    while (decoder_decode(decoder, buffer.data()) == XA_SUCCESS)
        *bytes += decoder->output_buffer->size;
    const double seconds = cpuSeconds(RUSAGE_SELF) - start;
    decoder_delete(decoder);
    return seconds;
}

// The CPU time of a command's child processes.
double decodeWithCommand(const std::string& command) {
    const double start = cpuSeconds(RUSAGE_CHILDREN);
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return cpuSeconds(RUSAGE_CHILDREN) - start;
}

void compare(const std::string& path, const std::string& command, const char* label, int outputRateHz) {
    double engine = 1e9;
    double reference = 1e9;
    size_t bytes = 0;
    for (int run = 0; run < 3; ++run) {
        engine = std::min(engine, decodeWithEngine(path, &bytes));
        reference = std::min(reference, decodeWithCommand(command));
    }
    const double audioSeconds = static_cast<double>(bytes) / (outputRateHz * 4.0);
    std::printf("file: %s (%.1f s of audio)\n", path.c_str(), audioSeconds);
    std::printf("  decoder_decode: %.3f s CPU (%.0fx real time)\n", engine, audioSeconds / engine);
    std::printf("  %-14s %.3f s CPU (%.0fx real time)\n", (std::string(label) + ":").c_str(), reference,
                audioSeconds / reference);
    std::printf("  ratio engine/%s: %.2f\n", label, engine / reference);
}

} // namespace

int main() {
    const std::string mp3 = makeBenchMp3("xaudio-bench-240s-192k", 240, 192);
    compare(mp3, "mpg123 -q -t '" + mp3 + "'", "mpg123 -t", 44100);
    const std::string name = "xaudio-bench-180s";
    const std::string wav = makeBenchFile(name, 180, "wav");
    compare(wav, "sox '" + wav + "' -n", "sox", 44100);
    const std::string flac = makeBenchFile(name, 180, "flac");
    compare(flac, "flac --silent --force -d -o /dev/null '" + flac + "'", "flac -d", 44100);
    const std::string ogg = makeBenchFile(name, 180, "ogg");
    compare(ogg, "oggdec --quiet -o /dev/null '" + ogg + "'", "oggdec", 44100);
    const std::string opus = makeBenchFile(name, 180, "opus");
    compare(opus, "opusdec --quiet '" + opus + "' /dev/null", "opusdec", 48000);
    return 0;
}
