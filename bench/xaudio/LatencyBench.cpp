// How far behind the command a pitch change is heard, counted in output
// frames of the engine's own output clock: a volume change sent just before
// each pitch change takes effect at the very frame the output renders next,
// so the frames from the start of its ramp to the change of the tone's
// period are the audio that was queued ahead of the pitch change. The sound
// device's buffer (20 ms asked for) comes on top of both.
#include "xaudio.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> g_ended{false};

void post(void*, uint32_t, uintptr_t, const void* payload, size_t) {
    const auto* message = static_cast<const XA_Message*>(payload);
    if (message->code == XA_MSG_NOTIFY_PLAYER_STATE && message->data.state == XA_PLAYER_STATE_EOS)
        g_ended = true;
}

std::vector<float> readLeft(const std::string& path, int* rateHz) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<float> left;
    if (bytes.size() < 44)
        return left;
    uint32_t rate = 0;
    std::memcpy(&rate, bytes.data() + 24, 4);
    *rateHz = static_cast<int>(rate);
    for (size_t at = 44; at + 4 <= bytes.size(); at += 4) {
        int16_t sample = 0;
        std::memcpy(&sample, bytes.data() + at, 2);
        left.push_back(sample / 32768.0f);
    }
    return left;
}

// The first frame from `from` on where the peak of a 2 ms window falls below
// `share` of the peak just before `from`.
size_t levelDrop(const std::vector<float>& samples, size_t from, double share, int rateHz) {
    const auto window = static_cast<size_t>(rateHz / 500);
    float reference = 0;
    for (size_t i = from - window; i < from; ++i)
        reference = std::max(reference, std::fabs(samples[i]));
    for (size_t i = from; i + window < samples.size(); ++i) {
        float peak = 0;
        for (size_t j = i; j < i + window; ++j)
            peak = std::max(peak, std::fabs(samples[j]));
        if (peak < share * reference)
            return i;
    }
    return samples.size();
}

// The first rising zero crossing from `from` on whose period is below
// `periodFrames`.
size_t periodBelow(const std::vector<float>& samples, size_t from, double periodFrames) {
    size_t previous = 0;
    for (size_t i = from + 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (previous != 0 && static_cast<double>(i - previous) < periodFrames)
                return i;
            previous = i;
        }
    }
    return samples.size();
}

} // namespace

int main() {
    setenv("XAUDIO_NULL_OUTPUT", "1", 0);
    const std::string folder = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    const std::string mp3 = folder + "/xaudio-latency-tone.mp3";
    const std::string wav = folder + "/xaudio-latency-capture.wav";
    const std::string make = "sox -n -r 44100 -c 2 -b 16 -t wav - synth 12 sine 1000 vol 0.5 2>/dev/null | "
                             "lame --quiet -b 192 - '" +
                             mp3 + "'";
    if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "sox and lame are needed\n");
        return 1;
    }
    XA_NotificationTarget target{&post, nullptr};
    XA_Player* player = nullptr;
    player_new(&player, &target);
    control_message_send_S(player, XA_MSG_COMMAND_INPUT_OPEN, mp3.c_str());
    control_message_send_SS(player, XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE, wav.c_str());
    control_message_send_N(player, XA_MSG_COMMAND_PLAY);
    constexpr int kTrials = 5;
    for (int trial = 0; trial < kTrials; ++trial) {
        // Louder then softer, faster then back: each trial changes both.
        std::this_thread::sleep_for(std::chrono::milliseconds(1000 + 137 * trial));
        const bool down = trial % 2 == 0;
        control_message_send_III(player, XA_MSG_SET_OUTPUT_VOLUME, -1, down ? 90 : 100, -1);
        control_message_send_SI(player, XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH, down ? 1500 : 1000);
    }
    while (!g_ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    player_delete(player);

    int rateHz = 44100;
    const std::vector<float> left = readLeft(wav, &rateHz);
    size_t from = static_cast<size_t>(rateHz / 2);
    double worst = 0;
    for (int trial = 0; trial < kTrials; trial += 2) {
        // Only the trials that turn the level down and speed up are measured;
        // the others bring the tone back for the next one.
        const size_t marker = levelDrop(left, from, 0.95, rateHz);
        const size_t change = periodBelow(left, marker, 0.5 * (44.1 + 29.4) * rateHz / 44100.0);
        if (marker >= left.size() || change >= left.size()) {
            std::printf("trial %d: not found\n", trial);
            return 1;
        }
        const double ms = 1000.0 * static_cast<double>(change - marker) / rateHz;
        worst = std::max(worst, ms);
        std::printf("trial %d: pitch change heard %zu output frames (%.1f ms) after the command\n", trial,
                    change - marker, ms);
        // On past the trial that brings the tone back.
        from = marker + static_cast<size_t>(rateHz) * 2;
    }
    std::printf("worst %.1f ms of queued audio (plus the device's buffer)\n", worst);
    std::remove(wav.c_str());
    return 0;
}
