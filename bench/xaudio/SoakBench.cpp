// Soak: two players play looped tracks while the levels cross-fade back and
// forth like the mixer's automatic fades, the pitch of one deck wanders (and
// comes back to normal speed), the other's equalizer moves, and
// a background thread measures tempos one file after the other, for the
// given number of seconds. Prints underruns and resident memory growth;
// exits 1 when a command was refused or the memory grew by 2 MB or more, else
// 2 when there was any underrun.
// Underruns that follow a stall of the whole machine (see StallWatch) are
// counted apart and do not fail it. With STALLS, writes there, a line for each
// stall, the span in which an underrun is the stall's: from its start to
// StallWatch::kAftermath after its end, in seconds after a connection to the
// sound server (PULSE_SERVER, a unix socket) that its log shows, so that the
// underruns the server logs can be set beside them.
//   xaudio_soak_bench SECONDS [STALLS]
#include "BenchFiles.h"
#include "StallWatch.h"
#include "tempik.h"
#include "xaudio.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Clock = StallWatch::Clock;
using namespace std::chrono_literals;

// The engine reports underruns at most once a second, each report with those
// since the last one.
constexpr auto kUnderrunReportSpan = 1100ms;

struct UnderrunReport {
    Clock::time_point time;
    long underruns;
};

struct Deck {
    XA_Player* player = nullptr;
    std::atomic<bool> ended{false};
    std::atomic<long> failures{0};
    std::mutex mutex;
    std::vector<UnderrunReport> underrunReports;
};

