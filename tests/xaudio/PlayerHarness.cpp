#include "PlayerHarness.h"

#include "support/TemporaryFolder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace xaudio_test {

PlayerHarness::PlayerHarness() {
    m_target.post = &PlayerHarness::post;
    m_target.context = this;
    if (player_new(&m_player, &m_target) != XA_SUCCESS)
        throw std::runtime_error("player_new failed");
}

PlayerHarness::~PlayerHarness() {
    player_delete(m_player);
}

void PlayerHarness::post(void* context, uint32_t number, uintptr_t wparam, const void* payload, size_t size) {
    auto* harness = static_cast<PlayerHarness*>(context);
    // The receiver copies the payload, then translates it on its own side.
    // The first posts may come before player_new has returned the player,
    // so the translation is done without one, as the engine allows.
    std::vector<uint8_t> copy(static_cast<const uint8_t*>(payload), static_cast<const uint8_t*>(payload) + size);
    XA_Message message{};
    if (control_win32_params_to_message(nullptr, &message, number, wparam, reinterpret_cast<intptr_t>(copy.data())) !=
        XA_SUCCESS)
        return;
    {
        std::lock_guard<std::mutex> guard(harness->m_mutex);
        harness->m_received.push_back({message, std::chrono::steady_clock::now()});
    }
    harness->m_arrived.notify_all();
}

int PlayerHarness::waitFor(const std::function<bool(const XA_Message&)>& predicate, std::chrono::milliseconds timeout,
                           size_t from) {
    std::unique_lock<std::mutex> lock(m_mutex);
    int found = -1;
    m_arrived.wait_for(lock, timeout, [&] {
        for (size_t i = from; i < m_received.size(); ++i) {
            if (predicate(m_received[i].message)) {
                found = static_cast<int>(i);
                return true;
            }
        }
        return false;
    });
    return found;
}

int PlayerHarness::waitForReply(int command, std::chrono::milliseconds timeout, size_t from) {
    const int index = waitFor(
        [command](const XA_Message& message) {
            return (message.code == XA_MSG_NOTIFY_ACK && message.data.ack.command == command) ||
                   (message.code == XA_MSG_NOTIFY_NACK && message.data.nack.command == command);
        },
        timeout, from);
    if (index < 0)
        return 1;
    std::lock_guard<std::mutex> guard(m_mutex);
    const XA_Message& message = m_received[static_cast<size_t>(index)].message;
    return message.code == XA_MSG_NOTIFY_ACK ? XA_SUCCESS : message.data.nack.code;
}

int PlayerHarness::waitForState(int state, std::chrono::milliseconds timeout, size_t from) {
    return waitFor(
        [state](const XA_Message& message) {
            return message.code == XA_MSG_NOTIFY_PLAYER_STATE && message.data.state == state;
        },
        timeout, from);
}

int PlayerHarness::open(const std::string& path) {
    const size_t from = count();
    control_message_send_S(m_player, XA_MSG_COMMAND_INPUT_OPEN, path.c_str());
    return waitForReply(XA_MSG_COMMAND_INPUT_OPEN, std::chrono::milliseconds(5000), from);
}

int PlayerHarness::command(int code) {
    const size_t from = count();
    control_message_send_N(m_player, code);
    return waitForReply(code, std::chrono::milliseconds(5000), from);
}

size_t PlayerHarness::askForClock() {
    const size_t from = count();
    control_message_send_S(m_player, XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_RENDERED_FRAMES);
    return from;
}

long PlayerHarness::clockReading(size_t from) {
    const int index = waitFor(
        [](const XA_Message& message) {
            return message.code == XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_INTEGER &&
                   std::strcmp(message.data.environment_integer.name, XA_ENV_OUTPUT_RENDERED_FRAMES) == 0;
        },
        std::chrono::milliseconds(5000), from);
    return index < 0 ? -1 : received()[static_cast<size_t>(index)].message.data.environment_integer.value;
}

std::vector<Received> PlayerHarness::received() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_received;
}

size_t PlayerHarness::count() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_received.size();
}

