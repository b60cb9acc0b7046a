#pragma once

#include "AudioOutput.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace xaudio {

// Consumes the player's audio at the pace of the clock, so playback, time
// codes and the end of stream behave the same without a sound device.
class NullOutput : public AudioOutput {
public:
    // Clock: like a sound device, it underruns when the feeder falls behind.
    // WaitForFeeder: it holds its clock while the ring (or the capture tap)
    // is short, so a busy machine slows it down but never breaks the audio.
    enum class Pacing { Clock, WaitForFeeder };

    NullOutput(int sampleRateHz, OutputRenderer& renderer, Pacing pacing);
    ~NullOutput() override;

    int sampleRateHz() const override { return m_sampleRateHz; }
    bool isNull() const override { return true; }
    void suspend() override;
    bool resume() override;
    bool suspended() const override { return m_suspended; }

private:
    void run();
    bool feederBehind() const;

    const int m_sampleRateHz;
    OutputRenderer& m_renderer;
    const Pacing m_pacing;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_quit = false;
    bool m_suspended = false;
    std::vector<float> m_buffer;
    std::thread m_thread;
};

} // namespace xaudio
