// Times one tempo measurement of a 4-minute 192 kbit/s MP3 through the
// engine against other programs on the same file:
//   - `mpg123 -t -n FRAMES`: decoding (without output) the same opening span
//     the measurement decodes, the cost floor of any decoder-based analysis;
//   - `aubio tempo FILE` and `soundstretch WAV -bpm`: other tempo detectors
//     (soundstretch reads only WAV files, so it gets the file decoded first).
// Usage: tempik_bench [file.mp3]; without a file, a drum loop at 128 BPM is
// made with sox and lame. Each figure is the best of three runs.
#include "DrumLoop.h"
#include "support/TemporaryFolder.h"
#include "tempik.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double bestOfThree(const std::function<void()>& work) {
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// Runs a shell command and returns the last line it printed.
std::string lastLine(const std::string& command) {
    std::string last;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return last;
    std::array<char, 1024> line{};
    while (std::fgets(line.data(), line.size(), pipe) != nullptr) {
        std::string text(line.data());
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (!text.empty())
            last = text;
    }
    pclose(pipe);
    return last;
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

} // namespace

int main(int argc, char** argv) {
    test_support::TemporaryFolder folder;
    std::string path;
    if (argc > 1) {
        path = argv[1];
    } else {
        path = folder.file("loop128.mp3");
        std::printf("making a 240 s drum loop at 128 BPM (sox, lame --cbr -b 192) ...\n");
        tempo_test::makeDrumLoop(path, 128, 240);
    }
    if (!IsXAudioAvailable()) {
        std::fprintf(stderr, "the engine library is not available\n");
        return 1;
    }

    double bpm = 0;
    double quality = 0;
    double progress = 0;
    const double tempikSeconds =
        bestOfThree([&] { bpm = BeatGetBpmFromFileXAudio(path.c_str(), 110, 150, &progress, &quality); });

    // The measurement decodes one probe frame, rewinds, then 2^HistoryBits
    // blocks of 512 frames; a 4-minute file at 44100 Hz gives 2^14 blocks.
    const std::string duration = lastLine("soxi -D " + quoted(path));
    const double seconds = std::atof(duration.c_str());
    const double analysedFrames =
        std::ldexp(1.0, static_cast<int>(std::log((seconds - 1) * 44100) * 1.4426950408889634073));
    const int mpegFrames = static_cast<int>(std::ceil(analysedFrames / 1152)) + 1;
    const std::string mpg123 = "mpg123 -q -t -n " + std::to_string(mpegFrames) + " " + quoted(path);
    const double mpg123Seconds = bestOfThree([&] { lastLine(mpg123); });

    std::string aubioResult;
    const double aubioSeconds = bestOfThree([&] { aubioResult = lastLine("aubio tempo " + quoted(path)); });

    const std::string wav = folder.file("decoded.wav");
    const double decodeSeconds = bestOfThree([&] { lastLine("mpg123 -q -w " + quoted(wav) + " " + quoted(path)); });
    std::string soundstretchResult;
    const double soundstretchSeconds = bestOfThree(
        [&] { soundstretchResult = lastLine("soundstretch " + quoted(wav) + " -bpm 2>&1 | grep -i 'bpm'"); });

    std::printf("file: %s (%.1f s)\n", path.c_str(), seconds);
    std::printf("BeatGetBpmFromFileXAudio  %7.3f s  %.2f BPM, quality %.4f, progress %.1f\n", tempikSeconds, bpm,
                quality, progress);
    std::printf("%-25s %7.3f s  (%d MPEG frames = %.0f samples)\n", "mpg123 -t -n", mpg123Seconds, mpegFrames,
                analysedFrames);
    std::printf("ratio tempik / mpg123 -t   %6.2f  (goal: at most 1.3)\n", tempikSeconds / mpg123Seconds);
    std::printf("%-25s %7.3f s  %s\n", "aubio tempo", aubioSeconds, aubioResult.c_str());
    std::printf("%-25s %7.3f s  + %.3f s decoding to WAV with mpg123: %s\n", "soundstretch -bpm", soundstretchSeconds,
                decodeSeconds, soundstretchResult.c_str());
    return 0;
}
