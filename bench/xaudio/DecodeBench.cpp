// Decodes a 4-minute 192 kbit/s MP3 with the engine's decoder API and with
// `mpg123 -t` (decode without output) and prints both CPU times and their
// ratio. Best of three runs each.
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

double decodeWithMpg123(const std::string& path) {
    const double start = cpuSeconds(RUSAGE_CHILDREN);
    const std::string command = "mpg123 -q -t '" + path + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "mpg123 failed\n");
        std::exit(1);
    }
    return cpuSeconds(RUSAGE_CHILDREN) - start;
}

} // namespace

int main() {
    const std::string path = makeBenchMp3("xaudio-bench-240s-192k", 240, 192);
    double engine = 1e9;
    double reference = 1e9;
    size_t bytes = 0;
    for (int run = 0; run < 3; ++run) {
        engine = std::min(engine, decodeWithEngine(path, &bytes));
        reference = std::min(reference, decodeWithMpg123(path));
    }
    const double audioSeconds = static_cast<double>(bytes) / (44100.0 * 4);
    std::printf("file: %s (%.1f s of audio)\n", path.c_str(), audioSeconds);
    std::printf("decoder_decode: %.3f s CPU (%.0fx real time)\n", engine, audioSeconds / engine);
    std::printf("mpg123 -t:      %.3f s CPU (%.0fx real time)\n", reference, audioSeconds / reference);
    std::printf("ratio engine/mpg123: %.2f\n", engine / reference);
    return 0;
}
