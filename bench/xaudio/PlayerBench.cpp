// Plays 20 seconds of music at pitch 1080 (or the pitch given as first
// argument) with the equalizer on through one player (null output unless
// XAUDIO_NULL_OUTPUT=0) and prints the CPU time of the player's own threads
// (its command thread, its feeder and, with a sound server, the thread that
// serves the server's requests) and of the whole process (with the null
// output's thread, which stands in for a sound device, and this bench) as
// shares of one core. The music is an MP3, or a "wav", "flac",
// "ogg" or "opus" file when the second argument names one.
#include "BenchFiles.h"
#include "xaudio.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <sys/resource.h>
#include <thread>

namespace {

// The bench's own thread sleeps until the end instead of polling for it, so
// the figure is the player's alone.
std::mutex g_mutex;
std::condition_variable g_endReached;
bool g_ended = false;

void post(void*, uint32_t, uintptr_t, const void* payload, size_t) {
    const auto* message = static_cast<const XA_Message*>(payload);
    if (message->code == XA_MSG_NOTIFY_PLAYER_STATE && message->data.state == XA_PLAYER_STATE_EOS) {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_ended = true;
        g_endReached.notify_all();
    }
}

struct ThreadTimes {
    double seconds = 0;
    // Times the threads were put on a CPU: about their wake-ups.
    long runs = 0;
    // The same for each thread, by name.
    std::map<std::string, std::pair<double, long>> byName;
};

// CPU time of the player's threads (its command thread, its feeder and the
// sound server connection's thread, which libpulse names "threaded-ml"), from
// the scheduler's nanoseconds rather than 10 ms ticks.
ThreadTimes playerThreadTimes() {
    ThreadTimes times;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream commFile(task.path() / "comm");
        std::string name;
        std::getline(commFile, name);
        if (name != "xaudio player" && name != "xaudio feeder" && name != "threaded-ml")
            continue;
        // Nanoseconds on a CPU, nanoseconds waiting for one, times run.
        std::ifstream schedstat(task.path() / "schedstat");
        long long onCpu = 0;
        long long waiting = 0;
        long runs = 0;
        if (schedstat >> onCpu >> waiting >> runs) {
            times.seconds += static_cast<double>(onCpu) / 1e9;
            times.runs += runs;
            auto& [threadSeconds, threadRuns] = times.byName[name];
            threadSeconds += static_cast<double>(onCpu) / 1e9;
            threadRuns += runs;
        }
    }
    return times;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    const int pitch = argc > 1 ? std::atoi(argv[1]) : 1080;
    setenv("XAUDIO_NULL_OUTPUT", "1", 0);
    const std::string format = argc > 2 ? argv[2] : "mp3";
    const std::string path = format == "mp3" ? makeBenchMp3("xaudio-bench-20s-192k", 20, 192)
                                             : makeBenchFile("xaudio-bench-20s", 20, format);
    XA_NotificationTarget target{&post, nullptr};
    XA_Player* player = nullptr;
    player_new(&player, &target);
    XA_EqualizerInfo equalizer{};
    for (int band = 0; band < 32; ++band) {
        equalizer.left[band] = static_cast<int8_t>(band % 2 == 0 ? -40 : 24);
        equalizer.right[band] = equalizer.left[band];
    }
    control_message_send_P(player, XA_MSG_SET_CODEC_EQUALIZER, &equalizer);
    control_message_send_SI(player, XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH, pitch);
    control_message_send_S(player, XA_MSG_COMMAND_INPUT_OPEN, path.c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double cpuStart = cpuSeconds();
    ThreadTimes playerStart = playerThreadTimes();
    const auto wallStart = std::chrono::steady_clock::now();
    control_message_send_N(player, XA_MSG_COMMAND_PLAY);
    bool ended = false;
    {
        std::unique_lock<std::mutex> lock(g_mutex);
        ended = g_endReached.wait_for(lock, std::chrono::seconds(60), [] { return g_ended; });
    }
    const double cpu = cpuSeconds() - cpuStart;
    const ThreadTimes playerEnd = playerThreadTimes();
    const double playerCpu = playerEnd.seconds - playerStart.seconds;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    player_delete(player);
    std::printf("played %.2f s of wall time (20 s of audio at pitch %d)\n", wall, pitch);
    std::printf("player's threads: CPU %.3f s = %.2f %% of one core, %.0f wake-ups a second\n", playerCpu,
                100.0 * playerCpu / wall, static_cast<double>(playerEnd.runs - playerStart.runs) / wall);
    for (const auto& [name, times] : playerEnd.byName) {
        const auto& [startSeconds, startRuns] = playerStart.byName[name];
        std::printf("  %-14s %.2f %%, %.0f wake-ups a second\n", name.c_str(),
                    100.0 * (times.first - startSeconds) / wall, static_cast<double>(times.second - startRuns) / wall);
    }
    std::printf("whole process: CPU %.3f s = %.2f %% of one core\n", cpu, 100.0 * cpu / wall);
    return ended ? 0 : 1;
}
