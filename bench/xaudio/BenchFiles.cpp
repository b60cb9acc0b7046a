#include "BenchFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// Runs the command or exits the program naming what could not be made.
void runOrExit(const std::string& command, const std::string& made) {
    if (std::system((command + " 2>/dev/null").c_str()) != 0) {
        std::fprintf(stderr, "cannot make %s\n", made.c_str());
        std::exit(1);
    }
}

std::string synthesizeWav(const std::string& path, int seconds) {
    runOrExit("sox -n -r 44100 -c 2 -b 16 '" + path + "' synth " + std::to_string(seconds) +
                  " pinknoise sine 220 sine 277 sine 330 remix - - vol 0.3",
              path);
    return path;
}

} // namespace

std::string makeBenchMp3(const std::string& name, int seconds, int bitRateKbps) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string mp3 = folder + "/" + name + ".mp3";
    if (std::filesystem::exists(mp3))
        return mp3;
    const std::string wav = synthesizeWav(folder + "/" + name + ".source.wav", seconds);
    runOrExit("lame --quiet --cbr -b " + std::to_string(bitRateKbps) + " '" + wav + "' '" + mp3 + "'", mp3);
    std::filesystem::remove(wav);
    return mp3;
}

std::string makeBenchFile(const std::string& name, int seconds, const std::string& extension) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string path = folder + "/" + name + "." + extension;
    if (std::filesystem::exists(path))
        return path;
    if (extension == "wav")
        return synthesizeWav(path, seconds);
    const std::string wav = synthesizeWav(folder + "/" + name + ".source.wav", seconds);
    if (extension == "flac")
        runOrExit("flac --silent -o '" + path + "' '" + wav + "'", path);
    else if (extension == "ogg")
        runOrExit("oggenc --quiet -q 5 -o '" + path + "' '" + wav + "'", path);
    else
        runOrExit("opusenc --quiet --bitrate 128 '" + wav + "' '" + path + "'", path);
    std::filesystem::remove(wav);
    return path;
}
