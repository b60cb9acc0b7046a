#pragma once

#include "xaudio.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace xaudio_test {

// One notification as the test received it, with the time it arrived.
struct Received {
    XA_Message message;
    std::chrono::steady_clock::time_point time;
};

// A real engine player whose notifications are collected through the
// XA_NotificationTarget path the application uses (post, then
// control_win32_params_to_message on the receiving side).
class PlayerHarness {
public:
    PlayerHarness();
    ~PlayerHarness();
    PlayerHarness(const PlayerHarness&) = delete;
    PlayerHarness& operator=(const PlayerHarness&) = delete;

    XA_Player* player() const { return m_player; }

    // Waits until a notification matching the predicate arrived after index
    // from; returns its index or -1 after the timeout.
    int waitFor(const std::function<bool(const XA_Message&)>& predicate, std::chrono::milliseconds timeout,
                size_t from = 0);
    // Waits for the ack or nack of a command; returns the status (0 for an
    // ack), or 1 when neither arrived.
    int waitForReply(int command, std::chrono::milliseconds timeout = std::chrono::milliseconds(5000), size_t from = 0);
    int waitForState(int state, std::chrono::milliseconds timeout, size_t from = 0);

    // Sends a command and waits for its reply.
    int open(const std::string& path);
    int command(int code);

    // Asks for the output's clock (OUTPUT.RENDERED_FRAMES, the frames it has
    // rendered, silence included); a command sent next is taken right after
    // the answer. Returns where the answer will be found.
    size_t askForClock();
    // The answer asked for at `from`; -1 when none came within 5 s.
    long clockReading(size_t from);

    std::vector<Received> received();
    size_t count();

private:
    static void post(void* context, uint32_t number, uintptr_t wparam, const void* payload, size_t size);

    XA_NotificationTarget m_target{};
    XA_Player* m_player = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Received> m_received;
};

// Seconds of the media position in a timecode notification.
double timecodeSeconds(const XA_Message& message);

// A 16-bit stereo WAV file read back for measurements.
struct Capture {
    int sampleRateHz = 0;
    std::vector<float> left;
    std::vector<float> right;

    static Capture read(const std::string& path);
    double seconds() const { return sampleRateHz > 0 ? static_cast<double>(left.size()) / sampleRateHz : 0; }
    // Root mean square of the left channel between two times in seconds.
    double rms(double fromSeconds, double toSeconds) const;
    // The median RMS of 20 ms windows: the level of a steady signal, not
    // pulled down by a gap an overloaded machine may leave.
    double typicalRms(double fromSeconds, double toSeconds) const;
    // Frequency of the left channel from the typical period between its
    // rising zero crossings.
    double frequencyHz(double fromSeconds, double toSeconds) const;
    // The start of the first 50 ms window from fromSeconds on whose frequency
    // lies within tolerance of hz; -1 when there is none.
    double firstTimeAt(double hz, double toleranceHz, double fromSeconds) const;

    static constexpr double kWindowSeconds = 0.02;
    // The largest step between neighbouring samples of either channel.
    double largestStep() const;
    // The same with the frame it steps to, for failure messages.
    std::pair<double, size_t> largestStepAndFrame() const;
};

double decibels(double ratio);

} // namespace xaudio_test