double timecodeSeconds(const XA_Message& message) {
    const auto& timecode = message.data.timecode;
    return timecode.h * 3600.0 + timecode.m * 60.0 + timecode.s + timecode.f / 100.0;
}

Capture Capture::read(const std::string& path) {
    const std::string bytes = test_support::readFile(path);
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        throw std::runtime_error("not a WAV file: " + path);
    const auto word = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
                                     static_cast<uint8_t>(bytes[at + 2]) << 16 |
                                     static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24);
    };
    Capture capture;
    capture.sampleRateHz = static_cast<int>(word(24));
    const uint32_t dataBytes = std::min<uint32_t>(word(40), static_cast<uint32_t>(bytes.size() - 44));
    const size_t frames = dataBytes / 4;
    capture.left.resize(frames);
    capture.right.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        int16_t samples[2];
        std::memcpy(samples, bytes.data() + 44 + 4 * i, 4);
        capture.left[i] = samples[0] / 32768.0f;
        capture.right[i] = samples[1] / 32768.0f;
    }
    return capture;
}

double Capture::rms(double fromSeconds, double toSeconds) const {
    const auto from = static_cast<size_t>(std::max(0.0, fromSeconds) * sampleRateHz);
    const auto to = std::min(left.size(), static_cast<size_t>(toSeconds * sampleRateHz));
    if (to <= from)
        return 0;
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += static_cast<double>(left[i]) * left[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

double Capture::frequencyHz(double fromSeconds, double toSeconds) const {
    const auto from = static_cast<size_t>(std::max(0.0, fromSeconds) * sampleRateHz);
    const auto to = std::min(left.size(), static_cast<size_t>(toSeconds * sampleRateHz));
    std::vector<double> periods;
    double previous = -1;
    for (size_t i = from + 1; i < to; ++i) {
        if (left[i - 1] < 0 && left[i] >= 0) {
            // Linear interpolation places the crossing between the samples.
            const double position = static_cast<double>(i - 1) + left[i - 1] / (left[i - 1] - left[i]);
            if (previous >= 0)
                periods.push_back(position - previous);
            previous = position;
        }
    }
    if (periods.empty())
        return 0;
    // The periods near the median: a gap (an underrun on a loaded machine)
    // or a transition does not pull the result.
    std::vector<double> sorted = periods;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() / 2), sorted.end());
    const double median = sorted[sorted.size() / 2];
    double sum = 0;
    int count = 0;
    for (double period : periods) {
        if (std::fabs(period - median) < 0.05 * median) {
            sum += period;
            ++count;
        }
    }
    return sampleRateHz / (sum / count);
}

double Capture::firstTimeAt(double hz, double toleranceHz, double fromSeconds) const {
    constexpr double kStepSeconds = 0.01;
    constexpr double kSpanSeconds = 0.05;
    for (double t = fromSeconds; t + kSpanSeconds <= seconds(); t += kStepSeconds) {
        if (std::fabs(frequencyHz(t, t + kSpanSeconds) - hz) <= toleranceHz)
            return t;
    }
    return -1;
}

double Capture::typicalRms(double fromSeconds, double toSeconds) const {
    std::vector<double> levels;
    for (double t = fromSeconds; t + kWindowSeconds <= toSeconds; t += kWindowSeconds)
        levels.push_back(rms(t, t + kWindowSeconds));
    if (levels.empty())
        return 0;
    std::nth_element(levels.begin(), levels.begin() + static_cast<long>(levels.size() / 2), levels.end());
    return levels[levels.size() / 2];
}

double Capture::largestStep() const {
    return largestStepAndFrame().first;
}

std::pair<double, size_t> Capture::largestStepAndFrame() const {
    std::pair<double, size_t> largest{0.0, 0};
    for (const std::vector<float>* channel : {&left, &right}) {
        for (size_t i = 1; i < channel->size(); ++i) {
            const auto step = static_cast<double>(std::fabs((*channel)[i] - (*channel)[i - 1]));
            if (step > largest.first)
                largest = {step, i};
        }
    }
    return largest;
}

double decibels(double ratio) {
    return 20.0 * std::log10(ratio);
}

} // namespace xaudio_test