void post(void* context, uint32_t, uintptr_t, const void* payload, size_t) {
    auto* deck = static_cast<Deck*>(context);
    const auto* message = static_cast<const XA_Message*>(payload);
    if (message->code == XA_MSG_NOTIFY_PLAYER_STATE && message->data.state == XA_PLAYER_STATE_EOS)
        deck->ended = true;
    if (message->code == XA_MSG_NOTIFY_PROGRESS && message->data.progress.code == XA_PROGRESS_CODE_UNDERRUN) {
        std::lock_guard lock(deck->mutex);
        deck->underrunReports.push_back({Clock::now(), message->data.progress.value});
    }
    if (message->code == XA_MSG_NOTIFY_NACK || message->code == XA_MSG_NOTIFY_ERROR)
        ++deck->failures;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// Connects to the sound server and hangs up at once, which its log shows
// ("Created ... client"); returns when that was on this program's clock.
std::optional<Clock::time_point> markServerLog() {
    const char* server = std::getenv("PULSE_SERVER");
    if (server == nullptr || std::strncmp(server, "unix:", 5) != 0)
        return std::nullopt;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, server + 5, sizeof address.sun_path - 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const auto before = Clock::now();
    const bool connected = ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const auto after = Clock::now();
    ::close(socket);
    if (!connected)
        return std::nullopt;
    return before + (after - before) / 2;
}

void writeStalls(const char* path, const StallWatch& watch, Clock::time_point mark) {
    std::ofstream file(path);
    for (const StallWatch::Stall& stall : watch.stalls()) {
        file << std::chrono::duration<double>(stall.start - mark).count() << ' '
             << std::chrono::duration<double>(stall.end + StallWatch::kAftermath - mark).count() << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 120;
    const StallWatch watch;
    const auto serverMark = markServerLog();
    const std::string track = makeBenchMp3("xaudio-soak-30s-192k", 30, 192);
    Deck decks[2];
    for (Deck& deck : decks) {
        XA_NotificationTarget target{&post, &deck};
        if (player_new(&deck.player, &target) != XA_SUCCESS)
            return 1;
        control_message_send_S(deck.player, XA_MSG_COMMAND_INPUT_OPEN, track.c_str());
        control_message_send_N(deck.player, XA_MSG_COMMAND_PLAY);
    }
    std::atomic<bool> quit{false};
    std::atomic<int> measured{0};
    std::thread tempo([&] {
        while (!quit) {
            double progress = 0;
            double quality = 0;
            BeatGetBpmFromFileXAudio(track.c_str(), 110, 150, &progress, &quality);
            ++measured;
        }
    });

    const auto start = std::chrono::steady_clock::now();
    // Warm-up (buffers, the first tempo measurement) is not growth; a short
    // run still takes its baseline halfway.
    const double warmUp = std::min(10.0, seconds / 2.0);
    long baseline = residentKilobytes();
    bool warmedUp = false;
    int step = 0;
    for (;; ++step) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (elapsed >= seconds)
            break;
        if (!warmedUp && elapsed >= warmUp) {
            baseline = residentKilobytes();
            warmedUp = true;
        }
        // A fade every 300 ms like the mixer's, a full crossfade in 20 steps.
        const int position = step % 40 < 20 ? step % 20 : 20 - step % 20;
        control_message_send_III(decks[0].player, XA_MSG_SET_OUTPUT_VOLUME, -1, 100 - position * 2, -1);
        control_message_send_III(decks[1].player, XA_MSG_SET_OUTPUT_VOLUME, -1, 60 + position * 2, -1);
        control_message_send_SI(decks[1].player, XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH,
                                960 + (step % 9) * 10);
        // Deck A's equalizer moves now and then, as a hand on its sliders.
        if (step % 7 == 0) {
            XA_EqualizerInfo bands{};
            std::fill(std::begin(bands.left), std::begin(bands.left) + 8, static_cast<int8_t>(-(step % 5) * 10));
            std::fill(std::begin(bands.right), std::begin(bands.right) + 8, static_cast<int8_t>(-(step % 5) * 10));
            control_message_send_P(decks[0].player, XA_MSG_SET_CODEC_EQUALIZER, &bands);
        }
        for (Deck& deck : decks) {
            if (deck.ended.exchange(false))
                control_message_send_N(deck.player, XA_MSG_COMMAND_PLAY);
        }
    }
    const long growth = residentKilobytes() - baseline;
    quit = true;
    tempo.join();
    long underruns = 0;
    long afterStalls = 0;
    long failures = 0;
    // When the counted underruns happened: one moment for all of them points
    // at the machine, a steady trickle at the engine.
    std::vector<std::string> moments;
    for (size_t index = 0; index < std::size(decks); ++index) {
        Deck& deck = decks[index];
        player_delete(deck.player);
        failures += deck.failures;
        auto previous = start;
        for (const UnderrunReport& report : deck.underrunReports) {
            const bool excused = watch.explains(std::max(previous, report.time - kUnderrunReportSpan), report.time);
            (excused ? afterStalls : underruns) += report.underruns;
            previous = report.time;
            if (!excused) {
                const double secondsIn = std::chrono::duration<double>(report.time - start).count();
                char moment[96];
                std::snprintf(moment, sizeof moment, "soak: deck %c: %ld underruns in the second before %.1f s\n",
                              static_cast<char>('A' + index), report.underruns, secondsIn);
                moments.emplace_back(moment);
            }
        }
    }
    std::printf("soak %d s: underruns %ld, refused commands or output errors %ld, tempo measurements %d, "
                "resident memory growth %ld kB after warm-up\n",
                seconds, underruns, failures, measured.load(), growth);
    for (const std::string& moment : moments)
        std::fputs(moment.c_str(), stdout);
    if (watch.active()) {
        std::printf("soak: the machine stalled %zu times (10 ms or more); underruns just after a stall, not counted: "
                    "%ld\n",
                    watch.stalls().size(), afterStalls);
    } else {
        std::printf("soak: without real-time priority, stalls of the machine cannot be told apart\n");
    }
    if (argc > 2 && serverMark)
        writeStalls(argv[2], watch, *serverMark);
    if (failures > 0 || growth >= 2048)
        return 1;
    return underruns == 0 ? 0 : 2;
}
