// How far behind a command its effect is heard, counted in frames of the
// engine's own output clock. The capture holds every frame the output
// renders, silence included (XAUDIO_CAPTURE_SILENCE), so a frame's place in
// it is its place on that clock; just before each command the player is
// asked for the clock (OUTPUT.RENDERED_FRAMES), which the command thread
// answers right before it takes the command. The frames from that reading to
// the first frame that shows the effect are the engine's latency; the way
// to the speaker comes on top (27 ms through the desktop's sound server,
// which PulseAudio's log states as "Final latency" for each stream; 10 ms
// asked of an ALSA device).
//   Play: the first sound after Play on a loaded, stopped track.
//   Volume, pitch, equalizer: the first change of level or tone period on a
//   playing 1 kHz tone.
#include "support/ToneEvents.h"
#include "xaudio.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::mutex g_mutex;
std::vector<int64_t> g_clockReadings;

void post(void*, uint32_t, uintptr_t, const void* payload, size_t) {
    const auto* message = static_cast<const XA_Message*>(payload);
    if (message->code == XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_INTEGER &&
        std::strcmp(message->data.environment_integer.name, XA_ENV_OUTPUT_RENDERED_FRAMES) == 0) {
        std::lock_guard<std::mutex> guard(g_mutex);
        g_clockReadings.push_back(message->data.environment_integer.value);
    }
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
// `share` of the peak of the 2 ms before `from`.
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

enum class Kind { Play, Volume, Pitch, Equalizer, Other };
const char* const kKindNames[] = {"play to first sound", "volume", "pitch", "equalizer"};

enum class Action { Play, VolumeDown, VolumeUp, PitchUp, PitchBack, EqualizerOn, EqualizerOff, Stop };

struct Step {
    Action action;
    int waitMs;
};

Kind measuredKind(Action action) {
    switch (action) {
    case Action::Play:
        return Kind::Play;
    case Action::VolumeDown:
        return Kind::Volume;
    case Action::PitchUp:
        return Kind::Pitch;
    case Action::EqualizerOn:
        return Kind::Equalizer;
    default:
        return Kind::Other;
    }
}

} // namespace

int main() {
    setenv("XAUDIO_NULL_OUTPUT", "1", 0);
    setenv("XAUDIO_CAPTURE_SILENCE", "1", 1);
    const std::string folder = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    const std::string mp3 = folder + "/xaudio-latency-tone.mp3";
    const std::string wav = folder + "/xaudio-latency-capture.wav";
    const std::string make = "sox -n -r 44100 -c 2 -b 16 -t wav - synth 60 sine 1000 vol 0.5 2>/dev/null | "
                             "lame --quiet -b 192 - '" +
                             mp3 + "'";
    if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "sox and lame are needed\n");
        return 1;
    }
    XA_NotificationTarget target{&post, nullptr};
    XA_Player* player = nullptr;
    player_new(&player, &target);
    // The capture starts before the output opens, so it starts with the
    // output's clock.
    control_message_send_SS(player, XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE, wav.c_str());
    control_message_send_S(player, XA_MSG_COMMAND_INPUT_OPEN, mp3.c_str());

    XA_EqualizerInfo cut{};
    std::fill(std::begin(cut.left), std::end(cut.left), static_cast<int8_t>(-80));
    std::fill(std::begin(cut.right), std::end(cut.right), static_cast<int8_t>(-80));
    std::vector<Kind> measured;
    constexpr int kRounds = 6;
    // The odd waits keep the commands from falling on the same place of the
    // output's blocks each round.
    for (int round = 0; round < kRounds; ++round) {
        const int jitter = 37 * round;
        const Step steps[] = {{Action::Play, 500 + jitter}, {Action::VolumeDown, 400 + jitter},
                              {Action::VolumeUp, 300},      {Action::PitchUp, 400 + jitter},
                              {Action::PitchBack, 300},     {Action::EqualizerOn, 400 + jitter},
                              {Action::EqualizerOff, 300},  {Action::Stop, 300}};
        for (const Step& step : steps) {
            std::this_thread::sleep_for(std::chrono::milliseconds(step.waitMs));
            control_message_send_S(player, XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_RENDERED_FRAMES);
            switch (step.action) {
            case Action::Play:
                control_message_send_N(player, XA_MSG_COMMAND_PLAY);
                break;
            case Action::VolumeDown:
            case Action::VolumeUp:
                control_message_send_III(player, XA_MSG_SET_OUTPUT_VOLUME, -1,
                                         step.action == Action::VolumeDown ? 70 : 100, -1);
                break;
            case Action::PitchUp:
            case Action::PitchBack:
                control_message_send_SI(player, XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH,
                                        step.action == Action::PitchUp ? 1500 : 1000);
                break;
            case Action::EqualizerOn:
            case Action::EqualizerOff:
                control_message_send_P(player, XA_MSG_SET_CODEC_EQUALIZER,
                                       step.action == Action::EqualizerOn ? &cut : nullptr);
                break;
            case Action::Stop:
                control_message_send_N(player, XA_MSG_COMMAND_STOP);
                break;
            }
            measured.push_back(measuredKind(step.action));
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    player_delete(player);

    int rateHz = 44100;
    const std::vector<float> left = readLeft(wav, &rateHz);
    std::remove(wav.c_str());
    if (g_clockReadings.size() != measured.size() || left.empty()) {
        std::printf("the engine answered %zu of %zu clock readings\n", g_clockReadings.size(), measured.size());
        return 1;
    }
    double worst[4] = {};
    double total[4] = {};
    int count[4] = {};
    for (size_t index = 0; index < measured.size(); ++index) {
        const Kind kind = measured[index];
        if (kind == Kind::Other)
            continue;
        const auto from = static_cast<size_t>(g_clockReadings[index]);
        size_t effect = left.size();
        if (kind == Kind::Play)
            effect = test_support::firstSound(left, from, 0.02f);
        else if (kind == Kind::Volume)
            effect = levelDrop(left, from, 0.98, rateHz);
        else if (kind == Kind::Pitch)
            effect = test_support::periodBelow(left, from, 0.5 * (44.1 + 29.4) * rateHz / 44100.0);
        else
            effect = levelDrop(left, from, 0.5, rateHz);
        const auto slot = static_cast<size_t>(kind);
        if (effect >= left.size()) {
            std::printf("%s: no effect found after output frame %zu\n", kKindNames[slot], from);
            return 1;
        }
        const double ms = 1000.0 * static_cast<double>(effect - from) / rateHz;
        worst[slot] = std::max(worst[slot], ms);
        total[slot] += ms;
        ++count[slot];
    }
    std::printf("output frames from command to effect, engine only (the device's buffer comes on top):\n");
    for (size_t slot = 0; slot < 4; ++slot)
        std::printf("  %-20s mean %5.1f ms  worst %5.1f ms  (%d trials)\n", kKindNames[slot],
                    count[slot] > 0 ? total[slot] / count[slot] : 0.0, worst[slot], count[slot]);
    return 0;
}
