#include "BenchFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::string makeBenchMp3(const std::string& name, int seconds, int bitRateKbps) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string wav = folder + "/" + name + ".wav";
    const std::string mp3 = folder + "/" + name + ".mp3";
    if (std::filesystem::exists(mp3))
        return mp3;
    const std::string synth = "sox -n -r 44100 -c 2 -b 16 '" + wav + "' synth " + std::to_string(seconds) +
                              " pinknoise sine 220 sine 277 sine 330 remix - - vol 0.3 2>/dev/null";
    const std::string encode =
        "lame --quiet --cbr -b " + std::to_string(bitRateKbps) + " '" + wav + "' '" + mp3 + "' 2>/dev/null";
    if (std::system(synth.c_str()) != 0 || std::system(encode.c_str()) != 0) {
        std::fprintf(stderr, "cannot make %s with sox and lame\n", mp3.c_str());
        std::exit(1);
    }
    std::filesystem::remove(wav);
    return mp3;
}
